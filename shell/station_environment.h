#pragma once

#include "link/com_io.h"
#include "link/port.h"
#include "shell/instance_lock.h"
#include "ui/modal_runner.h"
#include "ui/prompts.h"

#include <QDir>
#include <QString>
#include <functional>

namespace vshell
{

// What the main window is given from outside: the line, the seams, and where its files live.
struct StationEnvironment {
    StationEnvironment(vlink::Port &linePort, vui::Prompts &shownPrompts,
                       vui::ModalRunner &modalRunner, QString settingsFile)
        : port(linePort), prompts(shownPrompts), modal(modalRunner),
          settingsPath(std::move(settingsFile))
    {
    }

    vlink::Port &port;
    vui::Prompts &prompts;
    vui::ModalRunner &modal;
    // The settings file: beside the program when that folder is writable, else in the user's
    // configuration folder.
    QString settingsPath;
    QString lockPath = instanceLockPath();
    // The working folder: its Logo folder and help.html.
    QString workDir = QDir::currentPath();
    // The device file behind each of COM1..COM6, for the port menu's status tips.
    vlink::DeviceMap devices = vlink::defaultDeviceMap();
    // Ends the application once the main window has closed; a test records it instead.
    std::function<void()> endApplication;
};

} // namespace vshell
