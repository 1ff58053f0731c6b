#pragma once

#include "compose/auto_run_period_form.h"
#include "compose/mark_not_current_form.h"
#include "shell/workflow.h"
#include "ui/modal_runner.h"
#include "ui/prompts.h"
#include "ui/station_state.h"

#include <QPointer>

namespace vshell
{

// The small mark dialogs: a cell's font ("Font"), the auto-run period ("AutoRun Period") and
// the stored marks ("Store", "Restore", their buttons, and the hidden "MarkRead" items).
class MarkDialogsFlow : public Workflow
{
public:
    MarkDialogsFlow(QWidget &mainWindow, vui::LineState &line, vui::Prompts &prompts,
                    vui::ModalRunner &modal);

    void wire(const MainControls &c, const ItemHandlers &on) override;

    void openFont();
    void openAutoRunPeriod();
    // Store and restore run modally; making a stored mark current runs modeless.
    void openStoredMarks(vlink::StoredMarkOp operation);

private:
    QWidget &mainWindow_;
    vui::LineState &line_;
    vui::Prompts &prompts_;
    vui::ModalRunner &modal_;
    QPointer<vcompose::TAutoRunPeriodForm> autoRunPeriod_;
    QPointer<vcompose::TMarkNotCusrrent> markRead_;
};

} // namespace vshell
