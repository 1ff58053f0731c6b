#include "shell/library_flow.h"

#include "graphics/dp_max_bank_num_form.h"

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
    on.on(c.TbLogosView, [this] { openLibrary(); });
    on.on(c.DepotBankMaxNum1, [this] {
        vgfx::TDPMaxBankNumForm form(dialogs_, parent_);
        modal_.exec(form);
    });
    on.on(c.DepotVersia1, [this] {
        vgfx::TDPVersiaForm form(dialogs_, parent_);
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
    openLibrary();
}

void LibraryFlow::openLibrary()
{
    do {
        logos_.libraryReopen = false;
        vgfx::TShowAllLogoListForm form(dialogs_, modal_, parent_);
        library_ = &form;
        logoDialogs_.setLibraryRefresh(
            [&form](const vlink::LogoNames &names) { form.rebuild(names); });
        modal_.exec(form);
        logoDialogs_.setLibraryRefresh({});
    } while (logos_.libraryReopen);
}

bool LibraryFlow::dispatch(vui::Message message)
{
    using M = vui::Message;
    switch (message) {
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
    logos_.libraryReopen = true;
}

} // namespace vshell
