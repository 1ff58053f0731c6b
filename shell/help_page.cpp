#include "shell/help_page.h"

#include <QDir>

namespace vshell
{

QString helpPagePath(const QString &workDir, const QString &programDir,
                     const std::function<bool(const QString &file)> &exists)
{
    const QString page = QStringLiteral("help.html");
    const QString local = QDir(workDir).filePath(page);
    if (exists(local))
        return local;
    const QString installed =
        QDir::cleanPath(QDir(programDir).filePath(QStringLiteral("../share/vuvazuvevov/") + page));
    return exists(installed) ? installed : local;
}

} // namespace vshell
