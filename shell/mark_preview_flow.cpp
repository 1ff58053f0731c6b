#include "shell/mark_preview_flow.h"

#include <QCoreApplication>
#include <QWidget>

namespace vshell
{

MarkPreviewFlow::MarkPreviewFlow(QWidget &mainWindow, vui::LineState &line, vui::MarkEditing &mark,
                                 vui::Prompts &prompts, vui::ModalRunner &modal)
    : mainWindow_(mainWindow), line_(line), mark_(mark), prompts_(prompts), modal_(modal)
{
}

void MarkPreviewFlow::wire(const MainControls &c, const ItemHandlers &on)
{
    on.on(c.MarkRead1, [this] { markRead(); });
    on.on(c.TbMarkRead, [this] { markRead(); });
}

bool MarkPreviewFlow::dispatch(vui::Message message)
{
    switch (message) {
    case vui::Message::ShowStamp:
        showStamp();
        return true;
    case vui::Message::CloseShowStamp:
        closeShowStamp();
        return true;
    default:
        return false;
    }
}

void MarkPreviewFlow::markRead()
{
    mark_.readStart = true;
    mark_.redraw = true;
    TMarkProgreesForm form(line_, mark_, prompts_, &mainWindow_, &mainWindow_);
    progress_ = &form;
    modal_.exec(form);
}

void MarkPreviewFlow::showStamp()
{
    if (!mark_.stampRead) {
        if (progress_)
            progress_->reject();
        return;
    }
    QCoreApplication::processEvents();
    if (progress_)
        progress_->reject();
    QCoreApplication::processEvents();
    mark_.stampRead = false;
    // The window of the cycle before is gone for good.
    if (preview_)
        preview_->deleteLater();
    preview_ = new TMarkForm(mark_, prompts_, &mainWindow_, &mainWindow_);
    preview_->setAttribute(Qt::WA_DeleteOnClose);
    modal_.show(*preview_);
}

void MarkPreviewFlow::closeShowStamp()
{
    QCoreApplication::processEvents();
    if (preview_)
        preview_->close();
    markRead();
}

} // namespace vshell
