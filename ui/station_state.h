#pragma once

#include "link/discovery.h"
#include "link/logo_buffer.h"
#include "link/machine_commands.h"
#include "link/mark_image.h"
#include "link/names_list.h"
#include "link/port.h"
#include "ui/clock.h"

#include <QImage>
#include <QString>
#include <array>
#include <optional>

namespace vui
{

// Whether the logo dialogs load a bitmap into a device or read a logo out of one.
enum class LogoMode { Load, Read };

// Which cell routine the text fragment editor runs when it opens.
enum class CellRoutine { Read, Write };

// What the main window keeps for the whole run, by workflow. The main window owns it; a dialog
// gets, through its constructor, the parts its workflow uses, and reads or sets the fields its
// step needs before it posts a message. A one-shot request is an optional: set with its payload,
// taken once.

// The line and what answers on it, and what the station read of the printer.
struct LineState {
    explicit LineState(vlink::Port &linePort) : port(linePort) {}

    // The one serial line.
    vlink::Port &port;
    bool connected = false;
    bool portOpen = false;
    int currentPort = 1; // 0..5 for COM1..COM6, -1 while none
    QString portName = QStringLiteral("com1");
    QString speedText = QStringLiteral("9600");
    vlink::PortFlags portPresent{};
    vlink::DeviceKind deviceKind = vlink::DeviceKind::None;
    bool depotOnly = false;
    int currentPrinter = 0; // 0..5

    // The printer's clock and time parameters (byte 1 is the mark configuration byte) and the
    // font count F: text fonts are 0..F-1.
    vlink::TimeParams timeParams{};
    quint8 fontCount = 16;
};

// The logo workflow: the one in-memory logo and what the logo dialogs, the logo library, the
// placement dialogs and the clipboard import hand on to each other through the main window.
struct LogoWorkflow {
    explicit LogoWorkflow(vlink::LogoBuffer &logoBuffer) : logo(logoBuffer) {}

    vlink::LogoBuffer &logo;
    LogoMode logoMode = LogoMode::Load;
    QString logoFileName;
    int zoomBase = 4;
    int zoomCurrent = 4;
    bool readRequested = false;
    bool redraw = false;
    bool grid = false;
    bool errorFlag = false;
    // Depot target: logo loads and logo lists address the Depot unit while set.
    bool depotTarget = false;
    // Depot view: the logo library lists the Depot while set.
    bool depotView = false;
    // Depot source: the placement dialogs take their logo from the Depot while set.
    bool depotSource = false;
    // List-refresh: after a Depot logo write the library window is refreshed while set.
    bool listRefresh = false;
    // A caller that opens a load dialog on a file it wrote itself names the logo here; the dialog
    // takes the name once.
    std::optional<QString> pendingName;
    // The Depot has no rename: the logo of this number is written again under its new name. The
    // Depot load dialog takes the request once, when it shows.
    std::optional<int> depotRename;
    // Where the logo dialogs saved a logo to a file last.
    QString logoSaveDir;

    // The Depot unit.
    int lastDepotBank = -1; // -1: none chosen yet
    int currentDepotBank = 0;

    // The placement dialogs.
    int placementRow = 1;
    int placementColumn = 1;
    quint8 placementLogo = 0;
    // Logo shown: a placement dialog read a new logo and asks to be opened again when it closes.
    bool placementShown = false;

    // The logo library: the names list last read, and whether the library opens again with a
    // fresh one once it has closed.
    vlink::LogoNames names;
    bool libraryReopen = false;

    // The clipboard import.
    bool clipboardReopen = false;
    int clipboardWork = 0;
};

// The mark preview and the fragment editors.
struct MarkEditing {
    // The mark image store and the flags that hand it from the read to the preview: read-start
    // (the progress window reads when it shows), redraw (the preview draws when it shows),
    // stamp-read (the preview is to open) and the mark grid.
    vlink::MarkImage markImage;
    bool readStart = false;
    bool redraw = false;
    // Mark grid.
    bool markGrid = false;
    bool stampRead = false;
    CellRoutine cellRoutine = CellRoutine::Read;
};

// The hydraulic values the panel remembers.
struct HydroValues {
    int pressureBias = 0;
    int liquidThreshold = 0;
    int workPressure = 80;
};

struct StationState {
    StationState(vlink::Port &linePort, vlink::LogoBuffer &logoBuffer)
        : line(linePort), logos(logoBuffer)
    {
    }

    bool firstInstance = false;
    // The computer's clock.
    Clock clock;
    LineState line;
    LogoWorkflow logos;
    MarkEditing mark;
    HydroValues hydro;
};

} // namespace vui
