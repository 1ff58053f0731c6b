#include "link/discovery.h"
#include "link/exchange.h"

namespace vlink
{

namespace
{

// Highest first: a printer set to the fastest speed answers the first probe.
constexpr int ProbedSpeeds[] = {6, 5, 4, 3};
constexpr quint8 SpeedProbe = 0x0D;

} // namespace

bool DetectSpeed(Port &port, QString &speedText)
{
    for (int index : ProbedSpeeds) {
        if (port.setBaud(index) && SendByte(port, SpeedProbe)) {
            speedText = QString::number(SpeedTable[index]);
            return true;
        }
    }
    return false;
}

} // namespace vlink
