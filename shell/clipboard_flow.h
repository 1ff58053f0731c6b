#pragma once

#include "graphics/clip_brd_read_form.h"
#include "graphics/model/clip_grid.h"
#include "shell/logo_flow.h"
#include "shell/workflow.h"

#include <QPointer>

namespace vshell
{

// The main window's side of the clipboard import: the "Read MS Word text via ClipBoard" item
// and its tool button, and the reopening of the window for a read. The work grid lives here, so
// that an edit outlasts the window until the next read.
class ClipboardFlow : public Workflow
{
public:
    ClipboardFlow(vgfx::LogoFormContext dialogs, vui::ModalRunner &modal, QWidget *dialogParent,
                  LogoFlow &logoDialogs, QString workDir);

    void wire(const MainControls &c, const ItemHandlers &on) override;
    bool dispatch(vui::Message message) override;

    void open();
    vgfx::TClipBrdReadForm *form() const { return form_; }
    vgfx::ClipGrid &grid() { return grid_; }

private:
    vgfx::LogoFormContext dialogs_;
    vui::ModalRunner &modal_;
    QPointer<QWidget> parent_;
    LogoFlow &logoDialogs_;
    QString workDir_;
    vgfx::ClipGrid grid_;
    QPointer<vgfx::TClipBrdReadForm> form_;
};

} // namespace vshell
