#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QtGlobal>
#include <map>
#include <optional>

namespace vp
{

// Hydraulic parameter texts the device sends malformed, on demand.
enum class HydroFault {
    None,
    Short,     // only the first 20 characters
    Malformed, // a NUL, as line noise leaves, among the pressure's digits
};

// The printer's ink hydraulics, reached through its keyboard channel.
struct HydroState {
    HydroState() { clock.start(); }

    bool channelOpen = false;
    bool power = false;
    // The channel the last "C" named, until its "V" comes.
    std::optional<quint8> selected;
    // Each channel's value as the station last set it; the work pressure channel holds half of
    // the pressure.
    std::map<quint8, quint8> values = {{0x2A, 5}, {0x2B, 30}, {0x2F, 60}, {0x2E, 0x50}};
    HydroFault fault = HydroFault::None;
    int opens = 0;
    int closes = 0;
    int reads = 0;
    int writes = 0;
    // Runs from the device's start: the system time and the small drift of the readings.
    QElapsedTimer clock;

    quint8 value(quint8 channel) const
    {
        const auto it = values.find(channel);
        return it == values.end() ? 0 : it->second;
    }
    // The 37-character parameter text as it reads after elapsedMs.
    QByteArray text(qint64 elapsedMs) const;
    QByteArray text() const { return text(clock.elapsed()); }
    // As sent, with the fault applied.
    QByteArray reply() const;
};

} // namespace vp
