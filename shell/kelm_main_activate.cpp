#include "shell/kelm_main.h"

#include "ui/busy_cursor.h"

#include <QCheckBox>
#include <QComboBox>

namespace vshell
{

void TAutoControl::queueActivation()
{
    if (swallowActivation_) {
        // The window comes back from the box its own discovery showed: not a new activation.
        swallowActivation_ = false;
        return;
    }
    if (activationQueued_)
        return;
    activationQueued_ = true;
    // Queued, so the window is drawn before a discovery holds the line for a few seconds.
    QMetaObject::invokeMethod(
        this,
        [this] {
            activationQueued_ = false;
            guarded([this] { FormActivate(); });
        },
        Qt::QueuedConnection);
}

void TAutoControl::FormActivate()
{
    state_.logos.depotLogoDialogTop = 267;
    if (!state_.firstInstance || state_.line.connected || discovering_)
        return;
    discovering_ = true;
    const vui::BusyCursor busy;
    try {
        runDiscovery();
    } catch (...) {
        discovering_ = false;
        throw;
    }
    discovering_ = false;
}

void TAutoControl::runDiscovery()
{
    const int remembered = state_.line.currentPort;
    const vlink::Discovery found = vlink::StartupDiscovery(port_, remembered);
    state_.line.portPresent = found.present;
    state_.line.portMap = {0, 1, 2, 3, 4, 5};
    if (!found.connected) {
        state_.line.currentPort = -1;
        prompts_.error(QStringLiteral("Device not found"));
        prompts_.beep();
        prompts_.beep();
        swallowReturnFromBox();
        return;
    }
    // The remembered port answering at once is the quiet case: no beep.
    const bool rememberedPort =
        found.connection.port == remembered && found.message == vlink::Discovery::Message::None;
    applyConnection(found.connection);
    if (found.message == vlink::Discovery::Message::TimeParamsReadError) {
        prompts_.error(vlink::failureText(vlink::PrinterCommand::TimeParamsRead));
        swallowReturnFromBox();
    }
    state_.line.connected = true;
    if (!rememberedPort)
        prompts_.beep();
}

// Decided once the box is closed, which is later when a menu opening holds it.
void TAutoControl::swallowReturnFromBox()
{
    gate_.then([this] { swallowActivation_ = !isActiveWindow(); });
}

void TAutoControl::applyConnection(const vlink::Connection &found)
{
    state_.line.portName = found.portName;
    state_.line.speedText = found.speedText;
    state_.line.currentPort = found.port;
    state_.line.deviceKind = found.kind;
    state_.line.portOpen = true;
    if (found.depotBankReset)
        state_.logos.currentDepotBank = 0;
    if (found.probeTone)
        prompts_.tone(100, 100);
    c_.CBDevice->setCurrentIndex(int(found.kind));
    setDepotNow(false);
    if (found.kind == vlink::DeviceKind::DepotOnly)
        setDepotNow(true);
    if (found.timeParamsRead) {
        state_.line.timeParams = found.timeParams;
        if (!state_.line.depotOnly)
            state_.line.fontCount = found.timeParams[vlink::TimeParamCount - 1];
    }
}

bool TAutoControl::connectPort(int index)
{
    vlink::Connection found;
    bool ok = false;
    try {
        ok = vlink::ConnectPort(port_, index, state_.line.portPresent, found);
    } catch (const vlink::ExCom &e) {
        // The port vanished since the presence test: reported, then handled as a failed connect
        // so the flags do not claim a port that is not open.
        reportException(e);
        ok = false;
    }
    if (ok)
        applyConnection(found);
    return ok;
}

void TAutoControl::setDepotNow(bool on)
{
    c_.CBDepotNow->setChecked(on);
    CBDepotNowClick();
}

} // namespace vshell
