#include "vprinter/device.h"

namespace vp
{

bool Device::logoCommand(Wire &)
{
    return false;
}

void Device::depotCommand(Wire &w)
{
    w.sb(); // command letter
}

} // namespace vp
