#pragma once

#include "link/port.h"

#include <chrono>

// A port that passes everything through to another and adds up the time-outs of the reads that
// came back empty: what a failed command may take beyond its usual time.
class SoakPort : public vlink::Port
{
public:
    explicit SoakPort(vlink::Port &line) : line_(line) {}

    int emptyReads() const { return emptyReads_; }
    int emptyReadMs() const { return emptyReadMs_; }
    // How long the station has sent nothing: the quiet the printer has seen.
    int quietMs() const
    {
        return int(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - lastWrite_)
                       .count());
    }
    void clearCounts() { emptyReads_ = emptyReadMs_ = 0; }

    bool testCom(int index) override { return line_.testCom(index); }
    bool openCom(int index) override { return line_.openCom(index); }
    void closeCom() override { line_.closeCom(); }
    bool isOpen() const override { return line_.isOpen(); }
    bool setBaud(int speedIndex) override { return line_.setBaud(speedIndex); }
    bool writeByte(quint8 byte) override { return wrote(line_.writeByte(byte)); }
    bool writeBlock(const QByteArray &block, int &written) override
    {
        return wrote(line_.writeBlock(block, written));
    }
    bool readByte(quint8 &byte) override { return counted(line_.readByte(byte), FullReadMs); }
    bool readByteWithin(quint8 &byte, int timeoutMs) override
    {
        return counted(line_.readByteWithin(byte, timeoutMs), qMin(timeoutMs, FullReadMs));
    }
    void purge() override { line_.purge(); }
    void setRts(bool on) override { line_.setRts(on); }
    QString deviceName() const override { return line_.deviceName(); }

private:
    using Clock = std::chrono::steady_clock;
    static constexpr int FullReadMs = vlink::ReadTotalConstantMs + vlink::ReadTotalPerByteMs;

    bool wrote(bool ok)
    {
        lastWrite_ = Clock::now();
        return ok;
    }

    bool counted(bool ok, int timeoutMs)
    {
        if (!ok) {
            ++emptyReads_;
            emptyReadMs_ += qMax(timeoutMs, 0);
        }
        return ok;
    }

    vlink::Port &line_;
    int emptyReads_ = 0;
    int emptyReadMs_ = 0;
    Clock::time_point lastWrite_ = Clock::now();
};
