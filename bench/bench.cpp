#include "bench/bench.h"

namespace bench
{

std::unique_ptr<vlink::ComIo> openLine(const QString &device, int speedIndex)
{
    if (device.isEmpty())
        return nullptr;
    vlink::DeviceMap map = vlink::defaultDeviceMap();
    map[0] = device;
    auto line = std::make_unique<vlink::ComIo>(map);
    line->openCom(0);
    if (!line->setBaud(speedIndex))
        return nullptr;
    return line;
}

} // namespace bench
