#pragma once

#include "graphics/model/logo_store.h"
#include "link/logo_buffer.h"
#include "link/port.h"

#include <QString>

namespace vgfx
{

// Before each printer write of a multiple load: the printer needs the time to store the logo
// before the next.
inline constexpr int PrinterPauseMs = 500;

// How one logo's copy from store to store ended.
enum class CopyStep { Copied, ReadFailed, WriteFailed };

// Reads the logo without display and writes it back unchanged, name kept, under another number
// of the destination. The logo stays in the buffer.
CopyStep copyLogo(vlink::Port &port, LogoStore from, int number, LogoStore to, int toNumber,
                  vlink::LogoBuffer &logo);
// Writes the logo in the buffer back unchanged, name kept, under the number: true on success.
bool writeCopiedLogo(vlink::Port &port, LogoStore to, int number, const vlink::LogoBuffer &logo);
// The logo read without display from the store: true on success.
bool readStoredLogo(vlink::Port &port, LogoStore store, int number, vlink::LogoBuffer &logo);

// "PrinterLogo Read Error" or "DPLogo Read Error".
QString copyReadFailure(LogoStore from);
// "PrinterLogo Write Error" or "DPLogo Write Error".
QString copyWriteFailure(LogoStore to);

} // namespace vgfx
