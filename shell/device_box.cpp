#include "shell/device_box.h"

namespace vshell
{

int deviceBoxIndex(vlink::DeviceKind kind)
{
    switch (kind) {
    case vlink::DeviceKind::DepotOnly:
        return 1;
    case vlink::DeviceKind::PrinterViaDepot:
        return 2;
    case vlink::DeviceKind::Printer:
        return 3;
    case vlink::DeviceKind::None:
        break;
    }
    return 0;
}

} // namespace vshell
