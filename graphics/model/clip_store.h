#pragma once

#include "graphics/model/clip_grid.h"
#include "link/logo_buffer.h"

#include <QImage>
#include <QString>
#include <vector>

namespace vgfx
{

// A logo of 32 rows holds at most this many columns: a wide image is stored in pieces of it.
inline constexpr int PieceColumns = 125;
inline constexpr int MaxPieces = 9;

// The selected cells as a monochrome bitmap of the selection's size: blank cells white, every
// other cell black.
QImage selectionBitmap(const ClipGrid &grid, const DotRect &rect);

// The widths of the pieces that cover an image of this width, at most nine.
std::vector<int> pieceWidths(int imageWidth);

// The first row of the 32-row text band that ends on the baseline row moved by the offset.
int textBandTop(int verticalOffset);

// A piece of the text band as a logo in composed order, converted as a bitmap file is.
vlink::LogoBuffer pieceLogo(const ClipGrid &grid, int firstColumn, int width, int verticalOffset);

// A logo's dots into the cleared grid, standing on the baseline row moved by the offset.
void logoIntoGrid(const vlink::LogoBuffer &logo, int verticalOffset, ClipGrid &grid);

} // namespace vgfx
