#include "shell/clipboard_flow.h"

#include <QCoreApplication>

namespace vshell
{

namespace
{

// The tool button asks for this height when it opens the window.
constexpr int ToolButtonTarget = 24;

} // namespace

ClipboardFlow::ClipboardFlow(vgfx::LogoFormContext dialogs, vui::ModalRunner &modal,
                             QWidget *dialogParent, LogoFlow &logoDialogs, QString workDir)
    : dialogs_(std::move(dialogs)), modal_(modal), parent_(dialogParent), logoDialogs_(logoDialogs),
      workDir_(std::move(workDir))
{
}

void ClipboardFlow::wire(const MainControls &c, const ItemHandlers &on)
{
    on.on(c.ReadMSWordtextviaClipBoard1, [this] { open(); });
    on.on(c.TbClipBoard, [this] {
        dialogs_.logos.clipboardWork = ToolButtonTarget;
        open();
    });
}

bool ClipboardFlow::dispatch(vui::Message message)
{
    if (message != vui::Message::ReadClpBoard_)
        return false;
    dialogs_.logos.clipboardReopen = true;
    QCoreApplication::processEvents();
    open();
    return true;
}

void ClipboardFlow::open()
{
    vgfx::ClipContext context{dialogs_, grid_, modal_, workDir_,
                              [this](vgfx::LogoStore store) { logoDialogs_.openFresh(store); }};
    vgfx::TClipBrdReadForm form(std::move(context), parent_);
    form_ = &form;
    modal_.exec(form);
}

} // namespace vshell
