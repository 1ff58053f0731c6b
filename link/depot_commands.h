#pragma once

#include "link/logo_buffer.h"
#include "link/logo_commands.h"
#include "link/names_list.h"
#include "link/port.h"

#include <QByteArray>

namespace vlink
{

// Depot opcodes: every Depot command opens with 0x12 0x23 ("#") and a command letter.
enum class DepotOp : quint8 {
    Prefix = 0x12,
    Depot = 0x23,   // "#"
    Write = 0x57,   // "W"
    Read = 0x52,    // "R", also the view
    Names = 0x4E,   // "N"
    Bank = 0x53,    // "S"
    MaxBank = 0x46, // "F"
    Version = 0x56, // "V"
    Command = 0x55, // "U"
    Zero = 0x30,    // "0": the argument of "N", "V" and "U"
};

inline constexpr int DepotBanks = 16;
inline constexpr int DepotLogos = 250;
inline constexpr int DepotReadPauseMs = 9;
inline constexpr int DepotViewPauseMs = 10;
inline constexpr int DepotVersionPauseMs = 9;
// A version text longer than this is a device that never ends its reply.
inline constexpr int DepotVersionMax = 256;

// Writes refuse, sending nothing, what PrinterLogoWrite refuses.
bool DPLogoWrite(Port &port, int number, const LogoBuffer &logo);
bool DPLogoCopyWrite(Port &port, int number, const LogoBuffer &logo);
bool DPLogoDelete(Port &port, int number);

// On success the caller closes TDPLogoReadWriteForm so that it shows the new logo.
LogoOutcome DPLogoRead(Port &port, int number, LogoBuffer &logo);
bool DPLogoView(Port &port, int number, LogoBuffer &logo);
// A list refused (result says why) leaves names as it was.
bool DPLogoNamesRead(Port &port, LogoNames &names, NamesRead *result = nullptr);

bool BankNumSet(Port &port, int bank);
bool MaxBankNumSet(Port &port, int count);
// The text up to its terminating 0x00, untrimmed.
bool DPVersionRead(Port &port, QByteArray &text);
// Puts the Depot back to bank 0 and sends "U0". depotBank (the caller's current Depot bank)
// becomes 0 whatever the line does.
bool DPCommandU0(Port &port, int &depotBank);

} // namespace vlink
