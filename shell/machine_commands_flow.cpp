#include "shell/machine_commands_flow.h"

#include "link/bench_checks.h"
#include "link/machine_commands.h"
#include "link/printer_clock.h"
#include "shell/auto_run_repeat.h"
#include "shell/command_report.h"

namespace vshell
{

using vlink::PrinterCommand;

MachineCommandsFlow::MachineCommandsFlow(vui::LineState &line, const vui::Clock &clock,
                                         vui::Prompts &prompts, QObject &mainWindow)
    : line_(line), clock_(clock), prompts_(prompts), mainWindow_(mainWindow)
{
}

void MachineCommandsFlow::wire(const MainControls &c, const ItemHandlers &on)
{
    const auto run = [this](PrinterCommand command) {
        return [this, command] { this->command(command); };
    };
    // File and Mark.
    on.on(c.LoadDateTimeM, [this] { LoadDateTimeMClick(); });
    on.on(c.Start, run(PrinterCommand::StartCommand));
    on.on(c.Halt1, run(PrinterCommand::StopCommand));
    on.on(c.MarkDelete1, [this] { MarkDelete1Click(); });

    // Commands.
    on.on(c.AutoRunStop1, [this] { AutoRunStop1Click(); });
    on.on(c.RunningNumberReset, run(PrinterCommand::RunningNumberReset));
    on.on(c.PrintStart, run(PrinterCommand::PrintStart));
    on.on(c.HighVoltageTurn, run(PrinterCommand::HighVoltageTurn));
    on.on(c.Reset, run(PrinterCommand::Reset));
    on.on(c.Forward1, run(PrinterCommand::RunningNumberForward));
    on.on(c.Back, run(PrinterCommand::RunningNumberBack));

    // Tool bar.
    on.on(c.TbStart, run(PrinterCommand::StartCommand));
    on.on(c.TbMarkDelete, [this] { MarkDelete1Click(); });
    // The button sends the stop once; the menu item tries until the printer takes it.
    on.on(c.TbAutoRunStop, run(PrinterCommand::AutoRunStop));
    on.on(c.TbRunningNumberReset, run(PrinterCommand::RunningNumberReset));
    on.on(c.TbHighVoltageTurn, run(PrinterCommand::HighVoltageTurn));
    on.on(c.TbTest[0], [this] { TestButton1Click(); });
    // The second test button has no action; "ByteStatus" neither.
    on.on(c.TbTest[2], [this] { TestButton3Click(); });
}

void MachineCommandsFlow::command(PrinterCommand command)
{
    runCommand(line_.port, prompts_, command);
}

void MachineCommandsFlow::AutoRunStop1Click()
{
    reportCommand(prompts_, PrinterCommand::AutoRunStop, AutoRunStopRepeated(line_.port));
}

void MachineCommandsFlow::MarkDelete1Click()
{
    if (!prompts_.question(QStringLiteral("Mark delete. Are You Sure?"), vui::CaptionConfirm))
        return;
    command(PrinterCommand::MarkDelete);
}

void MachineCommandsFlow::LoadDateTimeMClick()
{
    if (const std::optional<PrinterCommand> failed =
            vlink::ClockSetFrom(line_.port, clock_.now())) {
        prompts_.error(vlink::failureText(*failed));
        return;
    }
    prompts_.ok();
}

// A bench check of a printer on COM5 at 19200 bit/s: a "t" back announces it to the main window.
void MachineCommandsFlow::TestButton1Click()
{
    const vlink::AnnounceResult result = vlink::AnnounceCheck(line_.port);
    for (int i = 0; i < result.failedWrites; ++i)
        prompts_.beep();
    if (result.announced)
        vui::postMessage(&mainWindow_, vui::Message::SendToPrinter);
}

void MachineCommandsFlow::TestButton3Click()
{
    vlink::SetByteCheck(line_.port);
}

} // namespace vshell
