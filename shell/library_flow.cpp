#include "shell/library_flow.h"

#include "graphics/dp_max_bank_num_form.h"

#include <QCoreApplication>

namespace vshell
{

using vgfx::LogoStore;

LibraryFlow::LibraryFlow(vgfx::LogoFormContext dialogs, vui::ModalRunner &modal,
                         QWidget *dialogParent, LogoFlow &logoDialogs)
    : dialogs_(std::move(dialogs)), logos_(dialogs_.logos), modal_(modal), parent_(dialogParent),
      logoDialogs_(logoDialogs)
{
}

void LibraryFlow::wire(const MainControls &c, const ItemHandlers &on)
{
    on.on(c.LogosView1, [this] { logosView(LogoStore::Printer); });
    on.on(c.DepotLogosView1, [this] { logosView(LogoStore::Depot); });
    // The button shows the list last read, without reading it again.
    on.on(c.TbLogosView, [this] { showReading(); });
    on.on(c.DepotBankMaxNum1, [this] {
        vgfx::TDPMaxBankNumForm form(dialogs_, parent_);
        modal_.exec(form);
    });
    on.on(c.DepotVersia1, [this] {
        vgfx::TDPVersiaForm form(dialogs_, parent_);
        if (form.versionRead())
            modal_.exec(form);
    });
}

void LibraryFlow::logosView(LogoStore store)
{
    logos_.depotTarget = logos_.depotView = store == LogoStore::Depot;
    vlink::LogoNames names;
    vlink::NamesRead result = vlink::NamesRead::Ok;
    if (!vgfx::readLogoNames(dialogs_.line.port, store, names, &result)) {
        // The items say only "Read Error", but a list too long to show is named as such.
        dialogs_.prompts.error(result == vlink::NamesRead::OverCount
                                   ? vlink::namesFailureText(result)
                                   : QStringLiteral("Read Error"));
        return;
    }
    logos_.names = names;
    showReading();
}

void LibraryFlow::showReading()
{
    vgfx::TLogoViewForm form(logos_.names, library_, dialogs_.mainWindow, parent_);
    reading_ = &form;
    modal_.exec(form);
    // Its request may still wait in the queue: the main window answers it now.
    QCoreApplication::sendPostedEvents(dialogs_.mainWindow);
}

void LibraryFlow::openLibrary()
{
    inLibraryLoop_ = true;
    do {
        requested_ = false;
        {
            vgfx::TShowAllLogoListForm form(dialogs_, modal_, parent_);
            library_ = &form;
            form.setOpenLogo([this](vgfx::LogoStore store, int number) {
                if (openLogo_)
                    openLogo_(store, number);
            });
            logoDialogs_.setLibraryRefresh(
                [&form](const vlink::LogoNames &names) { form.rebuild(names); });
            modal_.exec(form);
            logoDialogs_.setLibraryRefresh({});
        }
        if (logos_.libraryReopen) {
            logos_.libraryReopen = false;
            showReading();
        }
    } while (requested_);
    inLibraryLoop_ = false;
}

// The reading window has listed the names: it closes, and the library opens on them. A library
// already on the screen was the one that asked; it is not opened twice.
void LibraryFlow::listRequested()
{
    if (reading_)
        reading_->accept();
    QCoreApplication::processEvents();
    if (inLibraryLoop_) {
        requested_ = !library_;
        return;
    }
    openLibrary();
}

bool LibraryFlow::dispatch(vui::Message message)
{
    using M = vui::Message;
    switch (message) {
    case M::LogoListRequest:
        listRequested();
        return true;
    case M::MultiLoadOK:
        copied(LogoStore::Printer);
        return true;
    case M::DPMultiLoadOK:
        copied(LogoStore::Depot);
        return true;
    case M::MultiLoadClose:
        if (library_)
            library_->closeBulkCopy();
        return true;
    default:
        return false;
    }
}

// The library closes; it opens again, once the bulk copy has closed, on the fresh list.
void LibraryFlow::copied(LogoStore store)
{
    if (library_)
        library_->reject();
    vlink::LogoNames names;
    vlink::NamesRead result = vlink::NamesRead::Ok;
    if (!vgfx::readLogoNames(dialogs_.line.port, store, names, &result)) {
        dialogs_.prompts.error(vlink::namesFailureText(result));
        return;
    }
    logos_.names = names;
    // The reading window opens once the bulk copy and the library have closed.
    logos_.libraryReopen = true;
}

} // namespace vshell
