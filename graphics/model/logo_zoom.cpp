#include "graphics/model/logo_zoom.h"

#include <limits>

namespace vgfx
{

namespace
{

ZoomStep refused(int zoom)
{
    return {zoom, true, false};
}

// zoom / 2 to the nearest integer, a tie (odd zoom) to the even neighbour.
int halfToEven(int zoom)
{
    const int down = zoom / 2;
    if (zoom % 2 == 0)
        return down;
    return down % 2 == 0 ? down : down + 1;
}

} // namespace

ZoomStep zoomIn(int zoom, bool bufferEmpty)
{
    if (bufferEmpty)
        return {zoom, false, false};
    if (zoom < 1 || zoom > std::numeric_limits<int>::max() / 2)
        return refused(zoom);
    return {zoom * 2, false, true};
}

ZoomStep zoomOut(int zoom, int baseZoom, bool bufferEmpty)
{
    if (bufferEmpty)
        return {zoom, false, false};
    if (zoom <= baseZoom)
        return refused(zoom);
    const int half = halfToEven(zoom);
    if (half < 1)
        return refused(zoom);
    return {half, false, true};
}

} // namespace vgfx
