#pragma once

#include "link/hydro_commands.h"

#include <span>

namespace vshell
{

// Where a hydraulic action stands in the main window's "Commands" menu.
struct HydroMenuItem {
    vlink::HydroKey key;
    const char *item;    // the menu item's object name
    const char *group;   // the submenu under "Commands", or nullptr
    const char *caption; // the item's caption
};

// One item per action, in the order of the menu, which is the order of HydroKey.
std::span<const HydroMenuItem> hydroMenu();
const HydroMenuItem &hydroMenuItem(vlink::HydroKey key);

} // namespace vshell
