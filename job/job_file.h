#pragma once

#include "job/job.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace vjob
{

// The job file: one JSON document, logos and the picture inside it as dot rows (job/dot_rows.h).
inline constexpr char JobFormatName[] = "vuva-job";
inline constexpr int JobFormatVersion = 1;
// No job comes near this: 256 full logos and the widest picture fit several times.
inline constexpr qint64 JobFileMax = 8 * 1024 * 1024;

// The kind byte by its name in the file; a kind 0xFF cell is "text" or "graphic" by its number.
QString kindName(const Job &job, const JobCell &cell);

QByteArray jobToJson(const Job &job);
// The job, or nothing with the reason: the whole file is checked before anything may use it.
std::optional<Job> jobFromJson(const QByteArray &bytes, QString &problem);

bool writeJobFile(const QString &path, const Job &job, QString &problem);
std::optional<Job> readJobFile(const QString &path, QString &problem);

} // namespace vjob
