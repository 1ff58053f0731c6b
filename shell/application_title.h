#pragma once

#include <QString>

namespace vshell
{

// The application title: the lock, the exception boxes and the window caption use it.
inline const QString ApplicationTitle = QStringLiteral("VuvaZuvevov");

} // namespace vshell
