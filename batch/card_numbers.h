#pragma once

#include "batch/fragment_rules.h"
#include "batch/record.h"
#include "batch/run_journal.h"

#include <QList>
#include <QString>

namespace batch
{

// A number sequence printed into one cell: first, first + step, ... count numbers in all.
struct CardNumbers {
    qint64 first = 1;
    int count = 1;
    qint64 step = 1; // negative counts down
    int digits = 0;  // fixed width with leading zeros; 0: as wide as the number
    QString prefix;
    QString suffix;
    int row = 1;
    int column = 1;
    int font = 1;
};

inline constexpr int MaxCardCount = 1000000;
inline constexpr int MaxCardDigits = 18;

// What is wrong with the settings, or nothing: a count, digit width, cell or font out of range,
// or a sequence that leaves the numbers a computer counts exactly.
QString cardNumbersError(const CardNumbers &cards, int fontCount);

// The text of the index-th number ("-007" for -7 in three digits).
QString cardText(const CardNumbers &cards, int index);

// Every record, and every text refused by the text rules or wider than the fixed digits.
QList<Record> cardRecords(const CardNumbers &cards, const vlink::CodePage &codePage,
                          QList<Refusal> &refusals);

// The same settings are the same run: the hash is that of their description.
RunKey cardRunKey(const CardNumbers &cards);

} // namespace batch
