#pragma once

#include "link/port.h"

#include <QByteArray>
#include <initializer_list>

namespace vlink
{

// The echo exchange every command is built from.

// Purge, write, read the echo back and compare.
bool SendByte(Port &port, quint8 byte);
// Up to 10 reads 10 ms apart; the byte that arrives is echoed back.
bool ReceiveByte(Port &port, quint8 &byte);
// One read, no echo.
bool ReadByte(Port &port, quint8 &byte);
// Sleeps precisely; no events are processed.
void Delay(int ms);
// The same pause in the port's time.
void Delay(Port &port, int ms);
quint8 BitReverse(quint8 byte);
// Removes every character 0x00..0x20 at both ends.
QByteArray TrimText(const QByteArray &text);

inline constexpr int ReceiveAttempts = 10;
inline constexpr int ReceiveRetryMs = 10;

// A command as a chain of steps. The first failed step ends the command: later steps do nothing
// and ok() stays false. Nothing is retried.
class Sequence
{
public:
    explicit Sequence(Port &port) : port_(port) {}

    // SendByte: written, and its echo must come back unchanged.
    Sequence &send(quint8 byte);
    Sequence &send(std::initializer_list<quint8> bytes);
    // Each character with its own echo, then 0x0D.
    Sequence &text(const QByteArray &chars);
    // Each character with its own echo, no terminator.
    Sequence &chars(const QByteArray &chars);
    // ReadByte: one reply byte, not echoed.
    Sequence &read(quint8 &byte);
    // ReceiveByte: a reply byte that the station echoes back.
    Sequence &receive(quint8 &byte);
    // A bare write: no echo expected.
    Sequence &bare(quint8 byte);
    Sequence &block(const QByteArray &bytes);
    Sequence &delay(int ms);
    // A step of the caller's own; it runs only while every step before it succeeded.
    template <typename F> Sequence &then(F &&step)
    {
        if (ok_)
            ok_ = step(port_);
        return *this;
    }

    bool ok() const { return ok_; }
    operator bool() const { return ok_; }
    Port &port() { return port_; }

private:
    Port &port_;
    bool ok_ = true;
};

} // namespace vlink
