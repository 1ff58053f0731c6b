#include "shell/kelm_main.h"

#include "link/machine_commands.h"

#include <QMenu>

namespace vshell
{

namespace
{

struct OptionCommands {
    quint8 bit; // in the mark configuration byte
    const char *readFailure;
    bool (*on)(vlink::Port &);
    bool (*off)(vlink::Port &);
    const char *setFailure;
};

const OptionCommands &commandsFor(int option)
{
    static const OptionCommands table[] = {
        {0x01, " Read Error", vlink::MarkPrintBack, vlink::MarkPrintForward,
         "MarkPrintDirection Set Error"},
        {0x04, "Read Error", vlink::MarkRotateOn, vlink::MarkRotateOff, "MarkRotateOn Set Error"},
        {0x02, " Read Error", vlink::MarkBreakPointCorrOn, vlink::MarkBreakPointCorrOff,
         "MarkBreakPointCorr On Error"},
    };
    return table[option];
}

} // namespace

void TAutoControl::ConfigOpen(MarkOption option)
{
    const OptionCommands &cmd = commandsFor(int(option));
    // A failed read still goes on with whatever byte arrived.
    if (!vlink::TimeParamsRead(port_, state_.timeParams))
        prompts_.error(QString::fromLatin1(cmd.readFailure));
    const OnOffMenu &menu = option == MarkOption::MirrorHorizontally ? c_.MirrorHorizontally1
                            : option == MarkOption::MirrorVertically ? c_.MirrorVertically1
                                                                     : c_.BreakPointCorrection1;
    const bool set = state_.timeParams[0] & cmd.bit;
    menu.on->setEnabled(!set);
    menu.off->setEnabled(set);
}

void TAutoControl::ConfigSet(MarkOption option, bool on)
{
    const OptionCommands &cmd = commandsFor(int(option));
    command(on ? cmd.on : cmd.off, QString::fromLatin1(cmd.setFailure), true);
}

} // namespace vshell
