#include "shell/kelm_main.h"

#include "link/command_table.h"
#include "link/exchange.h"
#include "link/machine_commands.h"
#include "shell/auto_run_repeat.h"

namespace vshell
{

void TAutoControl::report(vlink::PrinterCommand command, bool ok)
{
    if (!ok)
        prompts_.error(vlink::failureText(command));
    else if (vlink::commandEntry(command).okShown)
        prompts_.ok();
}

void TAutoControl::command(vlink::PrinterCommand command)
{
    report(command, vlink::commandEntry(command).run(port_));
}

void TAutoControl::StartClick()
{
    command(vlink::PrinterCommand::StartCommand);
}

void TAutoControl::Halt1Click()
{
    command(vlink::PrinterCommand::StopCommand);
}

// The menu item tries until the printer takes it; the tool button sends it once.
void TAutoControl::AutoRunStop1Click()
{
    report(vlink::PrinterCommand::AutoRunStop, AutoRunStopRepeated(port_));
}

void TAutoControl::TbAutoRunStopClick()
{
    command(vlink::PrinterCommand::AutoRunStop);
}

void TAutoControl::MarkDelete1Click()
{
    if (!prompts_.question(QStringLiteral("Mark delete. Are You Sure?"), vui::CaptionConfirm))
        return;
    command(vlink::PrinterCommand::MarkDelete);
}

void TAutoControl::LoadDateTimeMClick()
{
    const QDateTime now = state_.clock.now();
    if (!vlink::TimeSet(port_, now.time().toString(QStringLiteral("HHmmss")).toLatin1())) {
        state_.line.clockError = true;
        prompts_.error(vlink::failureText(vlink::PrinterCommand::TimeSet));
        return;
    }
    if (!vlink::DateSet(port_, now.date().toString(QStringLiteral("ddMMyy")).toLatin1())) {
        state_.line.clockError = true;
        prompts_.error(vlink::failureText(vlink::PrinterCommand::DateSet));
        return;
    }
    prompts_.ok();
}

// A bench check of a printer on COM5 at 19200 bit/s: a "t" back announces it to the main window.
void TAutoControl::TestButton1Click()
{
    constexpr int Com5 = 4;
    constexpr int Speed19200 = 4;
    port_.openCom(Com5);
    port_.setTimeouts();
    port_.setBaud(Speed19200);
    port_.setRts(false);
    vlink::Delay(100);
    port_.setRts(true);
    for (quint8 b : {quint8(0x12), quint8(0x02), quint8(0x04), quint8(0xE8)})
        if (!port_.writeByte(b))
            prompts_.beep();
    quint8 reply = 0;
    if (port_.readByte(reply) && reply == 0x74)
        vui::postMessage(this, vui::Message::SendToPrinter);
}

void TAutoControl::TestButton3Click()
{
    vlink::SendByte(port_, 0x0C);
}

} // namespace vshell
