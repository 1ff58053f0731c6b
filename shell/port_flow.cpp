#include "shell/port_flow.h"

#include "link/command_table.h"
#include "link/printer_clock.h"
#include "link/printer_select.h"
#include "shell/device_box.h"
#include "ui/busy_cursor.h"
#include "ui/repaint_now.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QMenu>

namespace vshell
{

PortFlow::PortFlow(QWidget &mainWindow, vui::StationState &state, vui::PromptGate &prompts,
                   vui::ModalRunner &modal, MenuEnabling &menus, const MainControls &c,
                   const ItemHandlers &handlers, QString settingsPath)
    : mainWindow_(mainWindow), state_(state), line_(state.line), prompts_(prompts), modal_(modal),
      menus_(menus), c_(c), handlers_(handlers), settingsPath_(std::move(settingsPath))
{
}

void PortFlow::wire(const MainControls &c, const ItemHandlers &on)
{
    on.onOpen(c.Selectport1, [this] { Selectport1Click(); });
    on.onOpen(c.Printer1, [this] { Printer1Click(); });
    for (int i = 0; i < vlink::PortCount; ++i) {
        on.on(c.Com[std::size_t(i)], [this, i] { ComClick(i); });
        on.on(c.Printers[std::size_t(i)], [this, i] { PrinterClick(i + 1); });
    }
    on.on(c.EditCut1, [this] { EditCut1Click(); });
}

void PortFlow::createWindows()
{
    portForms_ = new TPortForms(line_, prompts_, settingsPath_, &mainWindow_);
}

void PortFlow::activated()
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
        &mainWindow_,
        [this] {
            activationQueued_ = false;
            handlers_.guarded([this] { FormActivate(); });
        },
        Qt::QueuedConnection);
}

void PortFlow::FormActivate()
{
    if (!state_.firstInstance || line_.connected || discovering_)
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

void PortFlow::runDiscovery()
{
    const int remembered = line_.currentPort;
    const vlink::Discovery found = vlink::StartupDiscovery(line_.port, remembered);
    line_.portPresent = found.present;
    if (!found.connected) {
        line_.currentPort = -1;
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
    line_.connected = true;
    if (!rememberedPort)
        prompts_.beep();
}

// Decided once the box is closed, which is later when a menu opening holds it.
void PortFlow::swallowReturnFromBox()
{
    prompts_.then([this] { swallowActivation_ = !mainWindow_.isActiveWindow(); });
}

void PortFlow::applyConnection(const vlink::Connection &found)
{
    line_.portName = found.portName;
    line_.speedText = found.speedText;
    line_.currentPort = found.port;
    line_.deviceKind = found.kind;
    line_.portOpen = true;
    if (found.depotBankReset)
        state_.logos.currentDepotBank = 0;
    if (found.probeFailedOnFirstByte)
        prompts_.tone();
    c_.CBDevice->setCurrentIndex(deviceBoxIndex(found.kind));
    menus_.setDepotNow(false);
    if (found.kind == vlink::DeviceKind::DepotOnly)
        menus_.setDepotNow(true);
    if (found.timeParamsRead) {
        line_.timeParams = found.timeParams;
        if (!line_.depotOnly)
            line_.fontCount = vlink::timeParam(found.timeParams, vlink::TimeParam::FontCount);
    }
}

bool PortFlow::connectPort(int index)
{
    vlink::Connection found;
    bool ok = false;
    try {
        ok = vlink::ConnectPort(line_.port, index, line_.portPresent, found);
    } catch (const vlink::ExCom &e) {
        // The port vanished since the presence test: reported, then handled as a failed connect
        // so the flags do not claim a port that is not open.
        handlers_.reportException(e);
        ok = false;
    }
    if (ok)
        applyConnection(found);
    return ok;
}

void PortFlow::Selectport1Click()
{
    vui::repaintNow();
    if (!connectPort(line_.currentPort))
        giveUpPort();
    showPortItems();
}

// The port no longer answers: let it go and find one again at once.
void PortFlow::giveUpPort()
{
    line_.portOpen = false;
    line_.port.closeCom();
    line_.connected = false;
    showNoDevice();
    vui::repaintNow();
    FormActivate();
}

// Nothing is connected until the search finds a device again.
void PortFlow::showNoDevice()
{
    line_.deviceKind = vlink::DeviceKind::None;
    c_.CBDevice->setCurrentIndex(deviceBoxIndex(vlink::DeviceKind::None));
    menus_.setDepotNow(false);
}

void PortFlow::showPortItems()
{
    for (int i = 0; i < vlink::PortCount; ++i) {
        QAction *item = c_.Com[std::size_t(i)];
        item->setVisible(line_.portPresent[std::size_t(i)]);
        item->setEnabled(i != line_.currentPort);
    }
}

void PortFlow::ComClick(int index)
{
    c_.LMX->setText(QStringLiteral("Wait Please"));
    QCoreApplication::processEvents();
    if (connectPort(index)) {
        prompts_.message(vui::TextOk, vui::CaptionInfo);
        return;
    }
    prompts_.error(QStringLiteral(" Wait Please. After 5-10 seconds Programm select Initial Port"));
    giveUpPort();
}

void PortFlow::Printer1Click()
{
    for (QAction *a : c_.Printers)
        a->setEnabled(line_.portOpen);
}

bool PortFlow::selectPrinter(int index)
{
    if (!vlink::SelectPrinterExchange(line_.port, index))
        return false;
    line_.connected = true;
    line_.currentPrinter = index;
    c_.LMX->setText(QStringLiteral("Select printer № %1").arg(index + 1));
    return true;
}

void PortFlow::PrinterClick(int number)
{
    if (selectPrinter(number - 1)) {
        prompts_.message(vui::TextOk, vui::CaptionInfo);
        return;
    }
    // Whatever the frame did on the line, the printer selected before is selected again.
    selectPrinter(line_.currentPrinter);
    prompts_.error(vlink::failureText(vlink::PrinterCommand::PrinterSelect));
}

void PortFlow::EditCut1Click()
{
    if (portForms_)
        modal_.show(*portForms_);
}

} // namespace vshell
