#pragma once

#include "link/machine_commands.h"
#include "link/port.h"

#include <QString>
#include <array>

namespace vlink
{

// What answers on a line, by its kind number 0..3.
enum class DeviceKind { None = 0, DepotOnly = 1, PrinterViaDepot = 2, Printer = 3 };

using PortFlags = std::array<bool, PortCount>;

// What a successful connection found.
struct Connection {
    int port = -1;     // 0..5
    QString portName;  // "Com1".."Com6"
    QString speedText; // "57600", "38400", "19200" or "9600"
    DeviceKind kind = DeviceKind::None;
    bool timeParamsRead = false; // kinds 2 and 3 read the clock and time parameters
    TimeParams timeParams{};
    // Kinds 1 and 2 sent the Depot's U0: the caller's current Depot bank is 0.
    bool depotBankReset = false;
    // The printer probe's logo read failed on its very first byte.
    bool probeFailedOnFirstByte = false;
};

// The speed probe: 57600, 38400, 19200, 9600; the first that echoes 0x0D wins.
bool DetectSpeed(Port &port, QString &speedText);
// Depot version, then the printer probe; sends the Depot's U0 where a Depot answered.
// failedOnFirstByte, when given, tells whether the probe's logo read failed on its first byte.
DeviceKind DetectDevice(Port &port, bool *failedOnFirstByte = nullptr);
// Opens a present port, detects speed and device. Throws ExCom when the port cannot be opened.
bool ConnectPort(Port &port, int index, const PortFlags &present, Connection &found);

// The start-up discovery: the remembered port first, then every present port in order.
struct Discovery {
    enum class Message {
        None,
        TimeParamsReadError, // "TimeParamsRead Error" / "Error": a port was taken by the scan
        DeviceNotFound,      // "Device not found" / "Error"
    };
    PortFlags present{};
    bool connected = false;
    Connection connection;
    Message message = Message::None;
};
Discovery StartupDiscovery(Port &port, int rememberedPort);

} // namespace vlink
