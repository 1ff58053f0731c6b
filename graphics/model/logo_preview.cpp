#include "graphics/model/logo_preview.h"

#include "graphics/model/logo_dots.h"

#include <algorithm>

namespace vgfx
{

using vlink::LogoBuffer;

namespace
{

constexpr QRgb OpaqueWhite = 0xFFFFFFFF;
constexpr QRgb Black = 0xFF000000;

// The dot grid's reach: two dots right of the spare column, and far below the logo.
qint64 gridWidth(const LogoBuffer &logo, qint64 zoom)
{
    return (drawnWidth(logo) + 1) * zoom + 2 * zoom;
}

qint64 gridHeight(const LogoBuffer &logo, qint64 zoom)
{
    return zoom * ((drawnHeight(logo) + 1) * 8 + 16);
}

// A filled rectangle, clipped to the image; the image is 32 bits per pixel.
void fill(QImage &image, qint64 x, qint64 y, qint64 width, qint64 height, QRgb colour)
{
    const int left = int(std::clamp<qint64>(x, 0, image.width()));
    const int right = int(std::clamp<qint64>(x + width, 0, image.width()));
    const int top = int(std::clamp<qint64>(y, 0, image.height()));
    const int bottom = int(std::clamp<qint64>(y + height, 0, image.height()));
    for (int row = top; row < bottom; ++row) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(row));
        std::fill(line + left, line + right, colour);
    }
}

} // namespace

QSize previewSize(const LogoBuffer &logo, int zoom, int minimumWidth)
{
    if (zoom < 1)
        return {};
    const qint64 width = std::max<qint64>(gridWidth(logo, zoom), minimumWidth);
    const qint64 height = gridHeight(logo, zoom);
    if (width > MaxPreviewSide || height > MaxPreviewSide || width * height * 4 > MaxPreviewBytes)
        return {};
    return {int(width), int(height)};
}

QImage drawPreview(const LogoBuffer &logo, int zoom, int minimumWidth)
{
    const QSize size = previewSize(logo, zoom, minimumWidth);
    if (size.isEmpty())
        return {};
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    image.fill(OpaqueWhite);
    const int rows = drawnHeight(logo) * 8;
    // Row 0 at the top holds the highest dot of the top band.
    for (int c = 0; c < drawnWidth(logo); ++c)
        for (int row = 0; row < rows; ++row)
            if (hasDot(logo, c, rows - 1 - row))
                fill(image, qint64(c) * zoom, qint64(row) * zoom, zoom, zoom, Black);
    return image;
}

void drawDotGrid(QImage &preview, const LogoBuffer &logo, int zoom)
{
    if (zoom < 1 || preview.isNull() || logo.isEmpty())
        return;
    if (preview.format() != QImage::Format_RGB32)
        preview.convertTo(QImage::Format_RGB32);
    const qint64 width = gridWidth(logo, zoom);
    const qint64 height = gridHeight(logo, zoom);
    const QRgb silver = 0xFF000000 | GridColour;
    for (qint64 x = 0; x < width; x += zoom)
        fill(preview, x, 0, 1, height, silver);
    for (qint64 y = 0; y < height; y += zoom)
        fill(preview, 0, y, width, 1, silver);
}

QString sizeLabel(const LogoBuffer &logo)
{
    return QStringLiteral("Col:%1*Row:%2").arg(logo.width).arg(logo.height);
}

} // namespace vgfx
