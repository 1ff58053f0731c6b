#pragma once

#include "batch/sheet_read.h"

#include <QByteArray>

namespace batch
{

// An OpenDocument spreadsheet: the sheet named, or the first one when sheet is empty. Numbers
// and dates read as in a workbook of the other kind, so both give the same records; repeated
// empty rows and cells (a sheet ends in a million of them) take no room.
bool readOds(const QByteArray &bytes, const QString &sheet, const ReadLimits &limits,
             SheetRead &out, QString &error);

} // namespace batch
