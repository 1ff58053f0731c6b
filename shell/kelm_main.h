#pragma once

#include "link/command_table.h"
#include "link/discovery.h"
#include "link/logo_buffer.h"
#include "shell/about_box.h"
#include "shell/instance_lock.h"
#include "shell/logo_flow.h"
#include "shell/main_controls.h"
#include "shell/port_params.h"
#include "shell/station_environment.h"
#include "ui/messages.h"
#include "ui/prompt_gate.h"
#include "ui/station_state.h"

#include <QMainWindow>
#include <QPointer>
#include <functional>

namespace vshell
{

// The application title: the lock, the exception boxes and the window caption use it.
inline const QString ApplicationTitle = QStringLiteral("VuvaZuvevov");

// The main window. It owns the station's state for the whole run, receives every message the
// other windows send, and runs the commands of its menus and tool bar.
class TAutoControl : public QMainWindow
{
    Q_OBJECT

public:
    explicit TAutoControl(StationEnvironment env, QWidget *parent = nullptr);
    ~TAutoControl() override;

    // False in a second process: the window is closed already and nothing else is created.
    bool firstInstance() const { return state_.firstInstance; }
    vui::StationState &state() { return state_; }
    const MainControls &controls() const { return c_; }
    vui::Prompts &prompts() { return prompts_; }
    vui::ModalRunner &modal() { return modal_; }
    LogoFlow &logoFlow() { return logoFlow_; }

    // The windows created at start in the first instance, after the main window.
    void createStartWindows();
    TAboutBox *aboutBox() const { return aboutBox_; }
    TPortForms *portForms() const { return portForms_; }

    // Activation: the start-up discovery while not connected.
    void FormActivate();
    // Depot-only mode follows the check box.
    void CBDepotNowClick();
    // Sets the check box as discovery does, which runs its click handler.
    void setDepotNow(bool on);

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // kelm_main_wiring.cpp
    void wire();
    void on(QAction *action, std::function<void()> handler);
    void onOpen(QMenu *menu, std::function<void()> handler);
    void guarded(const std::function<void()> &step);
    void reportException(const std::exception &e);

    // kelm_main_activate.cpp
    void queueActivation();
    void runDiscovery();
    void swallowReturnFromBox();
    void applyConnection(const vlink::Connection &found);
    bool connectPort(int index);

    // kelm_main_enable.cpp: each menu enables its items when it opens.
    void Tools1Click();
    void Graphics1Click();
    void Mark1Click();
    void Params1Click();
    void Printer1Click();

    // kelm_main_port.cpp
    void Selectport1Click();
    void giveUpPort();
    void showNoDevice();
    void showPortItems();
    void ComClick(int index);
    void PrinterClick(int number);
    bool selectPrinter(int index);

    // kelm_main_commands.cpp
    // The command's failure text, or "Ok" where its success shows it.
    void report(vlink::PrinterCommand command, bool ok);
    void command(vlink::PrinterCommand command);
    void StartClick();
    void Halt1Click();
    void AutoRunStop1Click();
    void TbAutoRunStopClick();
    void MarkDelete1Click();
    void LoadDateTimeMClick();
    void TestButton1Click();
    void TestButton3Click();

    // kelm_main_config.cpp: the mark configuration submenus.
    enum class MarkOption { MirrorHorizontally, MirrorVertically, BreakPointCorrection };
    void ConfigOpen(MarkOption option);
    void ConfigSet(MarkOption option, bool on);

    // kelm_main_files.cpp: open, help, about, port settings.
    void FileOpen1Click();
    void HelpItemClick();
    void About1Click();
    void EditCut1Click();

    // kelm_main_logos.cpp: the logo load and read items and their tool buttons.
    void wireLogos();

    // kelm_main_dispatch.cpp
    void dispatch(vui::Message message);
    void closeSteps();

    StationEnvironment env_;
    vlink::Port &port_;
    vui::PromptGate gate_;
    vui::Prompts &prompts_;
    vui::ModalRunner &modal_;
    vlink::LogoBuffer logo_;
    vui::StationState state_;
    InstanceLock lock_;
    MainControls c_;
    LogoFlow logoFlow_;
    QPointer<TAboutBox> aboutBox_;
    QPointer<TPortForms> portForms_;

    bool closed_ = false;
    bool discovering_ = false;
    bool activationQueued_ = false;
    bool swallowActivation_ = false;
};

} // namespace vshell
