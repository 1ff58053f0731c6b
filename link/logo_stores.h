#pragma once

#include "link/command_table.h"
#include "link/logo_buffer.h"
#include "link/logo_commands.h"
#include "link/names_list.h"
#include "link/port.h"

#include <QString>

namespace vlink
{

// The two places a logo is kept: the printer's own memory and the Depot unit's current bank.
// Callers name the store and these calls pick its command, so a failure is always reported with
// the text of the command that ran.
enum class Store { Printer, Depot };

// What is done to one logo, whichever store holds it.
enum class LogoCall { Write, CopyWrite, Read, View, Delete, NamesRead };

// The store's command for the call (e.g. DPLogoView for a Depot view).
PrinterCommand logoCommand(LogoCall call, Store store);
// Its failure text, as the station shows it.
QString logoFailure(LogoCall call, Store store);

// A composed logo (from a bitmap file).
bool LogoWrite(Port &port, Store store, int number, const LogoBuffer &logo);
// A logo read from a device, written back unchanged.
bool LogoCopyWrite(Port &port, Store store, int number, const LogoBuffer &logo);
LogoOutcome LogoRead(Port &port, Store store, int number, LogoBuffer &logo);
bool LogoView(Port &port, Store store, int number, LogoBuffer &logo);
bool LogoDelete(Port &port, Store store, int number);
bool LogoNamesRead(Port &port, Store store, LogoNames &names, NamesRead *result = nullptr);

} // namespace vlink
