#include "fuzzing/fuzz_port.h"

#include <algorithm>

bool FuzzPort::writeByte(quint8)
{
    ++written_;
    return true;
}

bool FuzzPort::writeBlock(const QByteArray &block, int &written)
{
    written = int(block.size());
    written_ += std::size_t(block.size());
    return true;
}

bool FuzzPort::take(quint8 &byte, int timeoutMs)
{
    byte = 0;
    if (next_ >= size_) {
        now_ += std::chrono::milliseconds(std::max(timeoutMs, 1));
        return false;
    }
    byte = data_[next_++];
    return true;
}

bool FuzzPort::readByte(quint8 &byte)
{
    return take(byte, vlink::ReadTimeoutMs(1));
}

bool FuzzPort::readByteWithin(quint8 &byte, int timeoutMs)
{
    return take(byte, std::min(timeoutMs, vlink::ReadTimeoutMs(1)));
}

void FuzzPort::sleepUntil(Clock::time_point moment)
{
    now_ = std::max(now_, moment);
}
