#pragma once

#include "graphics/dp_logo_read_write_form.h"
#include "graphics/logo_read_write_form.h"
#include "graphics/model/logo_store.h"
#include "link/codepage.h"
#include "link/names_list.h"
#include "shell/workflow.h"
#include "ui/messages.h"
#include "ui/modal_runner.h"
#include "ui/prompts.h"
#include "ui/station_state.h"

#include <QPointer>
#include <QStringList>
#include <functional>

class QWidget;

namespace vshell
{

// The file dialog of the logo loads lists a bitmap only when it is monochrome. Only names whose
// part after the first dot is "bmp" or "BMP" are looked at, and only their headers, so a folder
// of many files lists quickly; every other file stays listed.
bool listedForLogoLoad(const QString &path);

// The main window's side of the logo dialogs: the "LogoLoad", "DepotLogoLoad" and "LogoRead"
// items and their tool buttons, and its answers to the messages the dialogs send. It opens each
// dialog as a fresh instance and remembers the one open, as the main window keeps one per dialog
// class.
class LogoFlow : public Workflow
{
public:
    // dialogs: what every logo dialog it opens is handed; the library refresh is set below.
    LogoFlow(vgfx::LogoFormContext dialogs, vui::ModalRunner &modal, QWidget *dialogParent,
             QString workDir);

    void wire(const MainControls &c, const ItemHandlers &on) override;

    // "LogoLoad" (printer) and "DepotLogoLoad" (Depot).
    void logoLoad(vgfx::LogoStore store);
    // "LogoRead".
    void logoRead();
    // Opens a fresh logo dialog of the store as it is set up in the station's state; a redraw
    // left over from a dialog that closed without being reopened does not carry over.
    void openFresh(vgfx::LogoStore store);

    // The main window's answer to a message of the logo dialogs; false for any other message.
    bool dispatch(vui::Message message) override;

    // Set while the logo library window exists: it takes a fresh names list after a write.
    void setLibraryRefresh(std::function<void(const vlink::LogoNames &)> refresh);
    const std::function<void(const vlink::LogoNames &)> &libraryRefresh() const
    {
        return dialogs_.refreshLibrary;
    }

    vgfx::TLogoReadWriteForm *printerForm() const { return printerForm_; }
    vgfx::TDPLogoReadWriteForm *depotForm() const { return depotForm_; }

private:
    void loadOne(vgfx::LogoStore store, const QString &file);
    void loadMany(const QStringList &files);
    void reopenIfAsked(vgfx::LogoStore store);
    void openForm(vgfx::LogoStore store);
    void closeForm(QDialog *form);
    void depotFormClosed();

    vgfx::LogoFormContext dialogs_;
    vui::LogoWorkflow &logos_;
    vui::Prompts &prompts_;
    vui::ModalRunner &modal_;
    QPointer<QWidget> parent_;
    QString workDir_;
    QPointer<vgfx::TLogoReadWriteForm> printerForm_;
    QPointer<vgfx::TDPLogoReadWriteForm> depotForm_;
};

} // namespace vshell
