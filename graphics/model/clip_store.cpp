#include "graphics/model/clip_store.h"

#include "graphics/model/logo_bmp.h"
#include "graphics/model/logo_dots.h"
#include "graphics/model/mono_image.h"

#include <algorithm>

namespace vgfx
{

QImage selectionBitmap(const ClipGrid &grid, const DotRect &rect)
{
    QImage image =
        clearedMono(rect.width(), rect.height(), {qRgb(0, 0, 0), qRgb(255, 255, 255)}, 1);
    for (int y = 0; y < rect.height(); ++y)
        for (int x = 0; x < rect.width(); ++x)
            if (ClipGrid::inside(rect.left + x, rect.top + y) &&
                grid.isDot(rect.left + x, rect.top + y))
                image.setPixel(x, y, 0);
    return image;
}

std::vector<int> pieceWidths(int imageWidth)
{
    std::vector<int> widths;
    for (int left = 0; left < imageWidth && int(widths.size()) < MaxPieces; left += PieceColumns)
        widths.push_back(std::min(PieceColumns, imageWidth - left));
    return widths;
}

int textBandTop(int verticalOffset)
{
    return ClipBaselineRow + verticalOffset - (MaxLogoRows - 1);
}

vlink::LogoBuffer pieceLogo(const ClipGrid &grid, int firstColumn, int width, int verticalOffset)
{
    const DotRect band{firstColumn, textBandTop(verticalOffset), firstColumn + width - 1,
                       textBandTop(verticalOffset) + MaxLogoRows - 1};
    vlink::LogoBuffer logo;
    convertImageToLogo(selectionBitmap(grid, band), logo);
    return logo;
}

void logoIntoGrid(const vlink::LogoBuffer &logo, int verticalOffset, ClipGrid &grid)
{
    grid.clear();
    const int rows = drawnHeight(logo) * 8;
    const int bottom = ClipBaselineRow + verticalOffset;
    for (int column = 0; column < drawnWidth(logo); ++column)
        for (int dot = 0; dot < rows; ++dot)
            if (hasDot(logo, column, dot))
                grid.set(column, bottom - dot, ClipDot);
    grid.imageWidth = drawnWidth(logo);
    grid.imageHeight = rows;
}

} // namespace vgfx
