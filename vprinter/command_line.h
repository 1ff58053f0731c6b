#pragma once

#include "vprinter/pty_frontend.h"

#include <QString>
#include <QStringList>

// vprinter's command line. A new option is one row in vprinter/command_line.cpp, its help text
// included.
namespace vp
{

enum class Parsed { Run, Help, Bad };

// arguments: the program's own, its name first. Bad comes with the problem in error.
Parsed parseCommandLine(const QStringList &arguments, FrontendOptions &options, QString &error);
// What --help shows.
QString commandLineHelp();

} // namespace vp
