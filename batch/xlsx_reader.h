#pragma once

#include "batch/sheet_read.h"

#include <QByteArray>

namespace batch
{

// An Office Open XML workbook: the sheet named, or the first one when sheet is empty. Cells
// read as the sheet shows them: shared and inline strings, numbers without a spurious ".0",
// date-formatted numbers as ISO dates and times.
bool readXlsx(const QByteArray &bytes, const QString &sheet, const ReadLimits &limits,
              SheetRead &out, QString &error);

} // namespace batch
