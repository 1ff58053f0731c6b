#pragma once

namespace vp
{

// Printer logos and the Depot unit's banks.
struct LogoState {
};

} // namespace vp
