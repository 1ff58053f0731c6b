#include "compose/counter_form.h"

#include "compose/small_dialog_parts.h"
#include "link/command_table.h"
#include "link/machine_commands.h"
#include "link/mark_commands.h"
#include "link/mark_field_checks.h"
#include "ui/messages.h"
#include "ui/named_controls.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QShowEvent>

namespace vcompose
{

using vlink::PrinterCommand;

TCounterForm::TCounterForm(vui::LineState &line, vui::Prompts &prompts, vlink::CodePage codePage,
                           QObject *mainWindow, QWidget *parent)
    : CellEditorForm(line, prompts, std::move(codePage), parent), mainWindow_(mainWindow)
{
    setObjectName(QStringLiteral("TCounterForm"));
    setWindowTitle(QStringLiteral("Set Counter"));
    dayQuant_ = vui::named<QLineEdit>(this, "DayQuant");
    build(dayQuant_);
    auto *direction = new QGroupBox(QStringLiteral("Direction"), this);
    up_ = vui::named<QRadioButton>(direction, "BUp", QStringLiteral("Up"));
    down_ = vui::named<QRadioButton>(direction, "BDown", QStringLiteral("Down"));
    up_->setChecked(true);
    auto *directions = new QHBoxLayout(direction);
    directions->addWidget(up_);
    directions->addWidget(down_);
    body().addWidget(new QLabel(QStringLiteral("Counter Initial Value"), this), 0, 0);
    body().addWidget(dayQuant_, 1, 0);
    body().addWidget(direction, 0, 1, 2, 1);
}

void TCounterForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        readCell(CellStep::Open);
}

// A counter cell shows its value and chooses its direction.
CellVariant TCounterForm::variant(CellStep) const
{
    return {CellKind::Counter, GraphicTest::fontCount(line_.fontCount), GraphicFont::Kept};
}

void TCounterForm::beforeRead()
{
    up_->setChecked(true);
}

void TCounterForm::cellShown(const vlink::Fragment &fragment)
{
    if (fragment.kind == quint8(vlink::FragmentKind::CounterDown))
        down_->setChecked(true);
    else if (fragment.kind == quint8(vlink::FragmentKind::CounterUp))
        up_->setChecked(true);
}

void TCounterForm::writeSequence()
{
    const vlink::FieldRefusal value = vlink::counterValueRefusal(dayQuant_->text(), codePage_);
    // An empty value is refused before "Change" is asked for, a foreign character after.
    if (!value.beeps && fieldRefused(value, dayQuant_, prompts_))
        return;
    if (changeRefused(QStringLiteral("Counter")) || fieldRefused(value, dayQuant_, prompts_) ||
        !directionSet())
        return;
    counterSet();
    // The font follows whatever became of the counter.
    if (fontSet())
        up_->setChecked(true);
    else
        prompts_.error(vlink::failureText(PrinterCommand::FontSet));
}

bool TCounterForm::directionSet()
{
    const bool up = up_->isChecked();
    if (up ? vlink::RunningNumberForward(line_.port) : vlink::RunningNumberBack(line_.port))
        return true;
    prompts_.error(vlink::failureText(PrinterCommand::RunningNumberForward));
    return false;
}

// A counter the printer did not take ends the program: the main window closes on this.
void TCounterForm::counterSet()
{
    if (vlink::CounterSet(line_.port, row(), column(), codePage_.encode(dayQuant_->text()))) {
        prompts_.ok();
        return;
    }
    prompts_.error(vlink::failureText(PrinterCommand::CounterSet));
    vui::sendMessage(mainWindow_, vui::Message::ReadError);
}

} // namespace vcompose
