#pragma once

#include "shell/mark_form.h"
#include "shell/mark_progress_form.h"
#include "shell/workflow.h"
#include "ui/modal_runner.h"
#include "ui/prompts.h"
#include "ui/station_state.h"

#include <QPointer>

class QWidget;

namespace vshell
{

// The mark preview as the main window runs it: "MarkRead" opens the progress window, which
// reads; "ShowStamp" closes it and shows the preview; the preview's "Read" comes back as
// "CloseShowStamp", which closes the preview and reads again. Each cycle makes new windows.
class MarkPreviewFlow : public Workflow
{
public:
    MarkPreviewFlow(QWidget &mainWindow, vui::LineState &line, vui::MarkEditing &mark,
                    vui::Prompts &prompts, vui::ModalRunner &modal);

    void wire(const MainControls &c, const ItemHandlers &on) override;
    bool dispatch(vui::Message message) override;

    // The mark read command.
    void markRead();

    TMarkForm *preview() const { return preview_; }

private:
    void showStamp();
    void closeShowStamp();

    QWidget &mainWindow_;
    vui::LineState &line_;
    vui::MarkEditing &mark_;
    vui::Prompts &prompts_;
    vui::ModalRunner &modal_;
    QPointer<TMarkProgreesForm> progress_;
    QPointer<TMarkForm> preview_;
};

} // namespace vshell
