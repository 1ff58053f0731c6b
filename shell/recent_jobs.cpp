#include "shell/recent_jobs.h"

#include "link/settings_file.h"

#include <QFileInfo>

namespace vshell
{

namespace
{

const QString RecentSection = QStringLiteral("RecentJobs");

QString key(int i)
{
    return QStringLiteral("Job%1").arg(i + 1);
}

} // namespace

QStringList RecentJobs::paths() const
{
    const vlink::SettingsFile file(settingsPath_);
    QStringList out;
    for (int i = 0; i < Max; ++i)
        if (const QString path = file.value(RecentSection, key(i)); !path.isEmpty())
            out << path;
    return out;
}

bool RecentJobs::add(const QString &path, QString &reason) const
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList list = paths();
    list.removeAll(absolute);
    list.prepend(absolute);
    vlink::SettingsFile file(settingsPath_);
    for (int i = 0; i < Max; ++i)
        file.setValue(RecentSection, key(i), i < list.size() ? list[i] : QString());
    return file.save(&reason);
}

} // namespace vshell
