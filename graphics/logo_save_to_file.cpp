#include "graphics/logo_save_to_file.h"

#include "graphics/model/logo_bmp.h"

#include <QFileInfo>

namespace vgfx
{

vui::FileDialogRequest logoSaveRequest(const vui::LogoWorkflow &logos)
{
    vui::FileDialogRequest request;
    request.caption = QStringLiteral("Save As");
    request.directory = logos.logoSaveDir;
    request.filter = QStringLiteral("Bitmaps (*.bmp)");
    return request;
}

void saveLogoToChosenFile(const vlink::LogoBuffer &logo, vui::LogoWorkflow &logos,
                          vui::Prompts &prompts)
{
    if (logo.isEmpty() || logo.isDeleted())
        return;
    QString path = prompts.saveFile(logoSaveRequest(logos));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".bmp");
    logos.logoSaveDir = QFileInfo(path).absolutePath();
    if (!saveLogoBmp(logo, path))
        prompts.beep();
}

} // namespace vgfx
