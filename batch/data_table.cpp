#include "batch/data_table.h"

#include <algorithm>

namespace batch
{

namespace
{

// QList::resize allocates exactly what it is asked for: a table grown row by row would be
// copied whole at every row.
template <typename List> void growTo(List &list, qsizetype size)
{
    if (list.size() >= size)
        return;
    if (list.capacity() < size)
        list.reserve(std::max(size, 2 * list.capacity()));
    list.resize(size);
}

} // namespace

int DataTable::columnCount() const
{
    qsizetype widest = 0;
    for (const QStringList &row : rows)
        widest = std::max(widest, row.size());
    return int(widest);
}

QString DataTable::cell(int row, int column) const
{
    if (row < 0 || row >= rows.size() || column < 0 || column >= rows[row].size())
        return {};
    return rows[row][column];
}

bool TableBuilder::set(int row, int column, const QString &text)
{
    if (!error_.isEmpty())
        return false;
    if (row < 0 || column < 0) {
        error_ = QStringLiteral("The data holds a cell outside any row or column");
        return false;
    }
    if (row >= limits_.maxRows) {
        error_ = QStringLiteral("The data has more than %1 rows").arg(limits_.maxRows);
        return false;
    }
    if (column >= limits_.maxColumns) {
        error_ = QStringLiteral("The data has more than %1 columns").arg(limits_.maxColumns);
        return false;
    }
    if (++cells_ > limits_.maxCells) {
        error_ = QStringLiteral("The data has more than %1 cells").arg(limits_.maxCells);
        return false;
    }
    growTo(table_.rows, row + 1);
    QStringList &cells = table_.rows[row];
    growTo(cells, column + 1);
    cells[column] = text;
    return true;
}

DataTable TableBuilder::take()
{
    return std::move(table_);
}

} // namespace batch
