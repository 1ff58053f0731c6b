#pragma once

#include "link/forwarding_port.h"

#include <chrono>

// A port that passes everything through to another and adds up the time-outs of the reads that
// came back empty: what a failed command may take beyond its usual time.
class SoakPort : public vlink::ForwardingPort
{
public:
    using ForwardingPort::ForwardingPort;

    int emptyReads() const { return emptyReads_; }
    int emptyReadMs() const { return emptyReadMs_; }
    // How long the station has sent nothing: the quiet the printer has seen.
    int quietMs() const
    {
        return int(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - lastWrite_)
                       .count());
    }
    void clearCounts() { emptyReads_ = emptyReadMs_ = 0; }

    bool writeByte(quint8 byte) override { return wrote(ForwardingPort::writeByte(byte)); }
    bool writeBlock(const QByteArray &block, int &written) override
    {
        return wrote(ForwardingPort::writeBlock(block, written));
    }
    bool readByte(quint8 &byte) override
    {
        return counted(ForwardingPort::readByte(byte), FullReadMs);
    }
    bool readByteWithin(quint8 &byte, int timeoutMs) override
    {
        return counted(ForwardingPort::readByteWithin(byte, timeoutMs),
                       qMin(timeoutMs, FullReadMs));
    }

private:
    using Clock = std::chrono::steady_clock;
    static constexpr int FullReadMs = vlink::ReadTimeoutMs(1);

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

    int emptyReads_ = 0;
    int emptyReadMs_ = 0;
    Clock::time_point lastWrite_ = Clock::now();
};
