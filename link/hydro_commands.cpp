#include "link/hydro_commands.h"

#include "link/command_table.h"
#include "link/exchange.h"

#include <iterator>

namespace vlink
{

namespace
{

quint8 op(HydroOp o)
{
    return quint8(o);
}

// 0x12 0x2A, the command letter and its argument, each echoed.
Sequence &hydro(Sequence &seq, HydroOp letter, quint8 argument)
{
    return seq.send({op(HydroOp::Prefix), op(HydroOp::Hydro), op(letter), argument});
}

constexpr char ProbeError[] = "Hydro System On Error!!";
// The ablution, hook-sensor and flow-gate items name their failure with two blanks.
constexpr char SwitchError[] = "Hydro System  Error!!";

constexpr quint8 Full = 0x55;  // "U"
constexpr quint8 Clear = 0x5A; // "Z"
constexpr quint8 Real = 0x50;  // "P"

using K = HydroKey;

// The letters mean different things on different channels, so this table is the only mapping.
constexpr HydroAction Actions[] = {
    {K::SystemOn, 0x6F, 0x00, ProbeError},
    {K::InkFull, 0x28, Full, ProbeError},
    {K::InkClear, 0x28, Clear, ProbeError},
    {K::InkRealSignal, 0x28, Real, ProbeError},
    {K::DissolventFull, 0x29, Full, ProbeError},
    {K::DissolventClear, 0x29, Clear, ProbeError},
    {K::DissolventRealSignal, 0x29, Real, ProbeError},
    {K::PressureSensorBias, 0x2A, 0, "Hydro System Error!!", true},
    {K::ThresholdLevel, 0x2B, 0, ProbeError, true},
    {K::AblutionEnable, 0x2C, Clear, SwitchError},
    {K::AblutionDisable, 0x2C, Full, SwitchError},
    {K::HookSensorEnable, 0x2D, Clear, SwitchError},
    {K::HookSensorDisable, 0x2D, Real, SwitchError},
    {K::FlowGateOn, 0x2E, Full, SwitchError},
    {K::FlowGateOff, 0x2E, Clear, SwitchError},
    {K::FlowGateSwitchMode, 0x2E, Real, SwitchError},
    {K::WorkPressure, 0x2F, 0, ProbeError, true},
};

constexpr bool actionsInKeyOrder()
{
    for (std::size_t i = 0; i < std::size(Actions); ++i)
        if (std::size_t(Actions[i].key) != i)
            return false;
    return std::size(Actions) == HydroKeyCount;
}
static_assert(actionsInKeyOrder(), "one action per key, in the order of HydroKey");

// The three value dialogs' ranges, in the order of HydroEntered; nothing outside them reaches the
// pump.
constexpr HydroSetting Settings[] = {
    {"bias", K::PressureSensorBias, 0, 30, 1},
    {"threshold", K::ThresholdLevel, 0, 60, 1},
    {"pressure", K::WorkPressure, 80, 200, 2},
};

constexpr std::array<HydroRow, HydroRowCount> Rows{{
    {"1", "System Pressure", 0, 4, 16, ""},
    {"2", "Rotate Speed", 4, 4, 16, ""},
    {"3", "Gate Status", 8, 2, 16, ""},
    {"4", "Level Status", 10, 2, 16, ""},
    {"5", "Pressure Sensor Bias", 12, 2, 16, "[0..30]"},
    {"6", "Liquid Threshold", 14, 2, 10, "[0..60]"},
    {"7", "SystemTime(Minuts)", 16, 2, 10, ""},
    {"8", "SystemTime(Seconds)", 18, 2, 16, ""},
    {"9", "Pressure Setted", 20, 4, 16, "[80..200]"},
    {"10", "Medium Viscosity", 24, 2, 16, ""},
    {"11", "Dynamic Viscosity", 26, 2, 16, ""},
    {"12", "Hook Status", 28, 2, 16, ""},
    {"12", "HydroSystem Status", 30, 2, 16, ""},
    {"13", "HydroSystem Echo Bytes", 32, 4, 16, ""},
}};

// The printer's digit rule: a character below ":" is its digit, any other its code minus 55, so
// "A".."F" are 10..15 and a stray character still reads as a number.
int digit(char c)
{
    return c < ':' ? c - '0' : c - 55;
}

bool printable(char c)
{
    return c >= 0x20 && c <= 0x7E;
}

} // namespace

bool KeyBoardChanelOpen(Port &port)
{
    return Sequence(port).send({op(HydroOp::Channel), op(HydroOp::Keyboard)}).ok();
}

bool KeyBoardChanelClose(Port &port)
{
    Sequence seq(port);
    return hydro(seq, HydroOp::Close, op(HydroOp::Zero)).ok();
}

bool HydroParamsRead(Port &port, QByteArray &text)
{
    Sequence seq(port);
    hydro(seq, HydroOp::Read, op(HydroOp::One)).delay(HydroReadPauseMs);
    for (int i = 0; i < HydroTextLength && seq.ok(); ++i) {
        quint8 c = 0;
        if (seq.read(c))
            text.append(char(c));
    }
    return seq.ok();
}

bool HydroPower(Port &port)
{
    Sequence seq(port);
    return hydro(seq, HydroOp::Power, op(HydroOp::Zero)).ok();
}

bool HydroValueWrite(Port &port, quint8 channel, quint8 value)
{
    Sequence seq(port);
    hydro(seq, HydroOp::Select, channel);
    return hydro(seq, HydroOp::Value, value).ok();
}

std::span<const HydroAction> hydroActions()
{
    return Actions;
}

const HydroAction &hydroAction(HydroKey key)
{
    return Actions[std::size_t(key)];
}

const HydroSetting &hydroSetting(HydroEntered which)
{
    return Settings[std::size_t(which)];
}

const HydroSetting *hydroSetting(const QString &wordOrChannel)
{
    const bool hex = wordOrChannel.startsWith(QLatin1String("0x"), Qt::CaseInsensitive);
    bool number = false;
    const int channel = (hex ? wordOrChannel.mid(2) : wordOrChannel).toInt(&number, hex ? 16 : 10);
    for (const HydroSetting &s : Settings)
        if (wordOrChannel == QLatin1String(s.word) ||
            (number && channel == hydroAction(s.action).channel))
            return &s;
    return nullptr;
}

QString hydroValueRefusal(const HydroSetting &setting, const QString &entered, int &value)
{
    bool number = false;
    value = entered.trimmed().toInt(&number);
    if (!number)
        return QStringLiteral("Value Convert Error");
    if (value < setting.low)
        return QStringLiteral("Min value=%1").arg(setting.low);
    if (value > setting.high)
        return QStringLiteral("Max value=%1").arg(setting.high);
    return {};
}

quint8 hydroValueByte(const HydroSetting &setting, int value)
{
    return quint8(value / setting.divisor);
}

QStringList HydroChannelWrite(Port &port, quint8 channel, quint8 value, const QString &writeFailure)
{
    bool written = false;
    return HydroChannelWrite(port, channel, value, writeFailure, written);
}

QStringList HydroChannelWrite(Port &port, quint8 channel, quint8 value, const QString &writeFailure,
                              bool &written)
{
    written = false;
    if (!KeyBoardChanelOpen(port))
        return {failureText(PrinterCommand::KeyBoardChanelOpen)};
    QStringList shown;
    written = HydroValueWrite(port, channel, value);
    if (!written)
        shown << writeFailure;
    if (!KeyBoardChanelClose(port))
        shown << failureText(PrinterCommand::KeyBoardChanelClose);
    return shown;
}

const std::array<HydroRow, HydroRowCount> &hydroRows()
{
    return Rows;
}

std::optional<HydroValues> DecodeHydroText(const QByteArray &text)
{
    if (text.size() < HydroTextLength)
        return std::nullopt;
    HydroValues values{};
    for (int r = 0; r < HydroRowCount; ++r) {
        const HydroRow &row = Rows[std::size_t(r)];
        int value = 0;
        for (int i = row.first; i < row.first + row.count; ++i) {
            if (!printable(text[i]))
                return std::nullopt;
            value = value * row.base + digit(text[i]);
        }
        values[std::size_t(r)] = value;
    }
    return values;
}

} // namespace vlink
