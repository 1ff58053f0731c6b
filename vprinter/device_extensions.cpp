#include "vprinter/device.h"

namespace vp
{

bool Device::extension(Wire &)
{
    return false;
}

void Device::depotCommand(Wire &w)
{
    w.sb(); // command letter; the Depot family is not modelled yet
}

void Device::selectPrinter(Wire &w)
{
    for (int i = 0; i < 4; ++i)
        w.bare();
    w.send(0x00);
}

} // namespace vp
