#pragma once

#include "link/discovery.h"
#include "shell/menu_enabling.h"
#include "shell/port_params.h"
#include "shell/workflow.h"
#include "ui/modal_runner.h"
#include "ui/prompt_gate.h"
#include "ui/station_state.h"

#include <QPointer>
#include <QWidget>

namespace vshell
{

// The line and what answers on it: the start-up discovery when the main window is activated, the
// port menu that checks the port as it opens and switches to another, the printer menu that
// selects one of the printers on the line, and the port settings dialog.
class PortFlow : public Workflow
{
public:
    // Discovery fills state (the line, the Depot bank) and shows the device in c; the Depot-only
    // check box goes through menus.
    PortFlow(QWidget &mainWindow, vui::StationState &state, vui::PromptGate &prompts,
             vui::ModalRunner &modal, MenuEnabling &menus, const MainControls &c,
             const ItemHandlers &handlers, QString settingsPath);

    void wire(const MainControls &c, const ItemHandlers &on) override;
    // The port settings dialog, made once at start.
    void createWindows();
    TPortForms *portForms() const { return portForms_; }

    // The main window became active.
    void activated();
    // Activation: the start-up discovery while not connected.
    void FormActivate();

private:
    void runDiscovery();
    void swallowReturnFromBox();
    void applyConnection(const vlink::Connection &found);
    bool connectPort(int index);

    void Selectport1Click();
    void giveUpPort();
    void showNoDevice();
    void showPortItems();
    void ComClick(int index);
    void Printer1Click();
    void PrinterClick(int number);
    bool selectPrinter(int index);
    void EditCut1Click();

    QWidget &mainWindow_;
    vui::StationState &state_;
    vui::LineState &line_;
    vui::PromptGate &prompts_;
    vui::ModalRunner &modal_;
    MenuEnabling &menus_;
    const MainControls &c_;
    const ItemHandlers &handlers_;
    QString settingsPath_;
    QPointer<TPortForms> portForms_;

    bool discovering_ = false;
    bool activationQueued_ = false;
    bool swallowActivation_ = false;
};

} // namespace vshell
