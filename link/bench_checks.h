#pragma once

#include "link/port.h"

#include <QByteArray>

namespace vlink
{

// The hidden test buttons' exchanges, for a printer on the bench.

inline constexpr int BenchCom = 4;   // COM5
inline constexpr int BenchSpeed = 4; // 19200 bit/s
// 0x12 0x02 0x04 and its check byte, written without echo.
QByteArray AnnounceFrame();
inline constexpr quint8 AnnounceReply = 0x74; // "t"

struct AnnounceResult {
    // Each write that did not complete; the frame goes on after one.
    int failedWrites = 0;
    // The printer answered "t".
    bool announced = false;
};

// Opens COM5 at 19200 bit/s, pulls RTS low then high, writes the announce frame and reads one
// byte.
AnnounceResult AnnounceCheck(Port &port);
// 0x0C with its echo.
bool SetByteCheck(Port &port);

} // namespace vlink
