#pragma once

#include "link/port.h"

namespace vlink
{

// A port that hands everything to another, its clock too, so that a wrapper which only watches
// the line keeps the pauses and deadlines of the port it wraps. Subclasses override what they
// watch and call the base for the rest.
class ForwardingPort : public Port
{
public:
    explicit ForwardingPort(Port &line) : line_(line) {}

    bool testCom(int index) override { return line_.testCom(index); }
    bool openCom(int index) override { return line_.openCom(index); }
    void closeCom() override { line_.closeCom(); }
    bool isOpen() const override { return line_.isOpen(); }
    bool setBaud(int speedIndex) override { return line_.setBaud(speedIndex); }
    bool writeByte(quint8 byte) override { return line_.writeByte(byte); }
    bool writeBlock(const QByteArray &block, int &written) override
    {
        return line_.writeBlock(block, written);
    }
    bool readByte(quint8 &byte) override { return line_.readByte(byte); }
    bool readByteWithin(quint8 &byte, int timeoutMs) override
    {
        return line_.readByteWithin(byte, timeoutMs);
    }
    void purge() override { line_.purge(); }
    void setRts(bool on) override { line_.setRts(on); }
    QString deviceName() const override { return line_.deviceName(); }
    Clock::time_point now() const override { return line_.now(); }
    void sleepUntil(Clock::time_point moment) override { line_.sleepUntil(moment); }

private:
    Port &line_;
};

} // namespace vlink
