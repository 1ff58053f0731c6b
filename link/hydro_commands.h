#pragma once

#include "link/port.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>
#include <cstddef>
#include <optional>
#include <span>

namespace vlink
{

// The keyboard channel opens with 0x07 0x0A; every hydraulic command opens with 0x12 0x2A ("*")
// and a command letter.
enum class HydroOp : quint8 {
    Channel = 0x07,
    Keyboard = 0x0A,
    Prefix = 0x12,
    Hydro = 0x2A,  // "*"
    Close = 0x55,  // "U"
    Read = 0x4C,   // "L"
    Power = 0x53,  // "S"
    Select = 0x43, // "C": the channel byte follows
    Value = 0x56,  // "V": the value byte follows
    Zero = 0x30,   // "0": the argument of "U" and "S"
    One = 0x31,    // "1": the argument of "L"
};

inline constexpr int HydroTextLength = 37;
inline constexpr int HydroReadPauseMs = 100;

bool KeyBoardChanelOpen(Port &port);
bool KeyBoardChanelClose(Port &port);
// The 37 characters as they came; false, with what came so far, when fewer arrived.
bool HydroParamsRead(Port &port, QByteArray &text);
// Sent alone: the pump's power needs no keyboard channel.
bool HydroPower(Port &port);
bool HydroValueWrite(Port &port, quint8 channel, quint8 value);

// The hydraulic actions, in the order of the "Commands" menu; the value dialogs' rows too.
enum class HydroKey : quint8 {
    SystemOn,
    InkFull,
    InkClear,
    InkRealSignal,
    DissolventFull,
    DissolventClear,
    DissolventRealSignal,
    PressureSensorBias,
    ThresholdLevel,
    AblutionEnable,
    AblutionDisable,
    HookSensorEnable,
    HookSensorDisable,
    FlowGateOn,
    FlowGateOff,
    FlowGateSwitchMode,
    WorkPressure, // the last: HydroKeyCount counts up to it
};
inline constexpr std::size_t HydroKeyCount = std::size_t(HydroKey::WorkPressure) + 1;

// An action of the hydraulic menu or of a value dialog: which channel it sets to which value.
struct HydroAction {
    HydroKey key;
    quint8 channel;
    quint8 value; // for the value dialogs, the entered value (halved for the work pressure)
    const char *failureText;
    bool entered = false; // the value comes from a value dialog, not from the table
};

// Every action, in the order of HydroKey.
std::span<const HydroAction> hydroActions();
const HydroAction &hydroAction(HydroKey key);

// A value the operator enters, in the value dialogs and on vuvactl's command line alike: its
// range, the dialog's action that sends it, and how it goes out.
struct HydroSetting {
    const char *word; // vuvactl's name for it
    HydroKey action;  // the dialog's action in hydroActions()
    int low;
    int high;
    int divisor; // the value sent is the entered one divided by this, remainder dropped
};
enum class HydroEntered { Bias, Threshold, WorkPressure };
const HydroSetting &hydroSetting(HydroEntered which);
// The setting named by its word or by its channel's number (decimal or 0xHH); nullptr for any
// other.
const HydroSetting *hydroSetting(const QString &wordOrChannel);
// The entered text as the dialogs take it. Empty when it is a number within the range, with the
// number in value; else the dialog's refusal ("Value Convert Error", "Min value=80", ...).
QString hydroValueRefusal(const HydroSetting &setting, const QString &entered, int &value);
// The byte that goes out for an entered value within the range.
quint8 hydroValueByte(const HydroSetting &setting, int value);

// Opens the keyboard channel, writes the value, closes the channel again (also after a failed
// write, so the printer is not left in channel mode; a failed open skips both). Returns the texts
// to show, in order: none on success.
QStringList HydroChannelWrite(Port &port, quint8 channel, quint8 value,
                              const QString &writeFailure);
// As above; written tells whether the value reached the printer.
QStringList HydroChannelWrite(Port &port, quint8 channel, quint8 value, const QString &writeFailure,
                              bool &written);

// A row of the hydraulic panel: which characters of the parameter text it reads, in which base.
struct HydroRow {
    const char *number; // the caption in the first column ("12" stands on two rows)
    const char *name;
    int first;
    int count;
    int base;
    const char *range; // the third column, empty where none
};

// The rows whose values the main window remembers for the value dialogs.
inline constexpr int BiasRow = 4;
inline constexpr int ThresholdRow = 5;
inline constexpr int WorkPressureRow = 8;

inline constexpr int HydroRowCount = 14;
const std::array<HydroRow, HydroRowCount> &hydroRows();
using HydroValues = std::array<int, HydroRowCount>;

// Each row's value from the text; nothing when the text is shorter than a whole reply, or a row
// reads a character outside the printable range.
std::optional<HydroValues> DecodeHydroText(const QByteArray &text);

} // namespace vlink
