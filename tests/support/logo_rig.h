#pragma once

#include "graphics/model/logo_store.h"
#include "link/logo_record.h"
#include "shell/logo_flow.h"
#include "support/main_window_stand_in.h"
#include "support/memory_port.h"
#include "support/modal_driver.h"
#include "support/prompt_recorder.h"
#include "support/station_parts.h"
#include "support/test_widgets.h"

#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>

// Three columns of one band: the bottom dot of column 0, the top dot of column 1 and the fifth
// dot from the bottom of column 2.
inline QString threeDots(const QString &path)
{
    return writeBmp(path, 3, 8, [](int x, int y) {
        return (x == 0 && y == 7) || (x == 1 && y == 0) || (x == 2 && y == 3);
    });
}

// A dialog action: the number typed into the logo number box, then the button pressed.
inline ModalDriver::Action typeNumber(const QString &number, const char *button = "BtOk")
{
    return [number, button](QDialog &d) {
        child<QLineEdit>(d, "LogoNumEdit")->setText(number);
        click(d, button);
    };
}

// The logo dialogs as the main window runs them, on a printer behind a Depot unit in memory:
// the one place their tests build the station's state and the flow that opens the dialogs.
// The main window's stand-in answers the dialogs' messages through the flow.
struct LogoRig {
    using Action = ModalDriver::Action;

    LogoRig()
    {
        mainWindow.answer = [this](vui::Message m) { flow.dispatch(m); };
    }
    QString file(const QString &name) const { return dir.filePath(name); }
    // What the next modal dialog gets; a dialog the action left open is closed after it, so a
    // test fails on its checks instead of hanging.
    void whenOpen(const Action &action)
    {
        driver.whenOpen([action](QDialog &d) {
            action(d);
            if (d.isVisible())
                d.reject();
        });
    }
    // The next modal dialog is left to itself and the main window; should neither close it, it is
    // closed after a second, so the test fails on its checks instead of hanging.
    void leaveOpen()
    {
        driver.whenOpen([](QDialog &d) { QTimer::singleShot(1000, &d, [&d] { d.reject(); }); });
    }
    // "LogoLoad" or "DepotLogoLoad" with these files chosen; by default three dots.
    void load(vgfx::LogoStore store, const QStringList &files = {})
    {
        prompts.chooseFiles(files.isEmpty() ? QStringList{threeDots(file("a.bmp"))} : files);
        flow.logoLoad(store);
    }
    // The store's dialog in Read mode, as the Depot's items open it.
    void openRead(vgfx::LogoStore store)
    {
        logos.logoMode = vui::LogoMode::Read;
        logos.logo.fill(0);
        flow.openFresh(store);
    }
    QByteArray &stored(vgfx::LogoStore store, int number, int bank = 0)
    {
        auto &logos = device.logos();
        return store == vgfx::LogoStore::Printer
                   ? logos.printer[std::size_t(number)]
                   : logos.depot[std::size_t(bank)][std::size_t(number)];
    }
    QByteArray sent() const { return device.received(); }

    QTemporaryDir dir;
    vp::Device device{vp::Kind::ViaDepot};
    MemoryPort port{device};
    PromptRecorder prompts;
    MainWindowStandIn mainWindow;
    StationParts parts{port, prompts, &mainWindow};
    vui::LogoWorkflow &logos = parts.logos;
    vui::ModalRunner modal;
    ModalDriver driver{modal};
    vshell::LogoFlow flow{parts.logoFlow(modal, dir.path())};
};

// The logo rig with the flow of more of the main window's items, which answers their messages
// first, as the main window does.
template <typename Flow> struct FlowRig : LogoRig {
    FlowRig()
    {
        mainWindow.answer = [this](vui::Message m) {
            if (!items.dispatch(m))
                flow.dispatch(m);
        };
    }
    Flow items{parts.logoContext(), modal, nullptr, flow, dir.path()};
};

// The printer's record of a two-column logo (0x81, 0x30) as a write leaves it in the device.
inline QByteArray logoRecord(const QByteArray &name)
{
    vlink::LogoBuffer logo;
    logo.width = 2;
    logo.height = 1;
    logo.at(0, 0) = 0x81;
    logo.at(1, 0) = 0x30;
    logo.name = name;
    return QByteArray(1, char(logo.height)) + char(logo.width) +
           vlink::LogoBlock(logo, vlink::DotEncoding::Reversed);
}

// The name a stored record carries, blank-padded to eight.
inline QByteArray storedName(const QByteArray &record)
{
    return record.mid(vp::LogoState::NameOffset, vp::LogoState::NameLength);
}
