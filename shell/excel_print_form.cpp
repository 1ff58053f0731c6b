#include "shell/excel_print_form.h"

#include "ui/busy_cursor.h"
#include "ui/named_controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>

namespace vshell
{

namespace
{

QString cellName(const batch::CellSource &c)
{
    return QStringLiteral("Cell %1,%2 \u2190 column %3, font %4")
        .arg(c.row)
        .arg(c.column)
        .arg(c.dataColumn + 1)
        .arg(c.font);
}

} // namespace

TExcelPrintForm::TExcelPrintForm(const BatchSetting &setting, QWidget *parent)
    : BatchWindow(setting, parent)
{
    setObjectName(QStringLiteral("ExcelPrintForm"));
    setWindowTitle(QStringLiteral("Print From File"));
    settings_ = new QWidget(this);
    auto *grid = new QGridLayout(settings_);
    grid->setContentsMargins(0, 0, 0, 0);
    QPushButton *open = vui::pushButton(settings_, "OpenDataFile", QStringLiteral("Open..."));
    file_ = vui::named<QLabel>(settings_, "DataFileName");
    sheet_ = vui::named<QComboBox>(settings_, "DataSheet");
    first_ = vui::spinBox(settings_, "FirstRow", 1, 1000000, 1);
    last_ = vui::spinBox(settings_, "LastRow", 0, 1000000, 0);
    last_->setSpecialValueText(QStringLiteral("last"));
    header_ = vui::named<QCheckBox>(settings_, "HeaderRow");
    header_->setText(QStringLiteral("The first row is a header"));
    grid->addWidget(open, 0, 0);
    grid->addWidget(file_, 0, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Sheet:"), settings_), 1, 0);
    grid->addWidget(sheet_, 1, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("First row:"), settings_), 2, 0);
    grid->addWidget(first_, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Last row:"), settings_), 2, 2);
    grid->addWidget(last_, 2, 3);
    grid->addWidget(header_, 3, 0, 1, 4);

    view_ = vui::named<QTableView>(settings_, "DataRows");
    view_->setModel(&model_);
    view_->setSelectionBehavior(QAbstractItemView::SelectItems);
    view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 4);
    view_->setMinimumHeight(160);
    grid->addWidget(view_, 4, 0, 1, 4);

    cellRow_ = vui::spinBox(settings_, "MapRow", 1, batch::MaxRows, 1);
    cellColumn_ = vui::spinBox(settings_, "MapColumn", 1, batch::MaxColumns, 1);
    font_ = vui::spinBox(settings_, "MapFont", 0, 99, 1);
    QPushButton *map =
        vui::pushButton(settings_, "MapCell", QStringLiteral("Map the current column"));
    QPushButton *unmap = vui::pushButton(settings_, "UnmapCell", QStringLiteral("Remove"));
    auto *cellLine = new QHBoxLayout;
    cellLine->addWidget(new QLabel(QStringLiteral("Cell row"), settings_));
    cellLine->addWidget(cellRow_);
    cellLine->addWidget(new QLabel(QStringLiteral("column"), settings_));
    cellLine->addWidget(cellColumn_);
    cellLine->addWidget(new QLabel(QStringLiteral("font"), settings_));
    cellLine->addWidget(font_);
    cellLine->addWidget(map);
    grid->addLayout(cellLine, 5, 0, 1, 4);
    cells_ = vui::named<QListWidget>(settings_, "MappedCells");
    cells_->setMaximumHeight(80);
    grid->addWidget(cells_, 6, 0, 1, 3);
    grid->addWidget(unmap, 6, 3, Qt::AlignTop);

    preview_ = vui::named<QLabel>(this, "RecordPreview");
    preview_->setWordWrap(true);
    // Room for a few cells, so the fields above do not move as the mapping grows.
    preview_->setMinimumHeight(preview_->fontMetrics().lineSpacing() * 5);
    preview_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(settings_);
    layout->addWidget(preview_);
    layout->addWidget(baseJobRow_);
    layout->addWidget(panel_);

    connect(open, &QPushButton::clicked, this, &TExcelPrintForm::openClicked);
    connect(map, &QPushButton::clicked, this, &TExcelPrintForm::mapCurrentColumn);
    connect(unmap, &QPushButton::clicked, this, &TExcelPrintForm::removeMapping);
    connect(sheet_, &QComboBox::currentTextChanged, this, [this](const QString &sheet) {
        if (!path_.isEmpty() && sheet != data_.content.sheet)
            openFile(path_, sheet);
    });
    for (QSpinBox *b : {first_, last_})
        connect(b, &QSpinBox::valueChanged, this, &TExcelPrintForm::rangeChanged);
    connect(header_, &QCheckBox::toggled, this, &TExcelPrintForm::rangeChanged);
    connect(view_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &TExcelPrintForm::preview);
    preview();
}

void TExcelPrintForm::openClicked()
{
    const QString path = setting_.prompts.openFile(
        {QStringLiteral("Print From File"),
         QFileInfo(path_).absolutePath(),
         QStringLiteral("Data files (*.csv *.txt *.xlsx *.ods);;All files (*)"),
         {}});
    if (!path.isEmpty())
        openFile(path);
}

bool TExcelPrintForm::openFile(const QString &path, const QString &sheet)
{
    batch::DataFileOptions options;
    options.sheet = sheet;
    options.codePage = setting_.codePage;
    batch::DataFile data;
    QString error;
    {
        const vui::BusyCursor busy;
        if (!batch::readDataFile(path, options, data, error)) {
            setting_.prompts.error(error);
            return false;
        }
    }
    path_ = path;
    data_ = std::move(data);
    file_->setText(QFileInfo(path).fileName());
    {
        const QSignalBlocker block(sheet_);
        sheet_->clear();
        sheet_->addItems(data_.content.sheets);
        sheet_->setCurrentText(data_.content.sheet);
        sheet_->setEnabled(data_.content.sheets.size() > 1);
    }
    model_.setTable(data_.content.table);
    rangeChanged();
    return true;
}

void TExcelPrintForm::rangeChanged()
{
    mapping_.firstRow = first_->value();
    mapping_.lastRow = last_->value();
    mapping_.header = header_->isChecked();
    preview();
}

void TExcelPrintForm::mapCurrentColumn()
{
    const int column = std::max(0, view_->currentIndex().column());
    batch::CellSource cell{cellRow_->value(), cellColumn_->value(), column, font_->value()};
    // A cell mapped again takes the new column.
    mapping_.cells.removeIf(
        [&](const batch::CellSource &c) { return c.row == cell.row && c.column == cell.column; });
    mapping_.cells.append(cell);
    showMapping();
}

void TExcelPrintForm::removeMapping()
{
    const int row = cells_->currentRow();
    if (row >= 0 && row < mapping_.cells.size())
        mapping_.cells.removeAt(row);
    showMapping();
}

void TExcelPrintForm::showMapping()
{
    cells_->clear();
    for (const batch::CellSource &c : mapping_.cells)
        cells_->addItem(cellName(c));
    preview();
}

// The texts of the current row, or the first printed, as they will be written, with what the
// text rules refuse.
void TExcelPrintForm::preview()
{
    const batch::DataTable &table = model_.table();
    if (path_.isEmpty()) {
        preview_->setText(QStringLiteral("Open a data file"));
        return;
    }
    const QString error = batch::mappingError(table, mapping_, setting_.line.fontCount);
    if (!error.isEmpty()) {
        preview_->setText(error);
        return;
    }
    const batch::RowSpan span = batch::rowSpan(table, mapping_);
    const int current = view_->currentIndex().row() + 1;
    const int row = current >= span.first && current <= span.last ? current : span.first;
    const batch::Record record = batch::recordOfRow(table, mapping_, row, row - span.first);
    QStringList lines{QStringLiteral("Record %1 of %2 (row %3):")
                          .arg(record.index + 1)
                          .arg(span.count())
                          .arg(row)};
    for (const batch::CellText &cell : record.cells) {
        const QString refused = batch::fragmentRefusal(cell.text, setting_.codePage);
        lines << QStringLiteral("%1,%2: \"%3\"%4")
                     .arg(cell.row)
                     .arg(cell.column)
                     .arg(cell.text,
                          refused.isEmpty() ? QString() : QStringLiteral(" - ") + refused);
    }
    preview_->setText(lines.join(u'\n'));
}

bool TExcelPrintForm::records(QList<batch::Record> &records, batch::RunKey &key, QString &source)
{
    const batch::DataTable &table = model_.table();
    const QString error = path_.isEmpty()
                              ? QStringLiteral("Open a data file first")
                              : batch::mappingError(table, mapping_, setting_.line.fontCount);
    if (!error.isEmpty()) {
        setting_.prompts.error(error);
        return false;
    }
    QList<batch::Refusal> refusals;
    records = batch::mapRecords(table, mapping_, setting_.codePage, refusals);
    if (!refusals.isEmpty()) {
        QStringList lines;
        for (const batch::Refusal &r : refusals.mid(0, 10))
            lines << batch::refusalText(r);
        if (refusals.size() > 10)
            lines << QStringLiteral("(and %1 more)").arg(refusals.size() - 10);
        setting_.prompts.error(lines.join(u'\n'));
        return false;
    }
    key = batch::fileRunKey(data_.hash, data_.content.sheet, table, mapping_);
    source = QFileInfo(path_).fileName();
    return true;
}

void TExcelPrintForm::setSettingsEnabled(bool on)
{
    settings_->setEnabled(on);
}

} // namespace vshell
