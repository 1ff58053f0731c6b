#pragma once

#include "link/hydro_commands.h"
#include "shell/workflow.h"
#include "ui/modal_runner.h"
#include "ui/prompts.h"
#include "ui/station_state.h"

#include <QString>

class QWidget;

namespace vshell
{

// The "HydroSystem" menu and the "HydroSystemParams" button: the hydraulic power, the panel, the
// channel commands and the value dialogs. Hidden and disabled unless the settings file says
// "HydroSystem=1" in "PortParams", which is how a service engineer reaches them.
class HydroFlow : public Workflow
{
public:
    HydroFlow(QWidget &mainWindow, vui::StationState &state, vui::Prompts &prompts,
              vui::ModalRunner &modal, QString settingsPath);

    void wire(const MainControls &c, const ItemHandlers &on) override;

private:
    void Pouwer1Click();
    void Parameters1Click();
    void command(vlink::HydroKey key);
    template <typename Dialog> void valueDialog();

    QWidget &mainWindow_;
    vui::StationState &state_;
    vui::Prompts &prompts_;
    vui::ModalRunner &modal_;
    QString settingsPath_;
};

} // namespace vshell
