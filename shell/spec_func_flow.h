#pragma once

#include "compose/script_read_form.h"
#include "compose/spec_func_form.h"
#include "shell/workflow.h"
#include "ui/modal_runner.h"
#include "ui/prompts.h"
#include "ui/station_state.h"

#include <QPointer>

namespace vshell
{

// The "SpecFunc" items and the "SpecFuncWrite" button: the special functions window and the
// script viewer, both modeless, each made anew at every opening so that it reads the script.
class SpecFuncFlow : public Workflow
{
public:
    SpecFuncFlow(QWidget &mainWindow, vui::LineState &line, vui::Prompts &prompts,
                 vui::ModalRunner &modal);

    void wire(const MainControls &c, const ItemHandlers &on) override;

    void openSpecFunc();
    void openScriptRead();

private:
    QWidget &mainWindow_;
    vui::LineState &line_;
    vui::Prompts &prompts_;
    vui::ModalRunner &modal_;
    QPointer<vcompose::TSpecFuncForm> specFunc_;
    QPointer<vcompose::TScriptReadForm> scriptRead_;
};

} // namespace vshell
