#pragma once

#include "batch/data_file.h"
#include "batch/record_mapping.h"
#include "shell/batch_window.h"
#include "shell/data_table_model.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QSpinBox;
class QTableView;

namespace vshell
{

// "Print From File...": the rows of a CSV, XLSX or ODS file, one record per product, its columns
// mapped to mark cells.
class TExcelPrintForm : public BatchWindow
{
    Q_OBJECT

public:
    TExcelPrintForm(const BatchSetting &setting, QWidget *parent);

    // Reads the file (its first sheet unless sheet is given) and lists its rows; false after
    // telling the operator why not.
    bool openFile(const QString &path, const QString &sheet = {});
    // The current table column to the cell row, column and font the spin boxes show.
    void mapCurrentColumn();
    const batch::FileMapping &mapping() const { return mapping_; }
    QTableView *tableView() const { return view_; }

protected:
    bool records(QList<batch::Record> &records, batch::RunKey &key, QString &source) override;
    void setSettingsEnabled(bool on) override;

private:
    void openClicked();
    void rangeChanged();
    void removeMapping();
    void showMapping();
    void preview();

    QString path_;
    batch::DataFile data_;
    batch::FileMapping mapping_;
    DataTableModel model_;
    QWidget *settings_ = nullptr;
    QLabel *file_ = nullptr;
    QComboBox *sheet_ = nullptr;
    QSpinBox *first_ = nullptr;
    QSpinBox *last_ = nullptr;
    QCheckBox *header_ = nullptr;
    QTableView *view_ = nullptr;
    QSpinBox *cellRow_ = nullptr;
    QSpinBox *cellColumn_ = nullptr;
    QSpinBox *font_ = nullptr;
    QListWidget *cells_ = nullptr;
    QLabel *preview_ = nullptr;
};

} // namespace vshell
