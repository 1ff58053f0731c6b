#pragma once

namespace vp
{

// The printer's mark: fragments, stored marks, the special-function script.
struct MarkState {
};

} // namespace vp
