#include "shell/data_table_model.h"

namespace vshell
{

void DataTableModel::setTable(batch::DataTable table)
{
    beginResetModel();
    table_ = std::move(table);
    columns_ = table_.columnCount();
    endResetModel();
}

int DataTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : table_.rowCount();
}

int DataTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : columns_;
}

QVariant DataTableModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    return table_.cell(index.row(), index.column());
}

QVariant DataTableModel::headerData(int section, Qt::Orientation, int role) const
{
    return role == Qt::DisplayRole ? QVariant(section + 1) : QVariant();
}

} // namespace vshell
