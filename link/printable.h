#pragma once

#include <QString>

namespace vlink
{

// Text that came from a device or a file, fit for a terminal or a status line: every control
// character (C0, DEL, C1) is written as \xHH, so nothing in it can drive the screen.
QString EscapeControls(const QString &text);

} // namespace vlink
