#include "link/logo_buffer.h"

#include <algorithm>

namespace vlink
{

bool LogoBuffer::isEmpty() const
{
    return std::all_of(dots.begin(), dots.end(), [](quint8 b) { return b == 0; });
}

bool LogoBuffer::isDeleted() const
{
    return height == 4 && width == 1 && name.isEmpty() && isEmpty();
}

LogoBuffer LogoBuffer::deleted()
{
    LogoBuffer logo;
    logo.height = 4;
    logo.width = 1;
    return logo;
}

} // namespace vlink
