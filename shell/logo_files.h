#pragma once

#include <QString>

namespace vshell
{

// The working logo files of a run: "*.logo" in the Logo folder of the working folder, deleted
// one by one when the station closes. Other files stay; errors are ignored. A file is removed by
// the name found, blanks and all: on this file system a trimmed name may be another file.
void deleteLogoFiles(const QString &workDir);

} // namespace vshell
