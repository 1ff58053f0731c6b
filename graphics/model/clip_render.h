#pragma once

#include "graphics/model/clip_grid.h"

#include <QImage>
#include <functional>
#include <vector>

class QMimeData;

namespace vgfx
{

// The rendered picture is read back into this many rows; the dark pixels are looked for in its
// first columns only.
inline constexpr int SampleRows = 49;
inline constexpr int SampleSearchColumns = 1281;
inline constexpr int LowestTargetHeight = 8;
inline constexpr int HighestTargetHeight = 32;

// The picture drawn `height` pixels high, as wide as its aspect ratio makes it.
using PictureSource = std::function<QImage(int height)>;

// Black and the mid grey the platform draws thin strokes in.
bool isDarkPixel(QRgb pixel);

// Where the dark pixels of a rendering lie; -1 where there are none.
struct DarkExtent {
    int firstRow = -1;
    int lastRow = -1;
    int lastColumn = -1;

    bool any() const { return lastRow >= 0; }
};
DarkExtent darkExtent(const QImage &sample);

// The outcome of the search for the height at which the picture's dark rows span the target.
struct HeightSearch {
    QImage sample;
    DarkExtent extent;
    // Every height rendered, in order.
    std::vector<int> heights;
};
// target: 8..32. The sample is white but for the rendering, SampleRows high and at most the
// grid wide.
HeightSearch searchRenderHeight(const PictureSource &source, int target);

// Puts every cell of the sample within its image that differs from the background into the
// grid, the last dark row on the baseline row plus the offset; the image size is set. False when
// the sample holds no dark pixel.
bool placeSample(const HeightSearch &search, int verticalOffset, ClipGrid &grid);

// A picture scaled to each asked height, smoothly as the platform draws a picture.
PictureSource scaledPicture(QImage picture);

// The whole path from a picture to dots: the grid is cleared first. False when the picture is
// null or shows nothing dark.
bool pictureToDots(const QImage &picture, int target, int verticalOffset, ClipGrid &grid);

// What the clipboard offers as a picture: its image, else its HTML or plain text drawn on white
// as a word processor shows it. Null when it offers none of these.
QImage clipboardPicture(const QMimeData *data);

} // namespace vgfx
