#include "vprinter/device.h"

namespace vp
{

bool Device::markCommand(Wire &)
{
    return false;
}

} // namespace vp
