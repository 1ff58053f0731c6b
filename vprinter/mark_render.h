#pragma once

#include "vprinter/logo_state.h"
#include "vprinter/mark_state.h"
#include "vprinter/state.h"

#include <QByteArray>
#include <QDateTime>
#include <vector>

namespace vp
{

// The current mark as the printer would print it: columns of up to 32 dots, bit 0 the lowest.
//
// Layout: each row of the mark is its cells side by side, left to right, CellGap blank columns
// apart, each cell standing on the row's bottom; empty cells take no room. The rows stack from
// row 1 at the top, RowGap blank dots apart, the last one at the bottom of the image. What rises
// above 32 dots is cut off at the bottom (row 1 always prints), and what is wider than the image
// store holds at the right.
struct MarkDots {
    static constexpr int MaxHeight = 32;
    static constexpr int CellGap = 2;
    static constexpr int RowGap = 1;
    // The image bytes a reply carries, image and filler together.
    static constexpr int TransferBytes = 5120;

    int height = 0; // dots in use
    std::vector<quint32> columns;

    int bands() const { return (height + 7) / 8; }
    bool isClear() const { return columns.empty(); }
};

// A text-or-graphic fragment is a graphic when its font is one past the printer's fonts.
bool IsGraphic(const MarkFragment &f, const PrinterState &printer);

// Texts, counters and special functions print their text in the fragment's font; time and date
// fragments their format at the printer's clock, post dates at the clock plus the day count;
// graphics the logo stored under their number (a free logo prints nothing).
MarkDots renderMark(const MarkState &mark, const PrinterState &printer, const LogoState &logos);

// A time and date format at a moment: DD day, MM month, YY and YYYY the year, HH hours,
// XX minutes, SS seconds, WW the week of the year, UUU the day of the year, each with leading
// zeros; every other character prints as it is.
QByteArray formatMoment(const QByteArray &format, const QDateTime &at);

// What the mark image read answers: bands, width low, width high (the high byte counts 255
// columns), then the image inverted, column by column from band 0, and 0xFF filler up to
// TransferBytes. A clear mark answers the three zero header bytes alone.
QByteArray markImageReply(const MarkDots &dots);

} // namespace vp
