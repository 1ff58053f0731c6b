#pragma once

#include "link/discovery.h"

#include <array>

namespace vshell
{

// The main window's device box: what discovery found on the line, one row per kind.
inline constexpr std::array<const char *, 4> DeviceBoxTexts = {"", "Depot only",
                                                               "Printer via Depot", "Printer"};

// The box's row for the kind.
int deviceBoxIndex(vlink::DeviceKind kind);

} // namespace vshell
