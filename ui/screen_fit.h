#pragma once

#include <QRect>

class QWidget;

namespace vui
{

// Where a window's frame goes so that all of it lies on the screen's available area: moved in
// from the edges it crosses, and no larger than the area.
QRect fittedFrame(const QRect &frame, const QRect &available);

// Keeps the window on its screen whenever it shows or changes size, e.g. when a logo dialog grows
// with its preview after it was placed. Installed once however often it is called.
void keepOnScreen(QWidget &window);

} // namespace vui
