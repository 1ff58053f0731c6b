#pragma once

#include "link/port.h"

#include <array>
#include <functional>

namespace vlink
{

// The mark image opcodes: 0x07 0x08 0x08 asks the printer to render its current mark.
enum class MarkImageOp : quint8 {
    First = 0x07,
    Second = 0x08,
    Third = 0x08,
};

// The printer's current mark as dots: column c, band k at c x Bands + k, band 0 the lowest; a
// set bit is a printed dot, bit 0 the lowest dot of its band.
struct MarkImage {
    static constexpr int Columns = 5121;
    static constexpr int Bands = 4;
    // Every reply is this many bytes after its header, image and filler together.
    static constexpr int TransferBytes = 5120;

    std::array<quint8, Columns * Bands> bytes{};
    int rows = 0;  // band bytes per column
    int width = 0; // columns

    bool isClear() const { return rows == 0 && width == 0; }
    quint8 at(int column, int band) const { return bytes[std::size_t(column * Bands + band)]; }
    quint8 &at(int column, int band) { return bytes[std::size_t(column * Bands + band)]; }
    // A dot by its height from the bottom (0 is bit 0 of band 0).
    bool dot(int column, int height) const { return at(column, height / 8) & (1u << (height % 8)); }
};

// What a read of a clear mark shows, caption "Information".
inline constexpr char MarkClearText[] = "Mark is Clear";

// How long the printer may take to start its reply.
inline constexpr int MarkImageRowsWaitMs = 1000;
// The bar of the read runs from 0 to this in steps of one.
inline constexpr int MarkImageBarSteps = 20;

// What the read tells its window as it goes: the bar's position whenever it moves, and the
// points where the window gets to repaint.
struct MarkImageProgress {
    std::function<void(int position)> bar;
    std::function<void()> repaint;
};

// The mark image read. A reply of more than 4 bands, or of more columns than the store has for
// them, is refused once its bytes have passed or the line went quiet; the store is left as the
// read found it then. On a clear mark only the header is read.
bool MarkImageRead(Port &port, MarkImage &image, const MarkImageProgress &progress = {});

} // namespace vlink
