#include "shell/kelm_main.h"

#include "shell/main_menus.h"
#include "shell/main_panel.h"
#include "shell/main_toolbar.h"
#include "shell/pictures.h"
#include "shell/station_settings.h"

namespace vshell
{

namespace
{

vlink::CodePage stationCodePage(const QString &settingsPath)
{
    return vlink::CodePage::fromSettings(vlink::SettingsFile(settingsPath));
}

} // namespace

TAutoControl::TAutoControl(StationEnvironment env, QWidget *parent)
    : QMainWindow(parent), env_(std::move(env)), gate_(env_.prompts), state_(env_.port, logo_),
      lock_(env_.lockPath), handlers_(*this, gate_), menus_(state_.line, c_),
      port_(*this, state_, gate_, env_.modal, menus_, c_, handlers_, env_.settingsPath),
      machine_(state_.line, state_.clock, gate_, *this), markConfig_(state_.line, gate_),
      logos_({state_.line, state_.logos, gate_, stationCodePage(env_.settingsPath), this, {}},
             env_.modal, this, env_.workDir),
      text_(*this, state_.line, state_.mark, gate_, env_.modal, env_.settingsPath),
      help_(*this, gate_, env_.modal, env_.workDir),
      preview_(*this, state_.line, state_.mark, gate_, env_.modal),
      params_(*this, state_.line, gate_, env_.modal),
      hydro_(*this, state_, gate_, env_.modal, env_.settingsPath),
      editors_(*this, state_.line, state_.clock, gate_, env_.modal, env_.settingsPath),
      specFunc_(*this, state_.line, gate_, env_.modal),
      markDialogs_(*this, state_.line, gate_, env_.modal),
      library_({state_.line, state_.logos, gate_, stationCodePage(env_.settingsPath), this, {}},
               env_.modal, this, logos_),
      placement_({state_.line, state_.logos, gate_, stationCodePage(env_.settingsPath), this, {}},
                 env_.modal, this, logos_, env_.workDir),
      clipboard_({state_.line, state_.logos, gate_, stationCodePage(env_.settingsPath), this, {}},
                 env_.modal, this, logos_, env_.workDir),
      batch_(*this, state_.line, gate_, env_.modal, env_.settingsPath),
      jobs_(*this, state_.line, gate_, env_.modal, env_.settingsPath)
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
    library_.setOpenLogo(
        [this](vgfx::LogoStore store, int number) { placement_.openFromLibrary(store, number); });
}

TAutoControl::~TAutoControl() = default;

std::array<Workflow *, 18> TAutoControl::workflows()
{
    return {&menus_,       &port_,    &machine_,   &markConfig_, &logos_,   &text_,
            &help_,        &preview_, &params_,    &hydro_,      &editors_, &specFunc_,
            &markDialogs_, &library_, &placement_, &clipboard_,  &batch_,   &jobs_};
}

void TAutoControl::wire()
{
    for (Workflow *workflow : workflows())
        workflow->wire(c_, handlers_);
    handlers_.on(c_.FileExitItem, [this] { close(); });
}

void TAutoControl::createStartWindows()
{
    if (!state_.firstInstance)
        return;
    // The logo placement windows and the editors' help join here as their windows are built.
    help_.createWindows();
    port_.createWindows();
    params_.createWindows();
}

} // namespace vshell
