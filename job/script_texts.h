#pragma once

#include "link/mark_commands.h"

#include <QByteArray>
#include <optional>

namespace vjob
{

// The special-function script as the printer keeps it ("Q rc N ... E ... S ... P ...", then
// "G g", either part alone), back into the texts that write it; nothing for another layout.
std::optional<vlink::SpecFuncTexts> scriptTexts(const QByteArray &script);

} // namespace vjob
