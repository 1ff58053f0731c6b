#include "shell/logo_flow.h"

#include "graphics/model/bmp_file.h"
#include "graphics/model/logo_bmp.h"
#include "graphics/multi_load_form.h"
#include "link/command_table.h"
#include "link/depot_commands.h"

#include <QFileInfo>
#include <QWidget>

namespace vshell
{

using vgfx::LogoStore;

bool listedForLogoLoad(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    if (dot < 0)
        return true;
    const QString kind = name.mid(dot + 1);
    if (kind != QLatin1String("bmp") && kind != QLatin1String("BMP"))
        return true;
    return vgfx::isMonochromeBmp(path);
}

LogoFlow::LogoFlow(vgfx::LogoFormContext dialogs, vui::ModalRunner &modal, QWidget *dialogParent,
                   QString workDir)
    : dialogs_(std::move(dialogs)), logos_(dialogs_.logos), prompts_(dialogs_.prompts),
      modal_(modal), parent_(dialogParent), workDir_(std::move(workDir))
{
}

void LogoFlow::wire(const MainControls &c, const ItemHandlers &on)
{
    const auto load = [this] { logoLoad(LogoStore::Printer); };
    const auto read = [this] { logoRead(); };
    on.on(c.Load1, load);
    on.on(c.TbLogoLoad, load);
    on.on(c.Read2, read);
    on.on(c.TbLogoRead, read);
    on.on(c.DepotLogoLoad1, [this] { logoLoad(LogoStore::Depot); });
}

void LogoFlow::setLibraryRefresh(std::function<void(const vlink::LogoNames &)> refresh)
{
    dialogs_.refreshLibrary = std::move(refresh);
}

void LogoFlow::logoLoad(LogoStore store)
{
    logos_.logoMode = vui::LogoMode::Load;
    logos_.depotTarget = store == LogoStore::Depot;
    vui::FileDialogRequest request;
    request.caption = QStringLiteral("Open");
    request.directory = workDir_;
    request.filter = QStringLiteral("Monochrome Bitmaps (*.bmp)");
    request.accept = listedForLogoLoad;
    const QStringList files = prompts_.openFiles(request);
    if (files.size() == 1)
        loadOne(store, files.first());
    else if (files.size() > 1)
        loadMany(files);
}

void LogoFlow::loadOne(LogoStore store, const QString &file)
{
    logos_.logoFileName = file;
    logos_.zoomCurrent = logos_.zoomBase;
    openFresh(store);
}

// Every file is tried before anything is written: the first that is not a monochrome bitmap
// is named, and nothing is loaded.
void LogoFlow::loadMany(const QStringList &files)
{
    const QString caption = QString::fromLatin1(vgfx::ImageNoticeCaption);
    vlink::LogoBuffer scratch;
    for (const QString &file : files) {
        switch (vgfx::convertBmpToLogo(file, scratch)) {
        case vgfx::BmpLoad::NotValid:
            prompts_.message(QStringLiteral("Image %1 is not valid...").arg(file), caption);
            return;
        case vgfx::BmpLoad::NotMonochrome:
            prompts_.message(QStringLiteral("Image %1 is not monochrome...").arg(file), caption);
            return;
        case vgfx::BmpLoad::Loaded:
            break;
        }
    }
    vgfx::TMultiLoadForm form(dialogs_, files, parent_);
    modal_.exec(form);
}

void LogoFlow::logoRead()
{
    logos_.logoMode = vui::LogoMode::Read;
    logos_.zoomCurrent = logos_.zoomBase;
    logos_.logo.fill(0);
    logos_.logo.width = 32;
    logos_.logo.height = 32;
    openFresh(LogoStore::Printer);
}

void LogoFlow::openFresh(LogoStore store)
{
    logos_.redraw = false;
    openForm(store);
}

void LogoFlow::openForm(LogoStore store)
{
    if (store == LogoStore::Printer) {
        vgfx::TLogoReadWriteForm form(dialogs_, parent_);
        printerForm_ = &form;
        modal_.exec(form);
    } else {
        vgfx::TDPLogoReadWriteForm form(dialogs_, parent_);
        depotForm_ = &form;
        modal_.exec(form);
    }
}

bool LogoFlow::dispatch(vui::Message message)
{
    using M = vui::Message;
    switch (message) {
    case M::ImageCompressOK:
        reopenIfAsked(LogoStore::Printer);
        return true;
    case M::DPImageCompressOK:
        reopenIfAsked(LogoStore::Depot);
        return true;
    case M::ImageNotLoadOK:
        closeForm(printerForm_);
        return true;
    case M::DPImageNotLoadOK:
        closeForm(depotForm_);
        return true;
    case M::DPFormClose:
        depotFormClosed();
        return true;
    default:
        return false;
    }
}

// A dialog that closed for a redraw, or after a read in Read mode, is shown again.
void LogoFlow::reopenIfAsked(LogoStore store)
{
    const bool again = logos_.logoMode == vui::LogoMode::Load
                           ? logos_.redraw
                           : logos_.redraw || logos_.readRequested;
    if (again)
        openForm(store);
}

void LogoFlow::closeForm(QDialog *form)
{
    if (form)
        form->reject();
}

void LogoFlow::depotFormClosed()
{
    closeForm(depotForm_);
    if (!logos_.listRefresh || !dialogs_.refreshLibrary)
        return;
    vlink::LogoNames names;
    vlink::NamesRead result = vlink::NamesRead::Ok;
    if (vlink::DPLogoNamesRead(dialogs_.line.port, names, &result))
        dialogs_.refreshLibrary(names);
    else
        prompts_.error(vlink::namesFailureText(result));
}

} // namespace vshell
