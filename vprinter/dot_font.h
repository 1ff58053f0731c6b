#pragma once

#include <QtGlobal>
#include <array>

namespace vp
{

// The printer's built-in dot font: one 5 x 7 design, drawn larger by the font number. Font f is
// 7 x (1 + f % 4) dots high and its dots are 1 + f / 4 columns wide, so fonts 0..3 grow in
// height and each further four are the same heights, wider.
struct DotFont {
    static constexpr int GlyphColumns = 5;
    static constexpr int GlyphRows = 7;

    int tall = 1; // rows per design row
    int wide = 1; // columns per design column

    static DotFont ofNumber(int font) { return {1 + font % 4, 1 + (font / 4) % 4}; }
    int height() const { return GlyphRows * tall; }
    // A character's columns with the blank one that parts it from the next.
    int advance() const { return (GlyphColumns + 1) * wide; }

    // The design of a character, one byte per column, bit 0 the top row. Characters outside
    // 0x20..0x7E print as a hollow box.
    static std::array<quint8, GlyphColumns> glyph(quint8 character);
};

} // namespace vp
