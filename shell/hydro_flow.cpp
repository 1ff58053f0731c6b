#include "shell/hydro_flow.h"

#include "link/command_table.h"
#include "link/hydro_commands.h"
#include "link/settings_file.h"
#include "shell/hydro_form.h"
#include "shell/hydro_menu.h"
#include "shell/hydro_value_dialogs.h"

#include <QMenu>
#include <QWidget>

namespace vshell
{

namespace
{

bool serviceMode(const QString &settingsPath)
{
    return vlink::SettingsFile(settingsPath)
               .value(QLatin1String(vlink::PortParamsSection), QStringLiteral("HydroSystem"))
               .trimmed() == QLatin1String("1");
}

} // namespace

HydroFlow::HydroFlow(QWidget &mainWindow, vui::StationState &state, vui::Prompts &prompts,
                     vui::ModalRunner &modal, QString settingsPath)
    : mainWindow_(mainWindow), state_(state), prompts_(prompts), modal_(modal),
      settingsPath_(std::move(settingsPath))
{
}

void HydroFlow::wire(const MainControls &c, const ItemHandlers &on)
{
    const bool shown = serviceMode(settingsPath_);
    for (QAction *a : {c.HydroSystem1->menuAction(), c.TbHydroSystemParams}) {
        a->setVisible(shown);
        a->setEnabled(shown);
    }
    const auto item = [&](const char *name) {
        return c.HydroSystem1->findChild<QAction *>(QString::fromLatin1(name));
    };
    on.on(item("Pouwer1"), [this] { Pouwer1Click(); });
    on.on(item("Parameters1"), [this] { Parameters1Click(); });
    on.on(c.TbHydroSystemParams, [this] { Parameters1Click(); });
    using vlink::HydroKey;
    const auto entered = [&](HydroKey key) { return item(hydroMenuItem(key).item); };
    on.on(entered(HydroKey::PressureSensorBias), [this] { valueDialog<THydro1>(); });
    on.on(entered(HydroKey::ThresholdLevel), [this] { valueDialog<THydro2Form>(); });
    on.on(entered(HydroKey::WorkPressure), [this] { valueDialog<THydro3Form>(); });
    for (const vlink::HydroAction &a : vlink::hydroActions())
        if (!a.entered)
            on.on(item(hydroMenuItem(a.key).item), [this, key = a.key] { command(key); });
}

void HydroFlow::Pouwer1Click()
{
    if (vlink::HydroPower(state_.line.port))
        prompts_.message(vui::TextOk, vui::CaptionInfo);
    else
        prompts_.error(vlink::failureText(vlink::PrinterCommand::HydroPower));
}

void HydroFlow::Parameters1Click()
{
    THydroForm panel(state_.line, state_.hydro, prompts_, modal_, &mainWindow_);
    panel.FormCreate();
    modal_.exec(panel);
}

void HydroFlow::command(vlink::HydroKey key)
{
    const vlink::HydroAction &a = vlink::hydroAction(key);
    for (const QString &text : vlink::HydroChannelWrite(state_.line.port, a.channel, a.value,
                                                        QString::fromLatin1(a.failureText)))
        prompts_.error(text);
}

template <typename Dialog> void HydroFlow::valueDialog()
{
    Dialog dialog(state_.line, state_.hydro, prompts_, &mainWindow_);
    modal_.exec(dialog);
}

} // namespace vshell
