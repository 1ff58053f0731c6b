#include "compose/post_date_form.h"

#include "compose/small_dialog_parts.h"
#include "link/command_table.h"
#include "link/machine_commands.h"
#include "link/mark_commands.h"
#include "link/mark_field_checks.h"
#include "link/printer_clock.h"
#include "ui/named_controls.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QShowEvent>

namespace vcompose
{

using vlink::PrinterCommand;

TPostDateForm::TPostDateForm(vui::LineState &line, vui::Prompts &prompts, vlink::CodePage codePage,
                             QWidget *parent)
    : CellEditorForm(line, prompts, std::move(codePage), parent)
{
    setObjectName(QStringLiteral("TPostDateForm"));
    setWindowTitle(QStringLiteral("Set Post Date"));
    dateFormat_ = vui::named<QLineEdit>(this, "DateFormat");
    build(dateFormat_);
    dayQuant_ = vui::named<QLineEdit>(this, "DayQuant");
    body().addWidget(new QLabel(QStringLiteral("Post Day Quantaty [XXXX]"), this), 0, 0);
    body().addWidget(dayQuant_, 0, 1);
    body().addWidget(new QLabel(QStringLiteral("Date Format  ( DD MM YY YYYY)"), this), 1, 0);
    body().addWidget(dateFormat_, 1, 1);
}

// Created anew for each opening: the first showing reads cell (1, 1) and, when it could, the
// printer's day count.
void TPostDateForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous() && readCell(CellStep::Open))
        showDayCount();
}

// Column up tells a graphic by F, every other step by the fixed bounds.
CellVariant TPostDateForm::variant(CellStep step) const
{
    const GraphicTest test = step == CellStep::ColumnUp ? GraphicTest::fontCount(line_.fontCount)
                                                        : GraphicTest::fixedBounds();
    return {CellKind::PostDate, test, GraphicFont::AsRead};
}

// The field stays empty when the count cannot be read.
void TPostDateForm::showDayCount()
{
    vlink::TimeParams params = line_.timeParams;
    if (!vlink::TimeParamsRead(line_.port, params)) {
        prompts_.error(QStringLiteral("PostDate Read Error"));
        return;
    }
    line_.timeParams = params;
    dayQuant_->setText(QString::number(vlink::postDateDays(params)));
}

// Without a printer to ask, an empty count leaves the printer's own. A count is decimal digits:
// a sign would go out inside the four characters.
QByteArray TPostDateForm::dayCount()
{
    if (dayQuant_->text().trimmed().isEmpty() && line_.depotOnly)
        return vlink::PostDateOffsetKept;
    QByteArray days;
    if (fieldRefused(vlink::postDateDaysRefusal(dayQuant_->text(), days), dayQuant_, prompts_))
        return {};
    return days;
}

void TPostDateForm::writeSequence()
{
    if (changeRefused(QStringLiteral("PostDate")))
        return;
    const QByteArray days = dayCount();
    if (days.isEmpty())
        return;
    if (fieldRefused(vlink::postDateFormatRefusal(dateFormat_->text()), dateFormat_, prompts_))
        return;
    if (!vlink::PostDateSet(line_.port, row(), column(), days,
                            codePage_.encode(dateFormat_->text()))) {
        prompts_.error(vlink::failureText(PrinterCommand::PostDateSet));
        return;
    }
    // "Ok" is the post date's; a font the printer refuses is told after it.
    prompts_.ok();
    if (!fontSet())
        prompts_.error(vlink::failureText(PrinterCommand::FontSet));
}

} // namespace vcompose
