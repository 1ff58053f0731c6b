#pragma once

#include "link/port.h"
#include "vprinter/device.h"

#include <array>
#include <functional>
#include <utility>

// The station's port wired straight to virtual printers in memory: each read sees at once what
// the device answered, and a silent read fails at once instead of after the time-out.
class MemoryPort : public vlink::Port
{
public:
    // The device on COM1; the other ports are absent.
    explicit MemoryPort(vp::Device &device, bool openNow = true);
    // Devices by port index; nullptr for an absent port.
    explicit MemoryPort(const std::array<vp::Device *, vlink::PortCount> &devices);
    // Checks that the devices counted the protocol errors expected (none, unless said otherwise)
    // and no protocol warning.
    ~MemoryPort() override;
    MemoryPort(const MemoryPort &) = delete;
    MemoryPort &operator=(const MemoryPort &) = delete;
    // -1: a test that breaks the exchange on purpose expects any number.
    void expectProtocolErrors(int count) { expectedErrors_ = count; }

    bool testCom(int index) override;
    bool openCom(int index) override;
    void closeCom() override;
    bool isOpen() const override { return current_ >= 0; }
    bool setBaud(int speedIndex) override;
    bool writeByte(quint8 byte) override;
    bool writeBlock(const QByteArray &block, int &written) override;
    bool readByte(quint8 &byte) override;
    // Nothing here takes time: the bound is the same as readByte's.
    bool readByteWithin(quint8 &byte, int) override { return readByte(byte); }
    void purge() override;
    void setRts(bool on) override;
    QString deviceName() const override;

    // Stale bytes that arrive before the next exchange.
    void inject(const QByteArray &bytes) { rx_ += bytes; }
    // The next n reads find nothing, as if the device answered late.
    void holdReads(int n)
    {
        heldReads_ = n;
        expectProtocolErrors(-1);
    }
    // Every byte the station wrote, echoed or not.
    const QByteArray &written() const { return written_; }
    void clearWritten() { written_.clear(); }
    // What was written since the last call.
    QByteArray takeWritten() { return std::exchange(written_, {}); }
    int readAttempts() const { return readAttempts_; }
    int purges() const { return purges_; }
    // The bytes purges threw away unread.
    int purgedBytes() const { return purgedBytes_; }
    int lineSpeed() const { return baud_; }
    QList<bool> rtsChanges() const { return rts_; }
    // Runs as every read begins, while the station waits for the line.
    std::function<void()> onRead;

private:
    vp::Device *device() const;
    void collect();

    std::array<vp::Device *, vlink::PortCount> devices_{};
    int current_ = -1;
    int baud_ = 9600;
    QByteArray rx_;
    QByteArray written_;
    int heldReads_ = 0;
    int readAttempts_ = 0;
    int purges_ = 0;
    int purgedBytes_ = 0;
    QList<bool> rts_;
    int expectedErrors_ = 0;
};
