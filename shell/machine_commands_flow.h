#pragma once

#include "link/command_table.h"
#include "shell/workflow.h"
#include "ui/clock.h"
#include "ui/prompts.h"
#include "ui/station_state.h"

namespace vshell
{

// The printer's machine commands from the File, Mark and Commands menus and the tool bar: start
// and stop, the clock, mark delete, the auto-run stop, the running numbers, reset and high
// voltage, and the hidden test buttons.
class MachineCommandsFlow : public Workflow
{
public:
    // The test button announces a printer to mainWindow.
    MachineCommandsFlow(vui::LineState &line, const vui::Clock &clock, vui::Prompts &prompts,
                        QObject &mainWindow);

    void wire(const MainControls &c, const ItemHandlers &on) override;

private:
    void command(vlink::PrinterCommand command);
    void AutoRunStop1Click();
    void MarkDelete1Click();
    void LoadDateTimeMClick();
    void TestButton1Click();
    void TestButton3Click();

    vui::LineState &line_;
    const vui::Clock &clock_;
    vui::Prompts &prompts_;
    QObject &mainWindow_;
};

} // namespace vshell
