#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <chrono>
#include <stdexcept>

namespace vlink
{

// Raised when a port cannot be opened or configured; the application object shows its text.
class ExCom : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

inline constexpr int PortCount = 6;

// Speed table, indexed as the station addresses speeds; discovery uses indices 3..6.
inline constexpr int SpeedTable[7] = {1200, 2400, 4800, 9600, 19200, 38400, 57600};

// Working time-outs: 400 ms plus 5 ms per byte in total.
inline constexpr int ReadTotalConstantMs = 400;
inline constexpr int ReadTotalPerByteMs = 5;
inline constexpr int WriteByteTimeoutMs = 100;

// The whole time a read of this many bytes may wait.
constexpr int ReadTimeoutMs(int bytes)
{
    return ReadTotalConstantMs + ReadTotalPerByteMs * bytes;
}

// The one serial line the station talks through. Commands see only this interface, so they run
// unchanged over a real serial device, a pseudo-terminal, or the in-memory virtual printer.
class Port
{
public:
    virtual ~Port() = default;

    // Port presence test: opens the port as openCom does, reads its state and closes it again.
    virtual bool testCom(int index) = 0;
    // Opens COM<index+1> (closing any open port first). Throws ExCom on failure.
    virtual bool openCom(int index) = 0;
    // Lets what was written leave the line first (bounded by its line time), then closes; after
    // a hang-up the port is closed at once.
    virtual void closeCom() = 0;
    virtual bool isOpen() const = 0;

    // Speed by index into SpeedTable, 8N1, no flow control, once what was written has left the
    // line. False when the port refuses it.
    virtual bool setBaud(int speedIndex) = 0;

    virtual bool writeByte(quint8 byte) = 0;
    // Waits until the whole block has left; written receives the count that went out.
    virtual bool writeBlock(const QByteArray &block, int &written) = 0;
    // One byte, bounded by the working time-outs.
    virtual bool readByte(quint8 &byte) = 0;
    // As readByte, but waiting at most timeoutMs when that is shorter.
    virtual bool readByteWithin(quint8 &byte, int timeoutMs) = 0;
    // Discards whatever has been received.
    virtual void purge() = 0;
    // A no-op on lines that refuse RTS (pseudo-terminals).
    virtual void setRts(bool on) = 0;

    // The device file behind the open port (for messages); empty when closed.
    virtual QString deviceName() const = 0;

    // The time the commands wait by: pauses and reply deadlines. A port that answers from
    // memory may keep its own, so that silence and pauses cost it no real time.
    using Clock = std::chrono::steady_clock;
    virtual Clock::time_point now() const { return Clock::now(); }
    virtual void sleepUntil(Clock::time_point moment);
};

} // namespace vlink
