#pragma once

#include "link/logo_buffer.h"

#include <algorithm>

namespace vgfx
{

// Dot d of a column, d = 0 the bottom dot, in whichever order the buffer holds.
inline bool hasDot(const vlink::LogoBuffer &logo, int column, int dot)
{
    const quint8 mask = logo.order == vlink::DotOrder::Composed ? quint8(0x80u >> (dot % 8))
                                                                : quint8(0x01u << (dot % 8));
    return (logo.at(column, dot / 8) & mask) != 0;
}

inline void setComposedDot(vlink::LogoBuffer &logo, int column, int dot)
{
    logo.at(column, dot / 8) |= quint8(0x80u >> (dot % 8));
}

// A read can leave a width or height the buffer does not have (an empty record reads as
// 32 x 32): whatever draws or saves the buffer stays within its 512 columns and 4 bands.
inline int drawnWidth(const vlink::LogoBuffer &logo)
{
    return std::clamp(logo.width, 0, vlink::LogoBuffer::Columns);
}

inline int drawnHeight(const vlink::LogoBuffer &logo)
{
    return std::clamp(logo.height, 0, vlink::LogoBuffer::Bands);
}

} // namespace vgfx
