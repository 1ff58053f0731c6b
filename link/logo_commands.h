#pragma once

#include "link/logo_buffer.h"
#include "link/names_list.h"
#include "link/port.h"

#include <QByteArray>

namespace vlink
{

// Printer logo opcodes, as they go on the wire.
enum class LogoOp : quint8 {
    Logo = 0x07,  // first byte of every printer logo transfer
    View = 0x00,  // 0x07 0x00 n: H, W and the dots only
    Read = 0x01,  // 0x07 0x01 n: the whole record
    Write = 0x89, // 0x07 0x89 n, then the record
};

// 0x01 0x03: the printer's list of logo names.
enum class LogoNamesOp : quint8 {
    First = 0x01,
    Names = 0x03,
};

// Pause between the read that fetches a logo and the write that puts it back renamed.
inline constexpr int RenamePauseMs = 10;

// What happened on the wire during a logo read.
struct LogoOutcome {
    bool ok = false;
    // The printer did not even echo the first byte.
    bool failedOnFirstByte = false;

    explicit operator bool() const { return ok; }
};

// Writes refuse, sending nothing, a logo number beyond one byte, a buffer that does not fit a
// record, and a buffer in the other dot order (a blank buffer fits both).

// A composed logo (from a bitmap file): dots bit-reversed and inverted.
bool PrinterLogoWrite(Port &port, int number, const LogoBuffer &logo);
// A logo read from a device (copy, rename): dots inverted only.
bool PrinterLogoCopyWrite(Port &port, int number, const LogoBuffer &logo);
// Writes the deleted logo: height 4, width 1, blank, no name.
bool PrinterLogoDelete(Port &port, int number);

// Reads fill the buffer with 0xFF first and leave it in device order.
LogoOutcome PrinterLogoRead(Port &port, int number, LogoBuffer &logo);
bool PrinterLogoView(Port &port, int number, LogoBuffer &logo);
// Reads the logo and writes it back under the new name. The buffer holds it after.
LogoOutcome PrinterLogoRename(Port &port, int number, const QByteArray &name, LogoBuffer &logo);
// A list refused (result says why) leaves names as it was.
bool PrinterLogoNamesRead(Port &port, LogoNames &names, NamesRead *result = nullptr);

} // namespace vlink
