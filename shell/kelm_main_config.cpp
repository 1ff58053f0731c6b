#include "shell/kelm_main.h"

#include "link/machine_commands.h"

#include <QMenu>

namespace vshell
{

namespace
{

using vlink::PrinterCommand;

struct OptionCommands {
    quint8 bit; // in the mark configuration byte
    // The submenu's own text for a failed read of the configuration byte.
    const char *readFailure;
    PrinterCommand on;
    PrinterCommand off;
};

const OptionCommands &commandsFor(int option)
{
    static const OptionCommands table[] = {
        {0x01, " Read Error", PrinterCommand::MarkPrintBack, PrinterCommand::MarkPrintForward},
        {0x04, "Read Error", PrinterCommand::MarkRotateOn, PrinterCommand::MarkRotateOff},
        {0x02, " Read Error", PrinterCommand::MarkBreakPointCorrOn,
         PrinterCommand::MarkBreakPointCorrOff},
    };
    return table[option];
}

} // namespace

void TAutoControl::ConfigOpen(MarkOption option)
{
    const OptionCommands &cmd = commandsFor(int(option));
    // A failed read still goes on with whatever byte arrived.
    if (!vlink::TimeParamsRead(port_, state_.line.timeParams))
        prompts_.error(QString::fromLatin1(cmd.readFailure));
    const OnOffMenu &menu = option == MarkOption::MirrorHorizontally ? c_.MirrorHorizontally1
                            : option == MarkOption::MirrorVertically ? c_.MirrorVertically1
                                                                     : c_.BreakPointCorrection1;
    const bool set = state_.line.timeParams[0] & cmd.bit;
    menu.on->setEnabled(!set);
    menu.off->setEnabled(set);
}

void TAutoControl::ConfigSet(MarkOption option, bool on)
{
    const OptionCommands &cmd = commandsFor(int(option));
    command(on ? cmd.on : cmd.off);
}

} // namespace vshell
