#include "vprinter/device.h"

namespace vp
{

namespace
{

// splitmix64: a well-mixed 64-bit value from any input, so neighbouring bytes are independent.
quint64 mix(quint64 x)
{
    x += 0x9E3779B97F4A7C15ULL;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}

} // namespace

EchoFault RandomEchoFault(const Faults &faults, qint64 index)
{
    if (faults.dropEchoRate <= 0 && faults.wrongEchoRate <= 0)
        return EchoFault::None;
    const double u = double(mix(mix(faults.echoSeed) ^ quint64(index)) >> 11) * 0x1.0p-53;
    if (u < faults.dropEchoRate)
        return EchoFault::Drop;
    if (u < faults.dropEchoRate + faults.wrongEchoRate)
        return EchoFault::Wrong;
    return EchoFault::None;
}

int Device::randomEcho(qint64 index, quint8 byte) const
{
    const EchoFault fault = RandomEchoFault(faults_, index);
    if (fault == EchoFault::None)
        return byte;
    if (index > echoFaults_.lastAt.load()) {
        echoFaults_.lastAt.store(index);
        ++echoFaults_.count;
    }
    return fault == EchoFault::Drop ? -1 : quint8(byte ^ 0x5A);
}

} // namespace vp
