#include "link/settings_location.h"

#include <QDir>
#include <QFileInfo>

namespace vlink
{

QString settingsLocation(const QString &besidePath, const SettingsPlaces &places)
{
    const QFileInfo beside(besidePath);
    if (places.writable(beside.absolutePath()))
        return besidePath;
    const QString config = QDir::isAbsolutePath(places.configHome)
                               ? places.configHome
                               : QDir(places.home).filePath(QStringLiteral(".config"));
    return QDir(config).filePath(QStringLiteral("VuvaZuvevov/") + beside.fileName());
}

QString settingsLocation(const QString &besidePath)
{
    const SettingsPlaces places{
        [](const QString &folder) { return QFileInfo(folder).isWritable(); }, QDir::homePath(),
        qEnvironmentVariable("XDG_CONFIG_HOME")};
    return settingsLocation(besidePath, places);
}

} // namespace vlink
