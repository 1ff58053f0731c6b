#pragma once

namespace vgfx
{

// The outcome of a zoom button: the new zoom, whether to beep, and whether anything changed
// (the dialog redraws only then).
struct ZoomStep {
    int zoom = 1;
    bool beep = false;
    bool changed = false;

    bool operator==(const ZoomStep &) const = default;
};

// Doubles the zoom. There is no upper bound of its own; only a zoom that would no longer fit an
// int (or a zoom below 1, which no dialog should hold) is refused, with a beep, like a zoom out at
// the base. The preview declines to draw an image too large to allocate, so the operator can still
// zoom back out. Nothing happens for an empty buffer.
ZoomStep zoomIn(int zoom, bool bufferEmpty);

// Halves the zoom, rounding half to even, while it is above the base zoom; at or below the base
// it beeps and keeps the zoom. A zoom of 1 is never halved to 0 (that would draw nothing): that
// too only beeps. Nothing happens for an empty buffer.
ZoomStep zoomOut(int zoom, int baseZoom, bool bufferEmpty);

} // namespace vgfx
