#pragma once

#include "link/port.h"

#include <QByteArray>
#include <array>

namespace vlink
{

// Machine control opcodes, as they go on the wire.
enum class MachineOp : quint8 {
    Start = 0x17, // also PrintStart
    Stop = 0x02,  // also HighVoltageTurn
    Reset = 0x12, // also the first byte of the Depot and hydraulic families
    RunningNumberReset = 0x1F,
    Clear = 0x0B,      // AutoRunStop, MarkDelete
    Set = 0x0C,        // auto-run period, running-number direction, parameters, status byte
    MarkOption = 0x1E, // print direction, break-point correction, rotation
    Clock = 0x1A,      // time and date set
    TimeParams = 0x08,
};

enum class MachineArg : quint8 {
    AutoRun = 0x41,       // "A"
    RunningNumber = 0x4E, // "N"
    Mark = 0x4D,          // "M"
    Forward = 0x14,
    Back = 0x13,
    BreakPointOn = 0x15,
    BreakPointOff = 0x16,
    RotateOn = 0x44,
    RotateOff = 0x55,
    StepUp = 0x15,
    StepDown = 0x16,
    Query = 0x05,
    Status = 0x09,
    Ack = 0x12,  // bare acknowledgement after a parameter or status read
    Time = 0x54, // "T"
    Date = 0x44, // "D"
    End = 0x0D,
};

// The 13 printing parameters the parameter window reads; "S" is also the mark's string count.
inline constexpr std::array<char, 13> ParamCodes = {'C', 'D', 'F', 'H', 'J', 'K', 'L',
                                                    'Q', 'S', 'T', 'U', 'Y', 'Z'};

inline constexpr int TimeParamCount = 14;
// Bytes 1..14 of the time-parameter reply, stored from index 0.
using TimeParams = std::array<quint8, TimeParamCount>;

bool StartCommand(Port &port);
bool StopCommand(Port &port);
bool PrintStart(Port &port);
bool HighVoltageTurn(Port &port);
bool Reset(Port &port);
bool RunningNumberReset(Port &port);
bool AutoRunStop(Port &port);
bool AutoRunPeriodSet(Port &port, const QByteArray &period);
bool RunningNumberForward(Port &port);
bool RunningNumberBack(Port &port);
bool MarkPrintForward(Port &port);
bool MarkPrintBack(Port &port);
bool MarkBreakPointCorrOn(Port &port);
bool MarkBreakPointCorrOff(Port &port);
bool MarkRotateOn(Port &port);
bool MarkRotateOff(Port &port);
bool MarkDelete(Port &port);
bool ParamsRead(Port &port, quint8 code, quint8 &value);
bool ParamsIncrease(Port &port, quint8 code, quint8 &value);
bool ParamsDecrease(Port &port, quint8 code, quint8 &value);
bool ByteStatusRead(Port &port, quint8 &value);
// The first six characters of "hhmmss" / "ddmmyy".
bool TimeSet(Port &port, const QByteArray &hhmmss);
bool DateSet(Port &port, const QByteArray &ddmmyy);
// Fills the first min(N, 14) bytes; the rest keep what the caller put there.
bool TimeParamsRead(Port &port, TimeParams &params);
// As above; filled receives how many bytes were filled, min(N, 14).
bool TimeParamsRead(Port &port, TimeParams &params, int &filled);

} // namespace vlink
