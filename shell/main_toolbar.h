#pragma once

#include "shell/main_controls.h"

class QMainWindow;

namespace vshell
{

// The tool bar, left to right, with the hints the status bar shows; then the hidden buttons.
void buildToolBar(QMainWindow &window, MainControls &c);

} // namespace vshell
