#include "shell/station_settings.h"

#include "link/settings_file.h"

namespace vshell
{

namespace
{

const QString PortSection = QLatin1String(vlink::PortParamsSection);

QString saved(const vlink::SettingsFile &file)
{
    QString reason;
    if (file.save(&reason))
        return {};
    return QStringLiteral("The settings were not saved to %1: %2").arg(file.path(), reason);
}

} // namespace

PortSettings readPortSettings(const QString &path)
{
    const vlink::SettingsFile file(path);
    PortSettings s;
    s.com = file.value(PortSection, QStringLiteral("Com"), s.com).trimmed();
    s.speed = file.value(PortSection, QStringLiteral("Speed"), s.speed).trimmed();
    s.comInteger = vlink::rememberedPort(file);
    return s;
}

QString writeComInteger(const QString &path, int port)
{
    vlink::SettingsFile file(path);
    file.setValue(PortSection, QStringLiteral("ComInteger"), QString::number(port));
    return saved(file);
}

QString writePortParams(const QString &path, const QString &com, const QString &speed)
{
    vlink::SettingsFile file(path);
    file.setValue(PortSection, QStringLiteral("com"), com);
    file.setValue(PortSection, QStringLiteral("Speed"), speed);
    return saved(file);
}

} // namespace vshell
