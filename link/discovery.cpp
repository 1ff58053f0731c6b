#include "link/discovery.h"

#include "link/depot_commands.h"
#include "link/exchange.h"
#include "link/logo_commands.h"

namespace vlink
{

namespace
{

// The logo each probe reads: through a Depot the printer's logo 1, directly logo 0.
constexpr int ProbeLogoViaDepot = 1;
constexpr int ProbeLogoDirect = 0;

bool printerProbe(Port &port, int number, bool *failedOnFirstByte)
{
    LogoBuffer scratch; // the probe's logo is of no interest: the caller's buffer stays as it was
    const LogoOutcome outcome = PrinterLogoRead(port, number, scratch);
    if (failedOnFirstByte)
        *failedOnFirstByte = outcome.failedOnFirstByte;
    return outcome.ok;
}

bool printerBehind(DeviceKind kind)
{
    return kind == DeviceKind::Printer || kind == DeviceKind::PrinterViaDepot;
}

// The steps after a speed answered on the port: the port is taken whatever the device kind.
void takePort(Port &port, int index, const QString &speedText, Connection &found)
{
    found = Connection{};
    found.port = index;
    found.portName = QStringLiteral("Com%1").arg(index + 1);
    found.speedText = speedText;
    found.kind = DetectDevice(port, &found.probeFailedOnFirstByte);
    found.depotBankReset =
        found.kind == DeviceKind::DepotOnly || found.kind == DeviceKind::PrinterViaDepot;
    if (printerBehind(found.kind))
        found.timeParamsRead = TimeParamsRead(port, found.timeParams);
    if (found.kind == DeviceKind::PrinterViaDepot) {
        int bank = 0;
        DPCommandU0(port, bank);
    }
}

} // namespace

DeviceKind DetectDevice(Port &port, bool *failedOnFirstByte)
{
    if (failedOnFirstByte)
        *failedOnFirstByte = false;
    QByteArray version;
    if (DPVersionRead(port, version) && !TrimText(version).isEmpty()) {
        DeviceKind kind = DeviceKind::DepotOnly;
        if (printerProbe(port, ProbeLogoViaDepot, failedOnFirstByte))
            kind = DeviceKind::PrinterViaDepot;
        int bank = 0;
        DPCommandU0(port, bank);
        return kind;
    }
    return printerProbe(port, ProbeLogoDirect, failedOnFirstByte) ? DeviceKind::Printer
                                                                  : DeviceKind::None;
}

bool ConnectPort(Port &port, int index, const PortFlags &present, Connection &found)
{
    if (index < 0 || index >= PortCount || !present[std::size_t(index)])
        return false;
    port.openCom(index);
    QString speedText;
    if (!DetectSpeed(port, speedText))
        return false; // the port stays open at the last speed it took
    takePort(port, index, speedText, found);
    return true;
}

Discovery StartupDiscovery(Port &port, int rememberedPort)
{
    Discovery result;
    for (int i = 0; i < PortCount; ++i)
        result.present[std::size_t(i)] = port.testCom(i);

    if (ConnectPort(port, rememberedPort, result.present, result.connection)) {
        result.connected = true;
        return result;
    }

    result.connection = Connection{};
    for (int i = 0; i < PortCount; ++i) {
        if (!result.present[std::size_t(i)])
            continue;
        port.openCom(i);
        QString speedText;
        if (!DetectSpeed(port, speedText))
            continue;
        takePort(port, i, speedText, result.connection);
        // Only a port taken by the scan reports a failed clock read.
        if (printerBehind(result.connection.kind) && !result.connection.timeParamsRead)
            result.message = Discovery::Message::TimeParamsReadError;
        result.connected = true;
        return result;
    }
    result.message = Discovery::Message::DeviceNotFound;
    return result;
}

} // namespace vlink
