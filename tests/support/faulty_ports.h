#pragma once

#include "support/memory_port.h"

// Writes from the given index on (counted from 0) claim success but never reach the device, as
// when the station closes the line right after its last byte.
class LossyWritePort : public MemoryPort
{
public:
    LossyWritePort(vp::Device &device, int from) : MemoryPort(device), from_(from)
    {
        expectProtocolErrors(-1);
    }
    bool writeByte(quint8 byte) override
    {
        return writes_++ >= from_ && from_ >= 0 ? true : MemoryPort::writeByte(byte);
    }
    void deliverAgain() { from_ = -1; }

private:
    int from_;
    int writes_ = 0;
};

// Reads from..from+count-1 (counted from 0, echoes included) find nothing, as if the device
// answered late.
class LatePort : public MemoryPort
{
public:
    LatePort(vp::Device &device, int from, int count)
        : MemoryPort(device), from_(from), count_(count)
    {
        expectProtocolErrors(-1);
    }
    bool readByte(quint8 &byte) override
    {
        const int n = reads_++;
        if (n >= from_ && n < from_ + count_) {
            byte = 0;
            return false;
        }
        return MemoryPort::readByte(byte);
    }

private:
    int from_;
    int count_;
    int reads_ = 0;
};
