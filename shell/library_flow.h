#pragma once

#include "graphics/logo_view_form.h"
#include "graphics/show_all_logo_list_form.h"
#include "shell/logo_flow.h"
#include "shell/workflow.h"

#include <QPointer>
#include <functional>

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
    // The reading window on the names list last read; its request opens the library.
    void showReading();
    // The library on the names list last read.
    void openLibrary();
    // What a double click on a library row opens: the store shown and the row's logo number.
    void setOpenLogo(std::function<void(vgfx::LogoStore, int)> openLogo)
    {
        openLogo_ = std::move(openLogo);
    }

    vgfx::TShowAllLogoListForm *library() const { return library_; }

private:
    void copied(vgfx::LogoStore store);
    void listRequested();

    vgfx::LogoFormContext dialogs_;
    vui::LogoWorkflow &logos_;
    vui::ModalRunner &modal_;
    QPointer<QWidget> parent_;
    LogoFlow &logoDialogs_;
    QPointer<vgfx::TShowAllLogoListForm> library_;
    QPointer<vgfx::TLogoViewForm> reading_;
    std::function<void(vgfx::LogoStore, int)> openLogo_;
    // Set while the library's own loop runs: a list request there only asks it to go round again.
    bool inLibraryLoop_ = false;
    bool requested_ = false;
};

} // namespace vshell
