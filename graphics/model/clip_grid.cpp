#include "graphics/model/clip_grid.h"

#include <algorithm>
#include <cmath>

namespace vgfx
{

std::optional<DotRect> selectionWithin(QPoint from, QPoint to)
{
    DotRect rect{std::min(from.x(), to.x()), std::min(from.y(), to.y()), std::max(from.x(), to.x()),
                 std::max(from.y(), to.y())};
    if (rect.right < 0 || rect.bottom < 0 || rect.left >= ClipColumns || rect.top >= ClipRows)
        return std::nullopt;
    rect.left = std::max(rect.left, 0);
    rect.top = std::max(rect.top, 0);
    rect.right = std::min(rect.right, ClipColumns - 1);
    rect.bottom = std::min(rect.bottom, ClipRows - 1);
    return rect;
}

ClipGrid::ClipGrid() : cells_(std::size_t(ClipColumns) * ClipRows, ClipWhite) {}

void ClipGrid::set(int column, int row, QRgb colour)
{
    if (inside(column, row))
        cells_[index(column, row)] = colour & ClipWhite;
}

void ClipGrid::clear()
{
    std::fill(cells_.begin(), cells_.end(), ClipWhite);
    kept_ = {};
    floating_.reset();
    imageWidth = 0;
    imageHeight = 0;
}

DotBlock ClipGrid::read(const DotRect &rect) const
{
    DotBlock block{rect.width(), rect.height(), {}};
    block.cells.reserve(std::size_t(block.width) * std::size_t(block.height));
    for (int y = rect.top; y <= rect.bottom; ++y)
        for (int x = rect.left; x <= rect.right; ++x)
            block.cells.push_back(inside(x, y) ? at(x, y) : ClipWhite);
    return block;
}

void ClipGrid::write(int left, int top, const DotBlock &block)
{
    for (int y = 0; y < block.height; ++y)
        for (int x = 0; x < block.width; ++x)
            set(left + x, top + y, block.at(x, y));
}

void ClipGrid::copy(const DotRect &rect)
{
    kept_ = read(rect);
}

void ClipGrid::cut(const DotRect &rect)
{
    copy(rect);
    clearRect(rect);
}

void ClipGrid::clearRect(const DotRect &rect)
{
    for (int y = rect.top; y <= rect.bottom; ++y)
        for (int x = rect.left; x <= rect.right; ++x)
            set(x, y, ClipWhite);
}

bool ClipGrid::paste(const DotRect &at)
{
    if (kept_.cells.empty())
        return false;
    if (floating_)
        commit();
    const DotRect place{at.left, at.top, at.left + kept_.width - 1, at.top + kept_.height - 1};
    floating_ = Floating{place, read(place)};
    write(place.left, place.top, kept_);
    return true;
}

void ClipGrid::deleteFloating()
{
    if (!floating_)
        return;
    clearRect(floating_->place);
    floating_.reset();
}

void ClipGrid::escape()
{
    if (!floating_)
        return;
    write(floating_->place.left, floating_->place.top, floating_->under);
    floating_.reset();
}

void ClipGrid::shiftRight(const DotRect &rect, int by)
{
    for (int y = rect.top; y <= rect.bottom; ++y)
        for (int x = ClipColumns - 1; x - by > rect.right; --x)
            cells_[index(x, y)] = cells_[index(x - by, y)];
}

void ClipGrid::shiftDown(int left, int right, int below, int by)
{
    for (int x = left; x <= std::min(right, ClipColumns - 1); ++x)
        for (int y = ClipRows - 1; y - by > below; --y)
            cells_[index(x, y)] = cells_[index(x, y - by)];
}

namespace
{

// Nothing beyond the grid is kept, however far a block is stretched.
int scaled(int size, int percent, int limit)
{
    return std::clamp(int(std::lround(size * (percent / 100.0))), 1, limit);
}

DotBlock resampled(const DotBlock &block, int width, int height)
{
    DotBlock out{width, height, {}};
    out.cells.reserve(std::size_t(width) * std::size_t(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            out.cells.push_back(block.at(x * block.width / width, y * block.height / height));
    return out;
}

} // namespace

void ClipGrid::expand(const DotRect &rect, int horizontalPercent, int verticalPercent)
{
    if (horizontalPercent == 100 && verticalPercent == 100)
        return;
    const int h = horizontalPercent < 1 ? 100 : horizontalPercent;
    const int v = verticalPercent < 1 ? 100 : verticalPercent;
    const DotBlock block = read(rect);
    const int width = scaled(block.width, h, ClipColumns);
    const int height = scaled(block.height, v, ClipRows);
    if (width > block.width)
        shiftRight(rect, width - block.width);
    if (height > block.height)
        shiftDown(rect.left, rect.left + std::max(width, block.width) - 1, rect.bottom,
                  height - block.height);
    clearRect(rect);
    write(rect.left, rect.top, resampled(block, width, height));
}

} // namespace vgfx
