#include "app/vuvactl_commands.h"
#include "link/settings_file.h"
#include "link/settings_location.h"

#include <QCoreApplication>
#include <QDir>
#include <algorithm>

namespace vuvactl
{

namespace
{

// Only the port keys: a script maps a device to a COM number, nothing else of the station's.
bool isPortKey(const QString &key)
{
    static const QStringList keys = {"Device1", "Device2", "Device3",   "Device4",
                                     "Device5", "Device6", "ComInteger"};
    return keys.contains(key, Qt::CaseInsensitive);
}

// Sets a key of section "PortParams" in the station's settings file beside this program, keeping
// every other line as it was.
Action settingsSet(const QStringList &args, QString &problem)
{
    problem = argCountProblem(args, 2);
    if (!problem.isEmpty())
        return {};
    const QString key = args.at(0);
    const QString value = args.at(1);
    if (!isPortKey(key)) {
        problem =
            QStringLiteral("%1 is not a port setting (Device1..Device6, ComInteger)").arg(key);
        return {};
    }
    if (std::any_of(value.begin(), value.end(), [](QChar c) { return c.unicode() < 0x20; })) {
        problem = QStringLiteral("the value holds a control character");
        return {};
    }
    return [key, value](Context &ctx) {
        vlink::SettingsFile settings(
            vlink::settingsLocation(QDir(QCoreApplication::applicationDirPath())
                                        .filePath(QStringLiteral("vuvazuvevov.dev"))));
        settings.setValue(QLatin1String(vlink::PortParamsSection), key, value);
        if (!settings.save())
            return failed(QStringLiteral("%1 could not be written").arg(settings.path()));
        ctx.out << settings.path() << '\n';
        return succeeded();
    };
}

} // namespace

Commands settingsCommands()
{
    Command set{"settings-set", "KEY VALUE",
                "sets a port key (Device1..Device6, ComInteger) in the station's settings file",
                settingsSet};
    set.offline = true;
    return {set};
}

} // namespace vuvactl
