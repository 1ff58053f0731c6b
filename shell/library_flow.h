#pragma once

#include "graphics/show_all_logo_list_form.h"
#include "shell/logo_flow.h"
#include "shell/workflow.h"

#include <QPointer>

namespace vshell
{

// The main window's side of the logo library: the "LogosView" and "DepotLogosView" items and
// the "LogosView" button, the Depot's "DepotBankMaxNum" and "DepotVersia", and the messages of
// the bulk copy. After a copy that changed the store
// it shows, the library closes and opens again on a fresh names list.
class LibraryFlow : public Workflow
{
public:
    LibraryFlow(vgfx::LogoFormContext dialogs, vui::ModalRunner &modal, QWidget *dialogParent,
                LogoFlow &logoDialogs);

    void wire(const MainControls &c, const ItemHandlers &on) override;
    bool dispatch(vui::Message message) override;

    // "LogosView" (printer) and "DepotLogosView" (Depot): the store's names list, then the library.
    void logosView(vgfx::LogoStore store);
    // The library on the names list last read.
    void openLibrary();

    vgfx::TShowAllLogoListForm *library() const { return library_; }

private:
    void copied(vgfx::LogoStore store);

    vgfx::LogoFormContext dialogs_;
    vui::LogoWorkflow &logos_;
    vui::ModalRunner &modal_;
    QPointer<QWidget> parent_;
    LogoFlow &logoDialogs_;
    QPointer<vgfx::TShowAllLogoListForm> library_;
};

} // namespace vshell
