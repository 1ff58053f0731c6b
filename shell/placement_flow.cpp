#include "shell/placement_flow.h"

#include "link/logo_stores.h"

namespace vshell
{

using vgfx::LogoStore;

PlacementFlow::PlacementFlow(vgfx::LogoFormContext dialogs, vui::ModalRunner &modal,
                             QWidget *dialogParent, LogoFlow &logoDialogs, QString workDir)
    : dialogs_(std::move(dialogs)), logos_(dialogs_.logos), modal_(modal), parent_(dialogParent),
      logoDialogs_(logoDialogs), workDir_(std::move(workDir))
{
}

void PlacementFlow::wire(const MainControls &c, const ItemHandlers &on)
{
    on.on(c.LogoToMarkAction1, [this] { paste(LogoStore::Printer); });
    on.on(c.DepotLogoPaste1, [this] { paste(LogoStore::Depot); });
    on.on(c.DepotLogoRead1, [this] { depotRead(); });
}

void PlacementFlow::start()
{
    logos_.placementLogo = 0;
}

LogoStore PlacementFlow::formStore() const
{
    return dialogs_.line.depotOnly || logos_.depotSource ? LogoStore::Depot : LogoStore::Printer;
}

void PlacementFlow::paste(LogoStore item)
{
    start();
    logos_.depotSource = item == LogoStore::Depot;
    const LogoStore read = item == LogoStore::Printer && !dialogs_.line.depotOnly
                               ? LogoStore::Printer
                               : LogoStore::Depot;
    if (!view(read, 0))
        return;
    open({formStore(), false});
}

void PlacementFlow::depotRead()
{
    start();
    logos_.listRefresh = false;
    if (!view(LogoStore::Depot, 0))
        return;
    open({LogoStore::Depot, true});
}

void PlacementFlow::openFromLibrary(LogoStore store, int number)
{
    logos_.placementLogo = quint8(number);
    logos_.placementShown = true;
    if (!view(store, number))
        return;
    open({store, true});
}

bool PlacementFlow::view(LogoStore store, int number)
{
    if (vlink::LogoView(dialogs_.line.port, store, number, logos_.logo))
        return true;
    logos_.errorFlag = true;
    dialogs_.prompts.error(vlink::logoFailure(vlink::LogoCall::View, store));
    return false;
}

void PlacementFlow::open(vcompose::Placement placement)
{
    // A Depot viewer leaves the flag set; a printer dialog must not take its caption or its names
    // list from it.
    if (placement.store == LogoStore::Printer)
        logos_.depotSource = false;
    vgfx::LogoFormContext context = dialogs_;
    context.refreshLibrary = logoDialogs_.libraryRefresh();
    vcompose::LogoToMarkForm form(
        placement, context, [this](LogoStore store) { logoDialogs_.openFresh(store); }, workDir_,
        parent_);
    form_ = &form;
    modal_.exec(form);
}

bool PlacementFlow::dispatch(vui::Message message)
{
    using M = vui::Message;
    switch (message) {
    case M::LogoReadOK:
        open({formStore(), false});
        return true;
    case M::LogoReadOKSmall:
        open({formStore(), true});
        return true;
    case M::LogoReadOKSmallnotDP:
        open({LogoStore::Printer, true});
        return true;
    default:
        return false;
    }
}

} // namespace vshell
