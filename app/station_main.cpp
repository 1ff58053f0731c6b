// The control station: one main window that owns the line, on the one user-interface thread.
#include "link/com_io.h"
#include "link/settings_file.h"
#include "link/settings_location.h"
#include "shell/kelm_main.h"
#include "shell/station_application.h"
#include "shell/station_environment.h"
#include "ui/modal_runner.h"
#include "ui/qt_prompts.h"

#include <QTimer>

namespace
{

// A picture of the main window for the documentation, when VUVA_SCREENSHOT names a file: taken
// once the window has settled, after which the station runs on as usual.
void scheduleScreenshot(QWidget &window)
{
    const QString path = qEnvironmentVariable("VUVA_SCREENSHOT");
    if (path.isEmpty())
        return;
    const int delayMs = qEnvironmentVariableIntValue("VUVA_SCREENSHOT_DELAY_MS");
    QTimer::singleShot(delayMs > 0 ? delayMs : 4000, &window,
                       [&window, path] { window.grab().save(path); });
}

} // namespace

int main(int argc, char **argv)
{
    vshell::StationApplication app(argc, argv);
    const QString settingsPath = vlink::settingsLocation(
        vlink::SettingsFile::pathForProgram(QCoreApplication::applicationFilePath()));
    const vlink::DeviceMap devices = vlink::deviceMapFrom(vlink::SettingsFile(settingsPath));
    vlink::ComIo port(devices);
    vui::QtPrompts prompts;
    vui::ModalRunner modal;

    vshell::StationEnvironment env{port, prompts, modal, settingsPath};
    env.devices = devices;
    env.endApplication = [] { QCoreApplication::quit(); };
    vshell::TAutoControl window(env);
    if (!window.firstInstance())
        return 0;
    prompts.setParent(&window);
    window.createStartWindows();
    window.resize(920, 540);
    window.show();
    // Discovery runs when the window first becomes active; ask for that on desktops (and bare X
    // servers) that do not activate a new window by themselves.
    window.activateWindow();
    scheduleScreenshot(window);
    return app.exec();
}
