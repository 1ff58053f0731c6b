#pragma once

#include "batch/record.h"
#include "link/codepage.h"

#include <QList>
#include <QString>

namespace batch
{

// The longest text a mark cell takes; the printer would cut anything beyond silently.
inline constexpr int MaxFragmentLength = 37;
inline constexpr int MaxRows = 4;
inline constexpr int MaxColumns = 8;

// Why a text cannot go into a cell as it is, or nothing when it can: too long, a character the
// code page cannot hold, or a control character that would end the write command early.
QString fragmentRefusal(const QString &text, const vlink::CodePage &codePage);

// One value refused before the run, named so the operator finds it in the data.
struct Refusal {
    int record = 0; // 0-based, as Record::index
    int row = 1;
    int column = 1;
    QString reason;
    friend bool operator==(const Refusal &, const Refusal &) = default;
};

// "Record 3, cell 1,2: ..." with the record counted from 1 as the operator does.
QString refusalText(const Refusal &refusal);

// Every cell of the record against the rules.
QList<Refusal> checkRecord(const Record &record, const vlink::CodePage &codePage);

} // namespace batch
