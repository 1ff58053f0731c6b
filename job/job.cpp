#include "job/job.h"

#include <algorithm>

namespace vjob
{

const JobLogo *Job::logo(int number) const
{
    const auto it = std::find_if(logos.begin(), logos.end(),
                                 [number](const JobLogo &l) { return l.buffer.number == number; });
    return it == logos.end() ? nullptr : &*it;
}

bool Job::hasClockCells() const
{
    return std::any_of(cells.begin(), cells.end(), [](const JobCell &c) { return c.kind != 0xFF; });
}

bool Job::hasPostDate() const
{
    return std::any_of(cells.begin(), cells.end(), [](const JobCell &c) { return c.kind == 0x02; });
}

QString cellName(int row, int column)
{
    return QStringLiteral("%1,%2").arg(row).arg(column);
}

} // namespace vjob
