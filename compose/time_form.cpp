#include "compose/time_form.h"

#include "compose/small_dialog_parts.h"
#include "link/command_table.h"
#include "link/machine_commands.h"
#include "link/mark_commands.h"
#include "link/mark_field_checks.h"
#include "link/printer_clock.h"
#include "ui/busy_cursor.h"
#include "ui/named_controls.h"

#include <QCheckBox>
#include <QDate>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

namespace vcompose
{

namespace
{

using vlink::PrinterCommand;
using vlink::TimeParam;

struct FieldRule {
    const char *name;
    const char *caption;
    int low;
    int high; // an hour of 24 is the printer's own
    TimeParam param;
};

constexpr FieldRule Rules[] = {
    {"EDay", "Day", 1, 31, TimeParam::Day},      {"EMonth", "Month", 1, 12, TimeParam::Month},
    {"EYear", "Year", 0, 99, TimeParam::Year},   {"EHour", "Hour", 0, 24, TimeParam::Hours},
    {"EMin", "Min.", 0, 59, TimeParam::Minutes}, {"ESec", "Sec.", 0, 59, TimeParam::Seconds},
};

// The number a field holds, blanks around it allowed.
std::optional<int> fieldValue(const QLineEdit &edit, int low, int high)
{
    bool ok = false;
    const int value = edit.text().trimmed().toInt(&ok);
    if (!ok || value < low || value > high)
        return std::nullopt;
    return value;
}

} // namespace

TTimeForm::TTimeForm(vui::LineState &line, vui::Prompts &prompts, vlink::CodePage codePage,
                     const vui::Clock &clock, QWidget *parent)
    : CellEditorForm(line, prompts, std::move(codePage), parent), clock_(clock)
{
    setObjectName(QStringLiteral("TTimeForm"));
    setWindowTitle(QStringLiteral("Set DateTime&Etc Format"));
    dateFormat_ = vui::named<QLineEdit>(this, "DateFormat");
    build(dateFormat_);
    auto *formatBox = new QGroupBox(QStringLiteral("DateTimeFormat"), this);
    auto *format = new QGridLayout(formatBox);
    format->addWidget(new QLabel(QStringLiteral(" DD MM YY YYYY HH XX SS WW UUU"), formatBox), 0, 0,
                      1, 2);
    format->addWidget(dateFormat_, 1, 0);
    auto *formatOk = vui::pushButton(formatBox, "Button1", QStringLiteral("Ok"));
    format->addWidget(formatOk, 1, 1);
    connect(formatOk, &QPushButton::clicked, this, &TTimeForm::formatWrite);
    body().addWidget(formatBox, 0, 0);
    buildClock();
}

void TTimeForm::buildClock()
{
    auto *clockBox = new QGroupBox(QStringLiteral("DateTime"), this);
    auto *dateBox = new QGroupBox(QStringLiteral("Date"), clockBox);
    auto *timeBox = new QGroupBox(QStringLiteral("Time"), clockBox);
    auto *date = new QGridLayout(dateBox);
    auto *time = new QGridLayout(timeBox);
    for (int i = 0; i < FieldCount; ++i) {
        QGroupBox *box = i < Hour ? dateBox : timeBox;
        QGridLayout *grid = i < Hour ? date : time;
        fields_[i] = vui::named<QLineEdit>(box, Rules[i].name);
        fields_[i]->setMaximumWidth(48);
        grid->addWidget(new QLabel(QString::fromLatin1(Rules[i].caption), box), 0, i % 3);
        grid->addWidget(fields_[i], 1, i % 3);
    }
    systemDateTime_ =
        vui::named<QCheckBox>(clockBox, "SetSystemDateTime", QStringLiteral("LoadSystemDateTime"));
    connect(systemDateTime_, &QCheckBox::clicked, this, &TTimeForm::fillFromComputer);
    auto *layout = new QVBoxLayout(clockBox);
    auto *boxes = new QHBoxLayout;
    boxes->addWidget(dateBox);
    boxes->addWidget(timeBox);
    layout->addLayout(boxes);
    layout->addWidget(systemDateTime_);
    body().addWidget(clockBox, 1, 0);
}

// Created anew for each opening: the first showing reads cell (1, 1) and, when it could, the
// printer's clock.
void TTimeForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    if (readCell(CellStep::Open)) {
        showPrinterClock();
        systemDateTime_->setChecked(false);
    }
}

// Opening tells a graphic by F, the arrows by the fixed bounds; on a graphic the row arrows
// also go to font 1.
CellVariant TTimeForm::variant(CellStep step) const
{
    if (step == CellStep::Open)
        return {CellKind::TimeDate, GraphicTest::fontCount(line_.fontCount), GraphicFont::AsRead};
    const bool rows = step == CellStep::RowUp || step == CellStep::RowDown;
    return {CellKind::TimeDate, GraphicTest::fixedBounds(),
            rows ? GraphicFont::First : GraphicFont::AsRead};
}

// The fields stay empty when the clock cannot be read.
void TTimeForm::showPrinterClock()
{
    vlink::TimeParams params = line_.timeParams;
    if (!vlink::TimeParamsRead(line_.port, params)) {
        prompts_.error(vlink::failureText(PrinterCommand::TimeParamsRead));
        return;
    }
    line_.timeParams = params;
    for (int i = 0; i < FieldCount; ++i)
        fields_[i]->setText(
            vlink::twoDigits(vlink::fromBcd(vlink::timeParam(params, Rules[i].param))));
}

void TTimeForm::fillFromComputer(bool checked)
{
    if (!checked)
        return;
    const QDateTime now = clock_.now();
    const QByteArray text = vlink::dateText(now.date()) + vlink::timeText(now.time());
    for (int i = 0; i < FieldCount; ++i)
        fields_[i]->setText(QString::fromLatin1(text.mid(2 * i, 2)));
}

void TTimeForm::formatWrite()
{
    const vui::BusyCursor busy;
    if (changeRefused(QStringLiteral("DateTimeFormat")) || !formatSet())
        return;
    if (fontSet())
        prompts_.ok();
    else
        prompts_.error(vlink::failureText(PrinterCommand::FontSet));
}

bool TTimeForm::formatSet()
{
    if (fieldRefused(vlink::timeFormatRefusal(dateFormat_->text()), dateFormat_, prompts_))
        return false;
    if (vlink::TimeFormatSet(line_.port, row(), column(), codePage_.encode(dateFormat_->text())))
        return true;
    prompts_.error(vlink::failureText(PrinterCommand::TimeFormatSet));
    return false;
}

void TTimeForm::writeSequence()
{
    if (changeRefused(QStringLiteral("DateTimeFormat")))
        return;
    if (systemDateTime_->isChecked())
        computerClockWrite();
    else
        typedClockWrite();
}

bool TTimeForm::refuse(Field field)
{
    prompts_.beep();
    fields_[field]->setFocus();
    return true;
}

// Each field in turn; a day the month does not have is refused like a day of 32.
bool TTimeForm::fieldsRefused()
{
    std::array<int, FieldCount> values{};
    for (int i = 0; i < FieldCount; ++i) {
        const std::optional<int> value = fieldValue(*fields_[i], Rules[i].low, Rules[i].high);
        if (!value)
            return refuse(Field(i));
        values[i] = *value;
        // Two-digit years: every fourth one is a leap year, 00 among them.
        if (i == Year && values[Day] > QDate(2000 + values[Year], values[Month], 1).daysInMonth())
            return refuse(Day);
    }
    return false;
}

// Two digits a field, from its number: "5" with blanks around it goes out as "05".
QByteArray TTimeForm::clockText(Field first) const
{
    QByteArray text;
    for (int i = first; i < first + 3; ++i)
        text += vlink::twoDigits(fields_[i]->text().trimmed().toInt()).toLatin1();
    return text;
}

bool TTimeForm::clockSet(bool date, const QByteArray &text)
{
    if (date ? vlink::DateSet(line_.port, text) : vlink::TimeSet(line_.port, text))
        return true;
    prompts_.error(vlink::failureText(date ? PrinterCommand::DateSet : PrinterCommand::TimeSet));
    return false;
}

// The format first: a clock field refused afterwards leaves the new format in the printer.
void TTimeForm::typedClockWrite()
{
    if (!formatSet() || fieldsRefused())
        return;
    if (!clockSet(true, clockText(Day)) || !clockSet(false, clockText(Hour)))
        return;
    if (fontSet())
        prompts_.ok();
    else
        prompts_.error(vlink::failureText(PrinterCommand::FontSet));
}

// The clock alone, time first; the cell's format and font are left as they are.
void TTimeForm::computerClockWrite()
{
    if (!prompts_.question(QStringLiteral("System DateTime insert only. Continue?"),
                           vui::CaptionConfirm))
        return;
    if (const std::optional<PrinterCommand> failed =
            vlink::ClockSetFrom(line_.port, clock_.now())) {
        prompts_.error(vlink::failureText(*failed));
        return;
    }
    prompts_.ok();
}

} // namespace vcompose
