#include "vprinter/device.h"

namespace vp
{

namespace
{

constexpr quint8 ChannelOp = 0x07;
constexpr quint8 Keyboard = 0x0A;
constexpr quint8 Zero = 0x30;
constexpr quint8 One = 0x31;
constexpr int ShortLength = 20;

QByteArray hex(int value, int digits)
{
    return QByteArray::number(value, 16).toUpper().rightJustified(digits, '0').right(digits);
}

QByteArray decimal(int value)
{
    return QByteArray::number(value % 100).rightJustified(2, '0');
}

// Readings drift by up to two either way, a new step every half second.
int drift(qint64 elapsedMs, int salt)
{
    return int((elapsedMs / 500 * 7 + salt) % 5) - 2;
}

quint8 levelBits(const HydroState &h)
{
    // A probe forced full reads full; forced clear or on its real signal of a filled tank, empty
    // and full.
    const auto full = [&](quint8 channel) { return h.value(channel) != 0x5A; };
    return quint8((full(0x28) ? 1 : 0) | (full(0x29) ? 2 : 0));
}

quint8 statusBits(const HydroState &h)
{
    return quint8((h.power ? 1 : 0) | (h.values.count(0x6F) ? 2 : 0) |
                  (h.value(0x2C) == 0x5A ? 4 : 0));
}

} // namespace

QByteArray HydroState::text(qint64 elapsedMs) const
{
    const int setted = value(0x2F) * 2;
    const int pressure = power ? setted * 3 + drift(elapsedMs, 0) : 0;
    const int speed = power ? 1500 + drift(elapsedMs, 1) * 10 : 0;
    const qint64 seconds = elapsedMs / 1000;
    QByteArray t;
    t += hex(qMax(0, pressure), 4);
    t += hex(speed, 4);
    t += hex(value(0x2E), 2);
    t += hex(levelBits(*this), 2);
    t += hex(value(0x2A), 2);
    t += decimal(value(0x2B));
    t += decimal(int(seconds / 60));
    t += hex(int(seconds % 60), 2);
    t += hex(setted, 4);
    t += hex(0x40 + drift(elapsedMs, 2), 2);
    t += hex(0x38 + drift(elapsedMs, 3), 2);
    t += hex(value(0x2D), 2);
    t += hex(statusBits(*this), 2);
    t += hex(reads, 4);
    t += '\r';
    return t;
}

QByteArray HydroState::reply() const
{
    QByteArray t = text();
    if (fault == HydroFault::Short)
        t.truncate(ShortLength);
    else if (fault == HydroFault::Malformed)
        t[2] = '\0';
    return t;
}

// 0x07 0x0A opens the keyboard channel. 0x07 with anything else is the logo family's.
bool Device::keyboardChannel(Wire &w)
{
    if (w.peek() != ChannelOp || pending_.size() < 2 || quint8(pending_[1]) != Keyboard)
        return false;
    w.sb();
    w.sb();
    if (printerAnswers()) {
        hydro_.channelOpen = true;
        ++hydro_.opens;
    }
    return true;
}

// After 0x12 0x2A: the command letter and its byte. Only the power goes without the keyboard
// channel; any other command outside it is refused unechoed, as the printer does not know it.
void Device::hydroCommand(Wire &w)
{
    w.setAnswers(printerAnswers());
    const quint8 letter = w.peek();
    if (letter != 'S' && !hydro_.channelOpen && printerAnswers()) {
        w.bare();
        w.error(QStringLiteral("hydraulic command \"%1\" outside the keyboard channel")
                    .arg(QLatin1Char(char(letter))));
        return;
    }
    w.sb();
    switch (letter) {
    case 'U':
        if (w.sb(Zero) && printerAnswers()) {
            hydro_.channelOpen = false;
            hydro_.selected.reset();
            ++hydro_.closes;
        }
        return;
    case 'S':
        if (w.sb(Zero) && printerAnswers())
            hydro_.power = !hydro_.power;
        return;
    case 'L':
        if (!w.sb(One))
            return;
        w.send(hydro_.reply());
        if (printerAnswers())
            ++hydro_.reads;
        return;
    case 'C': {
        const quint8 channel = w.sb();
        if (printerAnswers())
            hydro_.selected = channel;
        return;
    }
    case 'V': {
        const quint8 value = w.sb();
        if (!hydro_.selected) {
            w.error(QStringLiteral("hydraulic value 0x%1 without a channel")
                        .arg(value, 2, 16, QLatin1Char('0')));
            return;
        }
        if (printerAnswers()) {
            hydro_.values[*hydro_.selected] = value;
            hydro_.selected.reset();
            ++hydro_.writes;
        }
        return;
    }
    default:
        w.error(QStringLiteral("hydraulic command letter 0x%1 unknown")
                    .arg(letter, 2, 16, QLatin1Char('0')));
    }
}

} // namespace vp
