#include "compose/set_font_form.h"

#include "compose/small_dialog_parts.h"
#include "link/command_table.h"
#include "link/mark_commands.h"
#include "ui/action_row.h"
#include "ui/busy_cursor.h"
#include "ui/named_controls.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace vcompose
{

TSetFontForm::TSetFontForm(vui::LineState &line, vui::Prompts &prompts, QWidget *parent)
    : QDialog(parent), line_(line), prompts_(prompts)
{
    setObjectName(QStringLiteral("TSetFontForm"));
    setWindowTitle(QStringLiteral("Set Font Size"));
    buildLayout();
}

void TSetFontForm::buildLayout()
{
    rowStr_ = readOnlyNumber(this, "RowStr", QStringLiteral("1"));
    colStr_ = readOnlyNumber(this, "ColStr", QStringLiteral("1"));
    fontSize_ = readOnlyNumber(this, "EFontSize", QStringLiteral("0"));
    auto *grid = new QGridLayout;
    addFieldRow(*grid, 0, QStringLiteral("Row"), rowStr_, "Row");
    addFieldRow(*grid, 1, QStringLiteral("Column"), colStr_, "Col");
    addFieldRow(*grid, 2, QStringLiteral("Font Size"), fontSize_, "Font");
    QPushButton *ok = vui::actionButton(*this, "BtWriteText", QStringLiteral("Ok"));
    QPushButton *cancel = vui::pushButton(this, "CancelBtn", QStringLiteral("Cancel"));
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(vui::actionRow(ok, cancel, this));

    const auto on = [this](const char *name, auto handler) {
        connect(findChild<QToolButton *>(QLatin1String(name)), &QToolButton::clicked, this,
                handler);
    };
    on("RowUp", [this] { step(rowStr_, +1, 1, MaxRow); });
    on("RowDown", [this] { step(rowStr_, -1, 1, MaxRow); });
    on("ColUp", [this] { step(colStr_, +1, 1, MaxColumn); });
    on("ColDown", [this] { step(colStr_, -1, 1, MaxColumn); });
    on("FontUp", [this] { step(fontSize_, +1, 0, MaxFont); });
    on("FontDown", [this] { step(fontSize_, -1, 0, MaxFont); });
    connect(ok, &QPushButton::clicked, this, &TSetFontForm::BtWriteTextClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TSetFontForm::step(QLineEdit *field, int delta, int low, int high)
{
    field->setText(QString::number(qBound(low, field->text().toInt() + delta, high)));
}

void TSetFontForm::BtWriteTextClick()
{
    const vui::BusyCursor busy;
    if (vlink::FontSet(line_.port, fontSize_->text().toInt(), rowStr_->text().toInt(),
                       colStr_->text().toInt()))
        prompts_.ok();
    else
        prompts_.error(vlink::failureText(vlink::PrinterCommand::FontSet));
}

} // namespace vcompose
