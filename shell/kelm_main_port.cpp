#include "shell/kelm_main.h"

#include "shell/printer_select.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QMenu>

namespace vshell
{

namespace
{

// Repaints; the operator's input waits, so a click cannot close the menu that is opening.
void repaintNow()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace

void TAutoControl::Selectport1Click()
{
    repaintNow();
    if (!connectPort(state_.line.currentPort))
        giveUpPort();
    showPortItems();
}

// The port no longer answers: let it go and find one again at once.
void TAutoControl::giveUpPort()
{
    state_.line.portOpen = false;
    port_.closeCom();
    state_.line.connected = false;
    showNoDevice();
    repaintNow();
    FormActivate();
}

// Nothing is connected until the search finds a device again.
void TAutoControl::showNoDevice()
{
    state_.line.deviceKind = vlink::DeviceKind::None;
    c_.CBDevice->setCurrentIndex(int(vlink::DeviceKind::None));
    setDepotNow(false);
}

void TAutoControl::showPortItems()
{
    for (int i = 0; i < vlink::PortCount; ++i) {
        QAction *item = c_.Com[std::size_t(i)];
        item->setVisible(state_.line.portPresent[std::size_t(i)]);
        item->setEnabled(i != state_.line.currentPort);
    }
}

void TAutoControl::ComClick(int index)
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

bool TAutoControl::selectPrinter(int index)
{
    if (!SelectPrinterExchange(port_, index))
        return false;
    state_.line.connected = true;
    state_.line.currentPrinter = index;
    c_.LMX->setText(QStringLiteral("Select printer № %1").arg(index + 1));
    return true;
}

void TAutoControl::PrinterClick(int number)
{
    if (selectPrinter(number - 1)) {
        prompts_.message(vui::TextOk, vui::CaptionInfo);
        return;
    }
    // Whatever the frame did on the line, the printer selected before is selected again.
    selectPrinter(state_.line.currentPrinter);
    prompts_.error(QStringLiteral("Printer Not Found"));
}

} // namespace vshell
