#include "shell/command_report.h"

namespace vshell
{

void reportCommand(vui::Prompts &prompts, vlink::PrinterCommand command, bool ok)
{
    if (!ok)
        prompts.error(vlink::failureText(command));
    else if (vlink::commandEntry(command).okShown)
        prompts.ok();
}

void runCommand(vlink::Port &port, vui::Prompts &prompts, vlink::PrinterCommand command)
{
    reportCommand(prompts, command, vlink::commandEntry(command).run(port));
}

} // namespace vshell
