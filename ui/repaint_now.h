#pragma once

namespace vui
{

// Repaints during a long exchange; the operator's input waits, so a click cannot reach a window
// that is still busy, nor close a menu that is opening.
void repaintNow();

} // namespace vui
