#pragma once

#include "link/com_io.h"
#include "shell/main_controls.h"

class QMainWindow;

namespace vshell
{

// The menu bar with every item, caption, shortcut and start state, and the actions that have no
// menu item. devices names the file behind each "Com" item in its status tip.
void buildMenus(QMainWindow &window, MainControls &c, const vlink::DeviceMap &devices);

} // namespace vshell
