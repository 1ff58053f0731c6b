#pragma once

#include "shell/kelm_main.h"
#include "support/memory_port.h"
#include "support/modal_driver.h"
#include "support/prompt_recorder.h"
#include "ui/modal_runner.h"
#include "vprinter/device.h"

#include <QTemporaryDir>
#include <array>
#include <memory>

class QMenu;

// A main window wired to virtual printers in memory, with its settings file, lock and working
// folder in a temporary folder, the prompt recorder and a modal driver.
class StationFixture
{
public:
    StationFixture();
    ~StationFixture();
    StationFixture(const StationFixture &) = delete;
    StationFixture &operator=(const StationFixture &) = delete;

    // A device on COM<port+1>; ports without one are absent.
    vp::Device &addDevice(int port, vp::Kind kind = vp::Kind::Printer, int speed = 57600);
    vp::Device &device(int port) { return *devices_[std::size_t(port)]; }
    void writeSettings(const QString &text);
    QString readSettings() const;

    // Creates the main window and the windows of the start. Call once, after adding devices.
    vshell::TAutoControl &start();
    // start(), the first activation, and the records cleared.
    vshell::TAutoControl &startConnected();
    vshell::TAutoControl &window() { return *window_; }
    vui::StationState &state() { return window_->state(); }

    QAction *action(const char *name) const;
    QMenu *menu(const char *name) const;
    // Opens a menu the way the operator does: its items are enabled as it opens, and what it has
    // to say is shown.
    void open(const char *menuName) const;
    QString lmx() const;

    QString settingsPath() const { return dir.filePath(QStringLiteral("vuvazuvevov.dev")); }
    QString lockPath() const { return dir.filePath(QStringLiteral("lock")); }
    QString workDir() const { return dir.path(); }

    QTemporaryDir dir;
    // The device file each port maps to, as the settings file's "DeviceN" keys give them.
    vlink::DeviceMap deviceFiles;
    std::unique_ptr<MemoryPort> port;
    PromptRecorder prompts;
    vui::ModalRunner modal;
    ModalDriver driver{modal};
    int endCalls = 0;

private:
    std::array<std::unique_ptr<vp::Device>, vlink::PortCount> devices_;
    std::unique_ptr<vshell::TAutoControl> window_;
};
