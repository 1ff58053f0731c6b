#pragma once

#include "link/logo_buffer.h"
#include "link/mark_image.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <array>
#include <optional>
#include <vector>

namespace vjob
{

inline constexpr int Rows = 4;
inline constexpr int Columns = 8;
inline constexpr int CellCount = Rows * Columns;
// What the editors let into a cell; a job holding more could not be written back as it is.
inline constexpr int TextMax = 37;

// One cell as the printer reports it, and for a graphic the logo it places, which no reply tells:
// the operator names it when the job is saved, else it stays unknown.
struct JobCell {
    QByteArray text; // the text, or the format of a counter, time or post date
    quint8 number = 0;
    quint8 kind = 0xFF;
    std::optional<int> logo;
    QJsonObject extra; // fields of a newer station, kept as they came

    bool operator==(const JobCell &other) const
    {
        return text == other.text && number == other.number && kind == other.kind;
    }
};

// The mark configuration byte's print options.
enum MarkOption : quint8 {
    MirrorHorizontal = 0x01,
    BreakPointCorrection = 0x02,
    MirrorVertical = 0x04,
};
inline constexpr quint8 MarkOptionBits = 0x07;

struct JobLogo {
    vlink::LogoBuffer buffer; // in device dot order, as read
    QJsonObject extra;
};

// Everything needed to recreate the printer's mark, and the picture it must print.
struct Job {
    std::array<JobCell, CellCount> cells{};
    QByteArray script;
    quint8 fontCount = 0;
    quint8 markOptions = 0;
    quint16 postDateDays = 0;
    std::vector<JobLogo> logos;
    std::optional<vlink::MarkImage> picture;
    QJsonObject extra;

    static int index(int row, int column) { return (row - 1) * Columns + (column - 1); }
    JobCell &cell(int row, int column) { return cells[std::size_t(index(row, column))]; }
    const JobCell &cell(int row, int column) const
    {
        return cells[std::size_t(index(row, column))];
    }
    bool isGraphic(const JobCell &c) const { return c.kind == 0xFF && c.number == fontCount; }
    const JobLogo *logo(int number) const;
    // Whether a cell prints what the clock or the count makes of it: time, date, post date,
    // counter, special function.
    bool hasClockCells() const;
    bool hasPostDate() const;
};

// "1,3" for row 1, column 3.
QString cellName(int row, int column);

} // namespace vjob
