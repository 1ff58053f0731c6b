#pragma once

#include "batch/run_journal.h"

#include <QByteArray>
#include <QList>

namespace batch
{

// Where a run goes on: the first record neither printed nor skipped, or recordCount when none
// is left.
int resumePoint(const QList<JournalEntry> &entries, int recordCount);

// Records whose texts went to the printer but whose print was never seen: the operator decides
// for each whether it is printed again or skipped.
QList<int> uncertainRecords(const QList<JournalEntry> &entries);

// The journal as a CSV file (UTF-8 with its mark, for spreadsheet programs): record counted
// from 1, the texts one per line of the field, the state and the UTC time.
QByteArray journalCsv(const QList<JournalEntry> &entries);

} // namespace batch
