#pragma once

#include "compose/logo_to_mark_form.h"
#include "shell/logo_flow.h"
#include "shell/workflow.h"

#include <QPointer>

namespace vshell
{

// The main window's side of the logo placement: the "PrinterLogoPaste", "DepotLogoPaste" and
// "DepotLogoRead" items, and the reopening of a placement dialog that closed after reading a new
// logo. Copies and Depot renames go on through the logo dialogs of LogoFlow.
class PlacementFlow : public Workflow
{
public:
    PlacementFlow(vgfx::LogoFormContext dialogs, vui::ModalRunner &modal, QWidget *dialogParent,
                  LogoFlow &logoDialogs, QString workDir);

    void wire(const MainControls &c, const ItemHandlers &on) override;
    bool dispatch(vui::Message message) override;

    // "PrinterLogoPaste" (printer) and "DepotLogoPaste" (Depot).
    void paste(vgfx::LogoStore item);
    // "DepotLogoRead".
    void depotRead();
    void open(vcompose::Placement placement);
    // A logo of the library, in the compact dialog of the store the library shows.
    void openFromLibrary(vgfx::LogoStore store, int number);

    vcompose::LogoToMarkForm *form() const { return form_; }

private:
    void start();
    // The Depot forms serve in Depot-only mode and while the Depot is the source.
    vgfx::LogoStore formStore() const;
    // The logo into the buffer; a failure is reported with the text of the store's command.
    bool view(vgfx::LogoStore store, int number);

    vgfx::LogoFormContext dialogs_;
    vui::LogoWorkflow &logos_;
    vui::ModalRunner &modal_;
    QPointer<QWidget> parent_;
    LogoFlow &logoDialogs_;
    QString workDir_;
    QPointer<vcompose::LogoToMarkForm> form_;
};

} // namespace vshell
