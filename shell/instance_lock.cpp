#include "shell/instance_lock.h"

#include <QDir>

namespace vshell
{

QString instanceLockPath()
{
    return QDir(QDir::tempPath())
        .filePath(QStringLiteral("VuvaZuvevov") + QStringLiteral("OneInstance32.Default"));
}

InstanceLock::InstanceLock(const QString &path) : lock_(std::make_unique<QLockFile>(path))
{
    // A running station holds its lock for as long as it runs, however long that is; only a
    // lock whose process is gone counts as stale.
    lock_->setStaleLockTime(0);
    lock_->tryLock(0);
}

void InstanceLock::release()
{
    if (held())
        lock_->unlock();
}

} // namespace vshell
