#include "vprinter/mark_render.h"

#include "vprinter/dot_font.h"

#include <algorithm>

namespace vp
{

namespace
{

// One cell or row while it is laid out: columns of dots, bit 0 the lowest.
struct Block {
    int height = 0;
    std::vector<quint32> columns;

    bool isEmpty() const { return columns.empty(); }
};

quint32 glyphColumn(quint8 design, const DotFont &font)
{
    quint32 column = 0;
    for (int r = 0; r < DotFont::GlyphRows; ++r) {
        if (!(design & (1u << r)))
            continue;
        const int bottom = (DotFont::GlyphRows - 1 - r) * font.tall;
        for (int t = 0; t < font.tall; ++t)
            column |= 1u << (bottom + t);
    }
    return column;
}

Block textBlock(const QByteArray &text, int fontNumber)
{
    const DotFont font = DotFont::ofNumber(fontNumber);
    Block block{font.height(), {}};
    for (char c : text) {
        for (quint8 design : DotFont::glyph(quint8(c)))
            block.columns.insert(block.columns.end(), std::size_t(font.wide),
                                 glyphColumn(design, font));
        block.columns.insert(block.columns.end(), std::size_t(font.wide), 0u);
    }
    if (!block.columns.empty())
        block.columns.resize(block.columns.size() - std::size_t(font.wide));
    return block;
}

// The logo's dots as they were written: H bands per column, inverted on the wire, bit 0 lowest.
Block logoBlock(const QByteArray &stored)
{
    if (stored.size() < LogoState::RecordSize)
        return {};
    const int bands = std::clamp(int(quint8(stored[0])), 0, 4);
    const int width = bands ? std::min(int(quint8(stored[1])), 500 / bands) : 0;
    Block block{bands * 8, {}};
    for (int c = 0; c < width; ++c) {
        quint32 column = 0;
        for (int k = 0; k < bands; ++k)
            column |= quint32(quint8(0xFF - quint8(stored[2 + c * bands + k]))) << (8 * k);
        block.columns.push_back(column);
    }
    return block;
}

Block cellBlock(const MarkFragment &f, const PrinterState &printer, const LogoState &logos)
{
    if (IsGraphic(f, printer))
        return logoBlock(logos.printer[f.logo]);
    switch (f.kind) {
    case MarkFragment::TimeDate:
        return textBlock(formatMoment(f.text, printer.now()), f.number);
    case MarkFragment::PostDate:
        return textBlock(formatMoment(f.text, printer.now().addDays(printer.postDateDays)),
                         f.number);
    default:
        return textBlock(f.text, f.number);
    }
}

Block rowBlock(const MarkState::Grid::value_type &row, const PrinterState &printer,
               const LogoState &logos)
{
    Block out;
    for (const MarkFragment &f : row) {
        const Block cell = cellBlock(f, printer, logos);
        if (cell.isEmpty())
            continue;
        if (!out.isEmpty())
            out.columns.insert(out.columns.end(), MarkDots::CellGap, 0u);
        out.columns.insert(out.columns.end(), cell.columns.begin(), cell.columns.end());
        out.height = std::max(out.height, cell.height);
    }
    return out;
}

// Puts the row's dots into the image with the row's bottom at dot `base`; dots below the
// image's bottom are cut off.
void place(std::vector<quint32> &image, const Block &row, int base)
{
    image.resize(std::max(image.size(), row.columns.size()), 0u);
    for (std::size_t c = 0; c < row.columns.size(); ++c)
        image[c] |= base >= 0 ? row.columns[c] << base : row.columns[c] >> -base;
}

QByteArray padded(int value, int digits)
{
    return QByteArray::number(value).rightJustified(digits, '0');
}

} // namespace

bool IsGraphic(const MarkFragment &f, const PrinterState &printer)
{
    return f.kind == MarkFragment::TextOrGraphic && f.number == printer.fontCount;
}

MarkDots renderMark(const MarkState &mark, const PrinterState &printer, const LogoState &logos)
{
    std::vector<Block> rows;
    int height = -MarkDots::RowGap;
    for (const auto &cells : mark.cells) {
        Block row = rowBlock(cells, printer, logos);
        if (row.isEmpty())
            continue;
        height += MarkDots::RowGap + row.height;
        rows.push_back(std::move(row));
    }
    MarkDots dots;
    if (rows.empty())
        return dots;
    dots.height = std::min(height, MarkDots::MaxHeight);
    int top = 0; // dots between the image's top and the row's
    for (const Block &row : rows) {
        const int base = dots.height - top - row.height;
        if (base + row.height > 0)
            place(dots.columns, row, base);
        top += row.height + MarkDots::RowGap;
    }
    const std::size_t fit = std::size_t(MarkDots::TransferBytes / dots.bands());
    dots.columns.resize(std::min(dots.columns.size(), fit));
    return dots;
}

QByteArray formatMoment(const QByteArray &format, const QDateTime &at)
{
    const QDate d = at.date();
    const QTime t = at.time();
    const std::pair<QByteArray, QByteArray> fields[] = {
        {"YYYY", padded(d.year(), 4)},     {"UUU", padded(d.dayOfYear(), 3)},
        {"YY", padded(d.year() % 100, 2)}, {"DD", padded(d.day(), 2)},
        {"MM", padded(d.month(), 2)},      {"HH", padded(t.hour(), 2)},
        {"XX", padded(t.minute(), 2)},     {"SS", padded(t.second(), 2)},
        {"WW", padded(d.weekNumber(), 2)},
    };
    QByteArray out;
    for (qsizetype i = 0; i < format.size();) {
        const auto field = std::find_if(std::begin(fields), std::end(fields), [&](const auto &f) {
            return format.mid(i, f.first.size()) == f.first;
        });
        if (field == std::end(fields)) {
            out.append(format[i++]);
            continue;
        }
        out.append(field->second);
        i += field->first.size();
    }
    return out;
}

QByteArray markImageReply(const MarkDots &dots)
{
    const int width = int(dots.columns.size());
    const int bands = dots.bands();
    QByteArray reply;
    reply.append(char(bands));
    reply.append(char(width % 255));
    reply.append(char(width / 255));
    if (dots.isClear())
        return reply;
    for (quint32 column : dots.columns)
        for (int k = 0; k < bands; ++k)
            reply.append(char(0xFF - quint8(column >> (8 * k))));
    reply.append(QByteArray(MarkDots::TransferBytes - width * bands, char(0xFF)));
    return reply;
}

} // namespace vp
