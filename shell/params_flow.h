#pragma once

#include "shell/byte_status_form.h"
#include "shell/params_form.h"
#include "shell/workflow.h"
#include "ui/modal_runner.h"

#include <QPointer>

namespace vshell
{

// "ParamsValue" (menu and button) and the hidden "ByteStatus" item: the parameter and status
// windows, made once at start and opened modally.
class ParamsFlow : public Workflow
{
public:
    ParamsFlow(QWidget &mainWindow, vui::LineState &line, vui::Prompts &prompts,
               vui::ModalRunner &modal);

    void wire(const MainControls &c, const ItemHandlers &on) override;
    void createWindows();
    TParamsForm *paramsForm() const { return params_; }
    TByteStatusForm_ *byteStatusForm() const { return status_; }

private:
    QWidget &mainWindow_;
    vui::LineState &line_;
    vui::Prompts &prompts_;
    vui::ModalRunner &modal_;
    QPointer<TParamsForm> params_;
    QPointer<TByteStatusForm_> status_;
};

} // namespace vshell
