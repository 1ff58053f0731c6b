#pragma once

#include "link/port.h"

#include <QByteArray>

namespace vshell
{

// The select-printer frame: after 0x12 0x03 0x08 the printer index 0..5 and a check byte that
// makes the five bytes sum to 0 modulo 256. Sent without echo; the printer answers one byte.
enum class SelectOp : quint8 { Prefix = 0x12, Select = 0x03, Printer = 0x08 };
inline constexpr int RtsPulseMs = 500;

QByteArray SelectPrinterFrame(int index);
// Raises RTS, waits, lowers it again; nothing on a line that refuses RTS.
void RtsPulse(vlink::Port &port, int ms = RtsPulseMs);
// The RTS pulse, the frame written byte by byte, one reply byte of any value. False when a write
// does not complete or no reply arrives.
bool SelectPrinterExchange(vlink::Port &port, int index);

} // namespace vshell
