#pragma once

#include <QPoint>
#include <QRgb>
#include <optional>
#include <vector>

namespace vgfx
{

// The work grid of the clipboard import: a colour per dot, white for blank.
inline constexpr int ClipColumns = 10280;
inline constexpr int ClipRows = 65;
// The rendered text stands on this row, moved down by the vertical offset.
inline constexpr int ClipBaselineRow = 31;
inline constexpr int ClipDefaultOffset = 16;
inline constexpr QRgb ClipWhite = 0xFFFFFF;
inline constexpr QRgb ClipDot = 0x000000;

// A rectangle of dots, every edge inclusive.
struct DotRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
    bool operator==(const DotRect &) const = default;
};

// The rectangle between two corners dragged in any direction, cut to the grid; nothing when it
// lies wholly outside.
std::optional<DotRect> selectionWithin(QPoint from, QPoint to);

// A kept block of cells.
struct DotBlock {
    int width = 0;
    int height = 0;
    std::vector<QRgb> cells;

    QRgb at(int x, int y) const { return cells[std::size_t(y * width + x)]; }
};

// The work grid with its edits. Whatever rectangle it is handed, it reads and writes only its
// own cells.
class ClipGrid
{
public:
    ClipGrid();

    QRgb at(int column, int row) const { return cells_[index(column, row)]; }
    void set(int column, int row, QRgb colour);
    bool isDot(int column, int row) const { return at(column, row) != ClipWhite; }
    static bool inside(int column, int row)
    {
        return column >= 0 && column < ClipColumns && row >= 0 && row < ClipRows;
    }

    // Every cell white, nothing kept, nothing floating, no image.
    void clear();
    int imageWidth = 0;
    int imageHeight = 0;

    void copy(const DotRect &rect);
    void cut(const DotRect &rect);
    void clearRect(const DotRect &rect);
    // Places the kept block at the rectangle's corner as a floating block; false when nothing is
    // kept.
    bool paste(const DotRect &at);
    bool floating() const { return floating_.has_value(); }
    // Enter: the floating block stays where it is.
    void commit() { floating_.reset(); }
    // Delete: the floating block's cells become blank.
    void deleteFloating();
    // Escape: the cells under the floating block come back.
    void escape();
    // Scales the block by the percentages, nearest neighbour; the cells beyond it move out as it
    // grows, and the cells it frees turn blank as it shrinks.
    void expand(const DotRect &rect, int horizontalPercent, int verticalPercent);

    const DotBlock &kept() const { return kept_; }

private:
    static std::size_t index(int column, int row)
    {
        return std::size_t(row) * ClipColumns + std::size_t(column);
    }
    DotBlock read(const DotRect &rect) const;
    void write(int left, int top, const DotBlock &block);
    void shiftRight(const DotRect &rect, int by);
    void shiftDown(int left, int right, int below, int by);

    struct Floating {
        DotRect place;
        DotBlock under;
    };

    std::vector<QRgb> cells_;
    DotBlock kept_;
    std::optional<Floating> floating_;
};

} // namespace vgfx
