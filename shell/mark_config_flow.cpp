#include "shell/mark_config_flow.h"

#include "link/machine_commands.h"
#include "shell/command_report.h"

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

MarkConfigFlow::MarkConfigFlow(vui::LineState &line, vui::Prompts &prompts)
    : line_(line), prompts_(prompts)
{
}

void MarkConfigFlow::wire(const MainControls &c, const ItemHandlers &on)
{
    const struct {
        const OnOffMenu &menu;
        MarkOption option;
        bool opens; // the Config submenus read the printer's options when they open
    } options[] = {
        {c.MirrorHorizontally1, MarkOption::MirrorHorizontally, true},
        {c.MirrorVertically1, MarkOption::MirrorVertically, true},
        {c.BreakPointCorrection1, MarkOption::BreakPointCorrection, true},
        {c.MarkPrintDirection, MarkOption::MirrorHorizontally, false},
        {c.MarkBreakPointCorrection, MarkOption::BreakPointCorrection, false},
        {c.MarkRotation, MarkOption::MirrorVertically, false},
    };
    for (const auto &o : options) {
        const MarkOption option = o.option;
        const OnOffMenu *menu = &o.menu;
        if (o.opens)
            on.onOpen(menu->menu, [this, option, menu] { ConfigOpen(option, *menu); });
        on.on(menu->on, [this, option] { ConfigSet(option, true); });
        if (menu->off)
            on.on(menu->off, [this, option] { ConfigSet(option, false); });
    }
}

void MarkConfigFlow::ConfigOpen(MarkOption option, const OnOffMenu &menu)
{
    const OptionCommands &cmd = commandsFor(int(option));
    // A failed read still goes on with whatever byte arrived.
    if (!vlink::TimeParamsRead(line_.port, line_.timeParams))
        prompts_.error(QString::fromLatin1(cmd.readFailure));
    const bool set = line_.timeParams[0] & cmd.bit;
    menu.on->setEnabled(!set);
    menu.off->setEnabled(set);
}

void MarkConfigFlow::ConfigSet(MarkOption option, bool on)
{
    const OptionCommands &cmd = commandsFor(int(option));
    runCommand(line_.port, prompts_, on ? cmd.on : cmd.off);
}

} // namespace vshell
