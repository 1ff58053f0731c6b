#pragma once

#include "link/forwarding_port.h"

namespace vshell
{

// A port that passes everything through and counts the bytes that came back, so a retry loop
// can tell a dead line from a device that answers wrongly.
class AnswerWatch : public vlink::ForwardingPort
{
public:
    using ForwardingPort::ForwardingPort;

    int answered() const { return answered_; }
    void reset() { answered_ = 0; }

    bool readByte(quint8 &byte) override { return counted(ForwardingPort::readByte(byte)); }
    bool readByteWithin(quint8 &byte, int timeoutMs) override
    {
        return counted(ForwardingPort::readByteWithin(byte, timeoutMs));
    }

private:
    bool counted(bool ok)
    {
        answered_ += ok ? 1 : 0;
        return ok;
    }

    int answered_ = 0;
};

} // namespace vshell
