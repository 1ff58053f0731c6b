#include "support/clocked_port.h"

using std::chrono::duration_cast;
using std::chrono::microseconds;
using std::chrono::milliseconds;

ClockedMemoryPort::ClockedMemoryPort(vp::Device &device) : MemoryPort(device), device_(device)
{
    device_.advanceTo(0);
}

microseconds ClockedMemoryPort::byteTime() const
{
    return microseconds(10'000'000 / std::max(1, lineSpeed()));
}

void ClockedMemoryPort::pass(microseconds span)
{
    elapsed_ += std::max(microseconds(0), span);
    device_.advanceTo(duration_cast<milliseconds>(elapsed_).count());
    // A quiet line lets the device give up what the station left half sent.
    device_.idle(int(duration_cast<milliseconds>(elapsed_ - lastByte_).count()));
}

void ClockedMemoryPort::sleepUntil(Clock::time_point moment)
{
    pass(duration_cast<microseconds>(moment - now()));
}

bool ClockedMemoryPort::writeByte(quint8 byte)
{
    pass(byteTime());
    lastByte_ = elapsed_;
    return MemoryPort::writeByte(byte);
}

bool ClockedMemoryPort::readByte(quint8 &byte)
{
    // An echo or a reply byte takes its time on the way back.
    pass(byteTime());
    return MemoryPort::readByte(byte);
}
