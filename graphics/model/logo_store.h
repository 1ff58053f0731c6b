#pragma once

#include "link/logo_buffer.h"
#include "link/logo_stores.h"
#include "link/names_list.h"
#include "link/port.h"

#include <QString>

namespace vgfx
{

using LogoStore = vlink::Store;

// The highest logo number of a store: 255 for the printer, 249 for the Depot.
int maxLogoNumber(LogoStore store);
// The refusal of a number beyond it: "Maximum Fragment №=255" or "Maximum Fragment №=249".
QString maxFragmentText(LogoStore store);

// W travels as one byte: a wider bitmap is written with its first 255 columns.
inline constexpr int MaxWrittenWidth = 255;

// A composed logo as the load dialogs write it: under the given name, at most 255 columns.
bool writeComposedLogo(vlink::Port &port, LogoStore store, int number,
                       const vlink::LogoBuffer &logo, const QByteArray &name);

// result, when given, says why a list was refused.
bool readLogoNames(vlink::Port &port, LogoStore store, vlink::LogoNames &names,
                   vlink::NamesRead *result = nullptr);

} // namespace vgfx
