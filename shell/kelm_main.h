#pragma once

#include "link/logo_buffer.h"
#include "shell/application_title.h"
#include "shell/batch_flow.h"
#include "shell/cell_editors_flow.h"
#include "shell/clipboard_flow.h"
#include "shell/help_flow.h"
#include "shell/hydro_flow.h"
#include "shell/instance_lock.h"
#include "shell/item_handlers.h"
#include "shell/job_flow.h"
#include "shell/library_flow.h"
#include "shell/logo_flow.h"
#include "shell/machine_commands_flow.h"
#include "shell/main_controls.h"
#include "shell/mark_config_flow.h"
#include "shell/mark_dialogs_flow.h"
#include "shell/mark_preview_flow.h"
#include "shell/menu_enabling.h"
#include "shell/params_flow.h"
#include "shell/placement_flow.h"
#include "shell/port_flow.h"
#include "shell/spec_func_flow.h"
#include "shell/station_environment.h"
#include "shell/text_fragment_flow.h"
#include "ui/messages.h"
#include "ui/prompt_gate.h"
#include "ui/station_state.h"

#include <QMainWindow>
#include <array>

namespace vshell
{

// The main window. It owns the station's state for the whole run and receives every message the
// other windows send; each feature's items, dialogs and messages belong to its workflow object.
class TAutoControl : public QMainWindow
{
    Q_OBJECT

public:
    explicit TAutoControl(StationEnvironment env, QWidget *parent = nullptr);
    ~TAutoControl() override;

    // False in a second process: the window is closed already and nothing else is created.
    bool firstInstance() const { return state_.firstInstance; }
    vui::StationState &state() { return state_; }

    // The windows created at start in the first instance, after the main window.
    void createStartWindows();
    TAboutBox *aboutBox() const { return help_.aboutBox(); }
    MarkPreviewFlow &markPreview() { return preview_; }
    TPortForms *portForms() const { return port_.portForms(); }
    TParamsForm *paramsForm() const { return params_.paramsForm(); }
    BatchFlow &batchFlow() { return batch_; }
    JobFlow &jobFlow() { return jobs_; }

    // Activation: the start-up discovery while not connected.
    void FormActivate() { port_.FormActivate(); }
    // Sets the Depot-only check box as discovery does, which runs its click handler.
    void setDepotNow(bool on) { menus_.setDepotNow(on); }

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // Every feature, in the order they are wired and asked for their messages.
    std::array<Workflow *, 18> workflows();
    void wire();
    void dispatch(vui::Message message);
    void closeSteps();

    StationEnvironment env_;
    vui::PromptGate gate_;
    vlink::LogoBuffer logo_;
    vui::StationState state_;
    InstanceLock lock_;
    MainControls c_;
    ItemHandlers handlers_;

    MenuEnabling menus_;
    PortFlow port_;
    MachineCommandsFlow machine_;
    MarkConfigFlow markConfig_;
    LogoFlow logos_;
    TextFragmentFlow text_;
    HelpFlow help_;
    MarkPreviewFlow preview_;
    ParamsFlow params_;
    HydroFlow hydro_;
    CellEditorsFlow editors_;
    SpecFuncFlow specFunc_;
    MarkDialogsFlow markDialogs_;
    LibraryFlow library_;
    PlacementFlow placement_;
    ClipboardFlow clipboard_;
    BatchFlow batch_;
    JobFlow jobs_;

    bool closed_ = false;
};

} // namespace vshell
