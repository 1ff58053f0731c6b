#pragma once

#include "link/port.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>

// A port whose line carries only the given bytes: every read, echo or reply, takes the next one,
// and once they are used up every read fails. Time is its own: a failed read moves it on by the
// read's time-out and a pause by its length, so a silent line costs no real time.
class FuzzPort : public vlink::Port
{
public:
    FuzzPort(const std::uint8_t *data, std::size_t size)
        : data_(data), size_(size), now_(Clock::time_point{})
    {
    }

    bool testCom(int index) override { return index == 0; }
    bool openCom(int index) override { return testCom(index); }
    void closeCom() override {}
    bool isOpen() const override { return true; }
    bool setBaud(int speedIndex) override { return speedIndex >= 0 && speedIndex <= 6; }
    bool writeByte(quint8 byte) override;
    bool writeBlock(const QByteArray &block, int &written) override;
    bool readByte(quint8 &byte) override;
    bool readByteWithin(quint8 &byte, int timeoutMs) override;
    // What has arrived is what the line still holds: nothing is thrown away.
    void purge() override {}
    void setRts(bool) override {}
    QString deviceName() const override { return QStringLiteral("fuzz"); }

    Clock::time_point now() const override { return now_; }
    void sleepUntil(Clock::time_point moment) override;

    std::size_t bytesWritten() const { return written_; }

private:
    bool take(quint8 &byte, int timeoutMs);

    const std::uint8_t *data_;
    std::size_t size_;
    std::size_t next_ = 0;
    std::size_t written_ = 0;
    Clock::time_point now_;
};
