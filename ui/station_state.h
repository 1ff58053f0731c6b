#pragma once

#include "link/discovery.h"
#include "link/logo_buffer.h"
#include "link/machine_commands.h"
#include "link/port.h"
#include "ui/clock.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QString>
#include <array>

namespace vui
{

// Whether the logo dialogs load a bitmap into a device or read a logo out of one.
enum class LogoMode { Load, Read };

// Which cell routine the text fragment editor runs when it opens.
enum class CellRoutine { Read, Write };

// What the main window keeps for the whole run. The main window owns it; every dialog gets it
// through its constructor and reads or sets the fields its step needs before it posts a message.
struct StationState {
    StationState(vlink::Port &linePort, vlink::LogoBuffer &logoBuffer)
        : port(linePort), logo(logoBuffer)
    {
    }

    // The one serial line and the one in-memory logo.
    vlink::Port &port;
    vlink::LogoBuffer &logo;
    // Where the windows send and post their messages.
    QPointer<QObject> mainWindow;
    // The computer's clock.
    Clock clock;

    // The line and what answers on it.
    bool firstInstance = false;
    bool connected = false;
    bool portOpen = false;
    int currentPort = 1; // 0..5 for COM1..COM6, -1 while none
    QString portName = QStringLiteral("com1");
    QString speedText = QStringLiteral("9600");
    vlink::PortFlags portPresent{};
    std::array<quint8, vlink::PortCount> portMap{0, 1, 2, 3, 4, 5};
    vlink::DeviceKind deviceKind = vlink::DeviceKind::None;
    bool depotOnly = false;
    int currentPrinter = 0; // 0..5

    // The printer's clock and time parameters (byte 1 is the mark configuration byte) and the
    // font count F: text fonts are 0..F-1.
    vlink::TimeParams timeParams{};
    quint8 fontCount = 16;
    bool clockError = false;

    // The Depot unit.
    int lastDepotBank = -1;
    int currentDepotBank = 0;
    int depotLogoDialogTop = 267;

    // The logo workflow.
    LogoMode logoMode = LogoMode::Load;
    QString logoFileName;
    int zoomBase = 4;
    int zoomCurrent = 4;
    int logoNumber = 0;
    int placementRow = 1;
    int placementColumn = 1;
    quint8 placementLogo = 0;
    int placementWork = 0; // the placement dialogs' second working value
    bool readRequested = false;
    bool redraw = false;
    bool placementRunning = false;
    bool depotBuffer = false;
    bool grid = false;
    bool errorFlag = false;
    // A logo read that must not close the dialog that asked for it.
    bool suppressDisplay = false;
    // Logo loads and logo lists address the Depot unit while set.
    bool depotTarget = false;
    // The logo library lists the Depot while set.
    bool depotView = false;
    // The placement dialogs take their logo from the Depot while set.
    bool depotSource = false;
    // After a Depot logo write the library window is refreshed while set.
    bool listRefresh = false;
    // A caller that opens a load dialog on a file it wrote itself names the logo here; the
    // dialog takes the name once.
    bool namePending = false;
    QString pendingName;
    // The Depot has no rename: a logo is written again under a new name. The Depot load dialog
    // takes the request once, when it shows.
    bool depotRename = false;
    int depotRenameNumber = 0;
    // Where the logo dialogs saved a logo to a file last.
    QString logoSaveDir;

    // The mark preview and the editors.
    QImage markImage;
    bool markGrid = false;
    bool stampRead = false;
    bool textEditor = false;
    CellRoutine cellRoutine = CellRoutine::Read;
    bool clipboardReopen = false;
    int clipboardWork = 0;

    // The hydraulic values the panel remembers.
    int pressureBias = 0;
    int liquidThreshold = 0;
    int workPressure = 80;
};

} // namespace vui
