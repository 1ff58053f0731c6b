#include "shell/kelm_main.h"

#include "shell/about_box.h"
#include "shell/main_menus.h"
#include "shell/main_panel.h"
#include "shell/main_toolbar.h"
#include "shell/pictures.h"
#include "shell/port_params.h"
#include "shell/station_settings.h"

namespace vshell
{

TAutoControl::TAutoControl(StationEnvironment env, QWidget *parent)
    : QMainWindow(parent), env_(std::move(env)), port_(env_.port), gate_(env_.prompts),
      prompts_(gate_), modal_(env_.modal), state_(port_, logo_), lock_(env_.lockPath),
      logoFlow_({state_.line,
                 state_.logos,
                 prompts_,
                 vlink::CodePage::fromSettings(vlink::SettingsFile(env_.settingsPath)),
                 this,
                 {}},
                modal_, this, env_.workDir)
{
    setObjectName(QStringLiteral("AutoControl"));
    setWindowTitle(ApplicationTitle);
    setWindowIcon(QIcon(programPicture(64)));
    state_.firstInstance = lock_.held();
    buildMenus(*this, c_, env_.devices);
    buildToolBar(*this, c_);
    buildPanel(*this, c_);
    if (!state_.firstInstance) {
        // Another station runs already: this one closes at once and leaves it untouched.
        close();
        return;
    }
    const PortSettings settings = readPortSettings(env_.settingsPath);
    state_.line.portName = settings.com;
    state_.line.currentPort = settings.comInteger;
    state_.line.speedText = settings.speed;
    vui::registerMessages();
    wire();
    wireLogos();
}

TAutoControl::~TAutoControl() = default;

void TAutoControl::createStartWindows()
{
    if (!state_.firstInstance)
        return;
    // The logo placement windows and the editors' help join here as their windows are built.
    aboutBox_ = new TAboutBox(this);
    portForms_ = new TPortForms(state_.line, env_.settingsPath, this);
}

} // namespace vshell
