#pragma once

#include "batch/data_table.h"

#include <QAbstractTableModel>

namespace vshell
{

// A data file's rows for a table view: rows and columns numbered from 1 as the operator counts
// them; a view asks only for the cells it shows, so a long file opens at once.
class DataTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    void setTable(batch::DataTable table);
    const batch::DataTable &table() const { return table_; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    batch::DataTable table_;
    int columns_ = 0;
};

} // namespace vshell
