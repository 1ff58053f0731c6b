#pragma once

#include <QImage>
#include <QList>

namespace vgfx
{

// A 1-bit picture of the two colours, every pixel the colour at `index`. Every byte Qt
// allocated is cleared first: the padding at the end of each row goes into BMP files as it is,
// and the same dots must always give the same file.
QImage clearedMono(int width, int height, const QList<QRgb> &colours, int index);

} // namespace vgfx
