#pragma once

#include "vprinter/special_counter.h"

#include <QByteArray>
#include <QtGlobal>
#include <array>

namespace vp
{

// One cell of the mark as the printer keeps it.
struct MarkFragment {
    static constexpr quint8 TimeDate = 0x00;
    static constexpr quint8 PostDate = 0x02;
    static constexpr quint8 CounterDown = 0x05;
    static constexpr quint8 CounterUp = 0x06;
    static constexpr quint8 SpecFunc = 0x07;
    static constexpr quint8 TextOrGraphic = 0xFF;

    QByteArray text;   // the text, or the format of a counter, time or post date
    quint8 number = 0; // the font; a graphic carries the font count here
    quint8 kind = TextOrGraphic;
    quint8 logo = 0; // the logo a graphic fragment shows

    bool operator==(const MarkFragment &) const = default;
};

// The printer's mark: fragments, stored marks, the special-function script.
struct MarkState {
    static constexpr int Rows = 4;
    static constexpr int Columns = 8;
    static constexpr int StoredCount = 64;
    // The printer keeps no longer fragment texts than the station sends.
    static constexpr int TextMax = 38;

    using Grid = std::array<std::array<MarkFragment, Columns>, Rows>;

    Grid cells{};
    std::array<Grid, StoredCount> stored{};
    int currentStored = -1; // the stored mark last made current with "M"
    // The special-function script as the station wrote it: "Q..N..E..S..P.." and "G.".
    QByteArray script;
    SpecialRun specialRun;

    // Row 1..4, column 1..8; nullptr outside the mark.
    MarkFragment *cell(int row, int column)
    {
        if (row < 1 || row > Rows || column < 1 || column > Columns)
            return nullptr;
        return &cells[row - 1][column - 1];
    }
    const MarkFragment *cell(int row, int column) const
    {
        return const_cast<MarkState *>(this)->cell(row, column);
    }
};

} // namespace vp
