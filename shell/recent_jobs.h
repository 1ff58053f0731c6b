#pragma once

#include <QString>
#include <QStringList>

namespace vshell
{

// The job files opened or saved last, newest first, kept in the station's settings file so that
// they outlive the run.
class RecentJobs
{
public:
    static constexpr int Max = 8;

    explicit RecentJobs(QString settingsPath) : settingsPath_(std::move(settingsPath)) {}

    QStringList paths() const;
    // path moves to the front; the oldest beyond Max is dropped. False with the reason when the
    // settings file cannot be written.
    bool add(const QString &path, QString &reason) const;

private:
    QString settingsPath_;
};

} // namespace vshell
