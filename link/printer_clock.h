#pragma once

#include "link/command_table.h"
#include "link/machine_commands.h"
#include "link/port.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>

namespace vlink
{

// Where the time parameters keep the clock and the post-date day count (indices from 0).
enum class TimeParam : int {
    DaysLow = 1,
    DaysHigh = 2,
    Seconds = 3,
    Minutes = 4,
    Hours = 5,
    Day = 7,
    Month = 8,
    Year = 9, // two digits
    FontCount = 13,
};

inline quint8 timeParam(const TimeParams &params, TimeParam which)
{
    return params[std::size_t(which)];
}

// A packed BCD byte: tens in the high nibble, units in the low one.
int fromBcd(quint8 byte);
// The clock value as the clock fields show it: two decimal digits.
QString twoDigits(int value);
// The post-date day count the printer keeps.
int postDateDays(const TimeParams &params);
// The printer's clock as "YYYY-MM-DD HH:MM:SS", the year in this century.
QString clockText(const TimeParams &params);

// The clock texts the printer takes: "hhmmss" and "ddmmyy".
QByteArray timeText(const QTime &time);
QByteArray dateText(const QDate &date);

// Sets the printer's clock to moment: the time first, the date only after it. Nothing when
// both were taken, else the command that failed.
std::optional<PrinterCommand> ClockSetFrom(Port &port, const QDateTime &moment);

} // namespace vlink
