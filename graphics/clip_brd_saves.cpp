// What the clipboard window stores and takes in: the selection as a file or as a logo through a
// load dialog, and a bitmap file pasted into the work grid.
#include "graphics/clip_brd_read_form.h"

#include "graphics/clip_sheet.h"
#include "graphics/model/clip_store.h"
#include "graphics/model/logo_bmp.h"

#include <QDir>
#include <QFileInfo>

namespace vgfx
{

namespace
{

QString withBmpExtension(const QString &path)
{
    return QFileInfo(path).suffix().isEmpty() ? path + QStringLiteral(".bmp") : path;
}

} // namespace

void TClipBrdReadForm::saveToFile()
{
    const std::optional<DotRect> selection = selectionOrBeep();
    if (!selection)
        return;
    vui::FileDialogRequest request;
    request.caption = QStringLiteral("Save As");
    request.directory = context_.workDir;
    request.filter = QStringLiteral("Bitmaps (*.bmp)");
    const QString chosen = prompts_.saveFile(request);
    if (chosen.isEmpty())
        return;
    if (!selectionBitmap(grid_, *selection).save(withBmpExtension(chosen), "BMP"))
        prompts_.beep();
}

void TClipBrdReadForm::saveToStore(LogoStore store)
{
    const std::optional<DotRect> selection = selectionOrBeep();
    if (!selection || !context_.openLoad)
        return;
    const QString path = QDir(context_.workDir).filePath(QString::fromLatin1(TemporaryBmpName));
    if (!selectionBitmap(grid_, *selection).save(path, "BMP")) {
        prompts_.beep();
        return;
    }
    logos_.logoMode = vui::LogoMode::Load;
    logos_.depotTarget = store == LogoStore::Depot;
    logos_.logoFileName = path;
    logos_.zoomCurrent = logos_.zoomBase;
    context_.openLoad(store);
}

void TClipBrdReadForm::pasteFromFile()
{
    vui::FileDialogRequest request;
    request.caption = QStringLiteral("Open");
    request.directory = context_.workDir;
    request.filter = QStringLiteral("Bitmaps (*.bmp)");
    const QString chosen = prompts_.openFile(request);
    if (chosen.isEmpty())
        return;
    vlink::LogoBuffer logo;
    const BmpLoad result = convertBmpToLogo(chosen, logo);
    if (result != BmpLoad::Loaded) {
        prompts_.message(bmpLoadText(result), QString::fromLatin1(ImageNoticeCaption));
        return;
    }
    logoIntoGrid(logo, verticalOffset_, grid_);
    sheet_->setSelection(std::nullopt);
    edited();
}

} // namespace vgfx
