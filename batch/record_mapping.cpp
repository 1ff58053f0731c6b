#include "batch/record_mapping.h"

#include <QSet>

namespace batch
{

RowSpan rowSpan(const DataTable &table, const FileMapping &mapping)
{
    RowSpan span;
    span.first = std::max(mapping.firstRow, mapping.header ? 2 : 1);
    span.last =
        mapping.lastRow > 0 ? std::min(mapping.lastRow, table.rowCount()) : table.rowCount();
    return span;
}

QString mappingError(const DataTable &table, const FileMapping &mapping, int fontCount)
{
    if (mapping.cells.isEmpty())
        return QStringLiteral("No column is mapped to a cell");
    QSet<int> taken;
    for (const CellSource &cell : mapping.cells) {
        const QString at = QStringLiteral("Cell %1,%2").arg(cell.row).arg(cell.column);
        if (cell.row < 1 || cell.row > MaxRows || cell.column < 1 || cell.column > MaxColumns)
            return at + QStringLiteral(" is outside the mark (rows 1..%1, columns 1..%2)")
                            .arg(MaxRows)
                            .arg(MaxColumns);
        if (taken.contains(cell.row * 16 + cell.column))
            return at + QStringLiteral(" is mapped twice");
        taken.insert(cell.row * 16 + cell.column);
        if (cell.dataColumn < 0 || cell.dataColumn >= table.columnCount())
            return at + QStringLiteral(": the data has no column %1").arg(cell.dataColumn + 1);
        if (cell.font < 0 || cell.font >= fontCount)
            return at + QStringLiteral(": font %1 is not a text font (0..%2)")
                            .arg(cell.font)
                            .arg(fontCount - 1);
    }
    if (rowSpan(table, mapping).count() == 0)
        return QStringLiteral("No row to print between row %1 and row %2")
            .arg(mapping.firstRow)
            .arg(mapping.lastRow > 0 ? mapping.lastRow : table.rowCount());
    return {};
}

Record recordOfRow(const DataTable &table, const FileMapping &mapping, int row, int index)
{
    Record record;
    record.index = index;
    for (const CellSource &cell : mapping.cells)
        record.cells.append(
            {cell.row, cell.column, table.cell(row - 1, cell.dataColumn), cell.font});
    return record;
}

QList<Record> mapRecords(const DataTable &table, const FileMapping &mapping,
                         const vlink::CodePage &codePage, QList<Refusal> &refusals)
{
    refusals.clear();
    QList<Record> records;
    const RowSpan span = rowSpan(table, mapping);
    records.reserve(span.count());
    for (int row = span.first; row <= span.last; ++row) {
        records.append(recordOfRow(table, mapping, row, int(records.size())));
        refusals += checkRecord(records.last(), codePage);
    }
    return records;
}

RunKey fileRunKey(const QString &hash, const QString &sheet, const DataTable &table,
                  const FileMapping &mapping)
{
    const RowSpan span = rowSpan(table, mapping);
    QStringList cells;
    for (const CellSource &cell : mapping.cells)
        cells.append(QStringLiteral("%1,%2=column %3 font %4")
                         .arg(cell.row)
                         .arg(cell.column)
                         .arg(cell.dataColumn + 1)
                         .arg(cell.font));
    QString description = QStringLiteral("rows %1-%2; ").arg(span.first).arg(span.last);
    if (!sheet.isEmpty())
        description += QStringLiteral("sheet \"") + sheet + QStringLiteral("\"; ");
    return {hash, description + cells.join(u"; ")};
}

} // namespace batch
