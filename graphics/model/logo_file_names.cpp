#include "graphics/model/logo_file_names.h"

#include <QDir>
#include <QFileInfo>

namespace vgfx
{

namespace
{

bool fitsFileName(const QString &name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    static const QString refused = QStringLiteral("/\\<>:\"|?*");
    for (QChar c : name)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || refused.contains(c))
            return false;
    return true;
}

} // namespace

QString logoFileBase(const QString &name, int number)
{
    const QString trimmed = name.trimmed();
    return fitsFileName(trimmed) ? trimmed : QStringLiteral("logo%1").arg(number);
}

QString freeBmpPath(const QString &folder, const QString &base)
{
    const QDir dir(folder);
    QString path = dir.filePath(base + QStringLiteral(".bmp"));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.filePath(QStringLiteral("%1 (%2).bmp").arg(base).arg(n));
    return path;
}

} // namespace vgfx
