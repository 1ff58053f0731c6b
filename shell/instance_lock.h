#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

namespace vshell
{

// The lock that keeps the station to one process: the application title and
// "OneInstance32.Default" in the temporary folder.
QString instanceLockPath();

// Taken at once or not at all. A lock left by a process that died is taken over.
class InstanceLock
{
public:
    explicit InstanceLock(const QString &path);
    bool held() const { return lock_ && lock_->isLocked(); }
    void release();

private:
    std::unique_ptr<QLockFile> lock_;
};

} // namespace vshell
