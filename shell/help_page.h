#pragma once

#include <QString>
#include <functional>

namespace vshell
{

// The operator's help page: "help.html" of the working folder when there is one there; else the
// page installed with the program (share/vuvazuvevov beside its bin folder), so that a station
// started from the desktop menu still finds it. When neither exists, the working folder's name,
// for the message that names it.
QString helpPagePath(const QString &workDir, const QString &programDir,
                     const std::function<bool(const QString &file)> &exists);

} // namespace vshell
