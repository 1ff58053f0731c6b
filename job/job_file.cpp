#include "job/job_file.h"

#include <QFile>
#include <QSaveFile>

namespace vjob
{

bool writeJobFile(const QString &path, const Job &job, QString &problem)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(jobToJson(job)) < 0 || !file.commit()) {
        problem = QStringLiteral("Job file %1 not written: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

std::optional<Job> readJobFile(const QString &path, QString &problem)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        problem = QStringLiteral("Job file %1 not read: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    // One byte past the bound tells an oversized file without reading all of it.
    const QByteArray bytes = file.read(JobFileMax + 1);
    std::optional<Job> job = jobFromJson(bytes, problem);
    if (!job)
        problem = QStringLiteral("Job file %1 refused: %2").arg(path, problem);
    return job;
}

} // namespace vjob
