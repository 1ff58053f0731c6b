#pragma once

#include "link/port.h"

#include <QByteArray>
#include <initializer_list>

namespace vlink
{

// The line's own frames end in a check byte that makes all their bytes sum to 0 modulo 256.
QByteArray CheckedFrame(std::initializer_list<quint8> bytes);

// The select-printer frame: after 0x12 0x03 0x08 the printer index 0..5 and the check byte.
// Sent without echo; the printer answers one byte.
enum class SelectOp : quint8 { Prefix = 0x12, Select = 0x03, Printer = 0x08 };
inline constexpr int RtsPulseMs = 500;

QByteArray SelectPrinterFrame(int index);
// Raises RTS, waits, lowers it again; nothing on a line that refuses RTS.
void RtsPulse(Port &port, int ms = RtsPulseMs);
// The RTS pulse, the frame written byte by byte, one reply byte of any value. False when a write
// does not complete or no reply arrives.
bool SelectPrinterExchange(Port &port, int index);

} // namespace vlink
