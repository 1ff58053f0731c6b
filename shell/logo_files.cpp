#include "shell/logo_files.h"

#include <QDir>
#include <QFile>

namespace vshell
{

void deleteLogoFiles(const QString &workDir)
{
    QDir logo(workDir);
    if (!logo.cd(QStringLiteral("Logo")))
        return;
    // Name filters match without regard to case, as the system's file search did.
    const QStringList names =
        logo.entryList({QStringLiteral("*.logo")}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names)
        QFile::remove(logo.filePath(name));
}

} // namespace vshell
