#include "compose/cell_editor_form.h"

#include "link/command_table.h"
#include "link/machine_commands.h"
#include "link/mark_commands.h"
#include "link/printer_clock.h"
#include "ui/busy_cursor.h"
#include "ui/named_controls.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace vcompose
{

namespace
{

using vui::named;

QLineEdit *readOnlyNumber(const char *name, QWidget *parent)
{
    auto *edit = named<QLineEdit>(parent, name, QStringLiteral("1"));
    edit->setReadOnly(true);
    edit->setMaximumWidth(48);
    return edit;
}

} // namespace

void refreshFontCount(vui::LineState &line)
{
    if (line.depotOnly) {
        line.fontCount = CellEditorForm::DepotFontCount;
        return;
    }
    vlink::TimeParams params = line.timeParams;
    if (!vlink::TimeParamsRead(line.port, params))
        return;
    line.timeParams = params;
    line.fontCount = vlink::timeParam(params, vlink::TimeParam::FontCount);
}

CellEditorForm::CellEditorForm(vui::LineState &line, vui::Prompts &prompts,
                               vlink::CodePage codePage, QWidget *parent)
    : QDialog(parent), line_(line), prompts_(prompts), codePage_(std::move(codePage))
{
}

void CellEditorForm::build(QLineEdit *edit)
{
    using vui::arrowButton;
    edit_ = edit;
    auto *coordPanel = named<QGroupBox>(this, "CoordPanel", QStringLiteral("Coordinate"));
    rowStr_ = readOnlyNumber("RowStr_", coordPanel);
    colStr_ = readOnlyNumber("ColStr", coordPanel);
    auto *coords = new QGridLayout(coordPanel);
    coords->addWidget(new QLabel(QStringLiteral("Row"), coordPanel), 0, 0);
    coords->addWidget(rowStr_, 0, 1);
    coords->addWidget(arrowButton(this, "RowUp", Qt::UpArrow), 0, 2);
    coords->addWidget(arrowButton(this, "RowDown", Qt::DownArrow), 0, 3);
    coords->addWidget(new QLabel(QStringLiteral("Column"), coordPanel), 1, 0);
    coords->addWidget(colStr_, 1, 1);
    coords->addWidget(arrowButton(this, "ColUp", Qt::UpArrow), 1, 2);
    coords->addWidget(arrowButton(this, "ColDown", Qt::DownArrow), 1, 3);

    auto *fontBox = new QGroupBox(QStringLiteral("Font Size"), this);
    fontSize_ = readOnlyNumber("EFontSize", fontBox);
    auto *fonts = new QHBoxLayout(fontBox);
    fonts->addWidget(fontSize_);
    fonts->addWidget(arrowButton(this, "FontUp", Qt::UpArrow));
    fonts->addWidget(arrowButton(this, "FontDown", Qt::DownArrow));

    change_ = named<QCheckBox>(this, "Ch_", QStringLiteral("Change"));
    change_->hide();
    writeText_ = vui::actionButton(*this, "BtWriteText", QStringLiteral("Ok"));
    auto *cancel = vui::pushButton(this, "CancelBtn", QStringLiteral("Cancel"));

    auto *top = new QHBoxLayout;
    top->addWidget(coordPanel);
    top->addWidget(fontBox);
    body_ = new QGridLayout;
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(change_);
    buttons->addStretch();
    buttons->addWidget(writeText_);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(body_);
    layout->addLayout(buttons);

    const auto on = [this](const char *name, auto handler) {
        connect(findChild<QToolButton *>(QLatin1String(name)), &QToolButton::clicked, this,
                handler);
    };
    on("RowUp", [this] { navigate(CellStep::RowUp, +1, 0); });
    on("RowDown", [this] { navigate(CellStep::RowDown, -1, 0); });
    on("ColUp", [this] { navigate(CellStep::ColumnUp, 0, +1); });
    on("ColDown", [this] { navigate(CellStep::ColumnDown, 0, -1); });
    on("FontUp", [this] { fontStep(+1); });
    on("FontDown", [this] { fontStep(-1); });
    connect(writeText_, &QPushButton::clicked, this, [this] {
        const vui::BusyCursor busy;
        writeSequence();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(change_, &QCheckBox::clicked, this, &CellEditorForm::changeClicked);
}

int CellEditorForm::row() const
{
    return rowStr_->text().toInt();
}

int CellEditorForm::column() const
{
    return colStr_->text().toInt();
}

int CellEditorForm::font() const
{
    return fontSize_->text().toInt();
}

void CellEditorForm::setFont(int font)
{
    fontSize_->setText(QString::number(font));
}

bool CellEditorForm::readCell(CellStep step)
{
    const vui::BusyCursor busy;
    beforeRead();
    edit_->clear();
    if (line_.depotOnly)
        return false;
    vlink::Fragment fragment;
    if (!vcompose::readCell(line_.port, row(), column(), fragment)) {
        prompts_.error(vlink::failureText(vlink::PrinterCommand::TextFragmentRead));
        return false;
    }
    const CellDisplay shown = displayFor(fragment, variant(step), codePage_);
    change_->setChecked(false);
    change_->setVisible(shown.changeShown);
    edit_->setEnabled(shown.editable);
    edit_->setText(shown.text);
    if (shown.font)
        setFont(*shown.font);
    cellShown(fragment);
    return true;
}

// A cell of another kind is only overwritten once "Change" is ticked; without a printer to read
// the cell from, nothing is known of it.
bool CellEditorForm::changeRefused(const QString &what)
{
    if (line_.depotOnly || change_->isHidden() || change_->isChecked())
        return false;
    prompts_.error(QStringLiteral("Select \"Change\" mode, if you want %1 insert").arg(what));
    prompts_.beep();
    return true;
}

bool CellEditorForm::fontSet()
{
    return vlink::FontSet(line_.port, font(), row(), column());
}

void CellEditorForm::navigate(CellStep step, int rowStep, int columnStep)
{
    rowStr_->setText(QString::number(qBound(1, row() + rowStep, MaxRow)));
    colStr_->setText(QString::number(qBound(1, column() + columnStep, MaxColumn)));
    readCell(step);
}

void CellEditorForm::fontStep(int step)
{
    int next = font() + step;
    if (step > 0) {
        const vui::BusyCursor busy;
        refreshFontCount(line_);
        next = qMin(next, int(line_.fontCount) - 1);
    }
    setFont(qMax(next, 0));
}

void CellEditorForm::changeClicked(bool checked)
{
    edit_->setEnabled(checked);
    if (checked)
        edit_->clear();
}

} // namespace vcompose
