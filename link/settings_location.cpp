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
    return QDir(places.home).filePath(QStringLiteral(".config/VuvaZuvevov/") + beside.fileName());
}

QString settingsLocation(const QString &besidePath)
{
    const SettingsPlaces places{
        [](const QString &folder) { return QFileInfo(folder).isWritable(); }, QDir::homePath()};
    return settingsLocation(besidePath, places);
}

} // namespace vlink
