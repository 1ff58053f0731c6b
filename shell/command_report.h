#pragma once

#include "link/command_table.h"
#include "ui/prompts.h"

namespace vshell
{

// How an item or a button reports a printer command: the command's failure text, or "Ok" where
// its success shows it.
void reportCommand(vui::Prompts &prompts, vlink::PrinterCommand command, bool ok);
// Runs a command that takes nothing but the port, and reports it.
void runCommand(vlink::Port &port, vui::Prompts &prompts, vlink::PrinterCommand command);

} // namespace vshell
