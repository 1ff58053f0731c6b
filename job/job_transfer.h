#pragma once

#include "job/job.h"
#include "link/port.h"

#include <QString>
#include <QStringList>
#include <map>
#include <optional>

namespace vjob
{

// The logo each graphic cell places, by cell index (Job::index): no reply tells it.
using CellLogos = std::map<int, int>;
CellLogos placedLogos(const Job &job);

// The printer's mark into job: the time parameters, every cell, the script, the logos named for
// graphic cells (the others stay unknown) and the mark image as the job's picture. The failure
// text of the first command that failed.
bool readPrinterJob(vlink::Port &port, const CellLogos &logos, Job &job, QString &failure);
// The logos named for job's graphic cells, read into it: for a job read before the operator
// named them.
bool readPlacedLogos(vlink::Port &port, const CellLogos &logos, Job &job, QString &failure);

// Why the job cannot be written as it stands, before anything is sent; empty when it can.
QString unwritable(const Job &job, quint8 printerFontCount);

// The logos into their numbers, every cell row by row, the script, the print options. Stops at
// the first failed command with its text; written lists each step that went through.
bool writeJob(vlink::Port &port, const Job &job, QStringList &written, QString &failure);

// Each way the mark found differs from the one wanted; the pictures are compared dot for dot
// only where neither mark holds a cell that the clock or the count changes.
QStringList jobDifferences(const Job &wanted, const Job &found);

// The dot columns, first to last, in which the pictures differ where jobDifferences compares
// them; nothing when they agree there.
struct ColumnSpan {
    int first = 0;
    int last = 0;
};
std::optional<ColumnSpan> pictureDifference(const Job &wanted, const Job &found);

} // namespace vjob
