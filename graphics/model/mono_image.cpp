#include "graphics/model/mono_image.h"

#include <cstring>

namespace vgfx
{

QImage clearedMono(int width, int height, const QList<QRgb> &colours, int index)
{
    QImage image(width, height, QImage::Format_Mono);
    if (image.isNull())
        return image;
    // fill() covers the pixels of a row only, not the padding after them.
    std::memset(image.bits(), 0, std::size_t(image.sizeInBytes()));
    image.setColorTable(colours);
    image.fill(uint(index));
    return image;
}

} // namespace vgfx
