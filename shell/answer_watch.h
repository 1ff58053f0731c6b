#pragma once

#include "link/port.h"

namespace vshell
{

// A port that passes everything through and counts the bytes that came back, so a retry loop
// can tell a dead line from a device that answers wrongly.
class AnswerWatch : public vlink::Port
{
public:
    explicit AnswerWatch(vlink::Port &port) : port_(port) {}

    int answered() const { return answered_; }
    void reset() { answered_ = 0; }

    bool testCom(int index) override { return port_.testCom(index); }
    bool openCom(int index) override { return port_.openCom(index); }
    void closeCom() override { port_.closeCom(); }
    bool isOpen() const override { return port_.isOpen(); }
    bool setBaud(int speedIndex) override { return port_.setBaud(speedIndex); }
    bool writeByte(quint8 byte) override { return port_.writeByte(byte); }
    bool writeBlock(const QByteArray &block, int &written) override
    {
        return port_.writeBlock(block, written);
    }
    bool readByte(quint8 &byte) override
    {
        const bool ok = port_.readByte(byte);
        answered_ += ok ? 1 : 0;
        return ok;
    }
    bool readByteWithin(quint8 &byte, int timeoutMs) override
    {
        const bool ok = port_.readByteWithin(byte, timeoutMs);
        answered_ += ok ? 1 : 0;
        return ok;
    }
    void purge() override { port_.purge(); }
    void setRts(bool on) override { port_.setRts(on); }
    QString deviceName() const override { return port_.deviceName(); }

private:
    vlink::Port &port_;
    int answered_ = 0;
};

} // namespace vshell
