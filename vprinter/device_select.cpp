#include "vprinter/device.h"

namespace vp
{

void Device::selectPrinter(Wire &w)
{
    for (int i = 0; i < 4; ++i)
        w.bare();
    w.send(0x00);
}

} // namespace vp
