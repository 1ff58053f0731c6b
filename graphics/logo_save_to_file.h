#pragma once

#include "link/logo_buffer.h"
#include "ui/prompts.h"
#include "ui/station_state.h"

namespace vgfx
{

// The save dialog for logo bitmaps, starting where the last logo was saved.
vui::FileDialogRequest logoSaveRequest(const vui::LogoWorkflow &logos);

// Asks for a file and saves the logo there as a 1-bit bitmap (".bmp" added to a name without
// one); the folder is remembered for the next save. An empty or the deleted logo is not saved;
// a file that cannot be written beeps.
void saveLogoToChosenFile(const vlink::LogoBuffer &logo, vui::LogoWorkflow &logos,
                          vui::Prompts &prompts);

} // namespace vgfx
