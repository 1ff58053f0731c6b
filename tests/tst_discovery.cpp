#include "link/discovery.h"
#include "support/memory_port.h"

#include <QTest>
#include <memory>

using namespace vlink;
Q_DECLARE_METATYPE(vp::Kind)
Q_DECLARE_METATYPE(DeviceKind)
Q_DECLARE_METATYPE(Discovery::Message)

namespace
{

QByteArray bytes(std::initializer_list<int> list)
{
    QByteArray out;
    for (int b : list)
        out.append(char(b));
    return out;
}

// Up to six lines, each described as "" (no port), "printer", "via-depot", "depot", "none" (echoes
// only) or "silent", optionally followed by "@BPS".
class Lines
{
public:
    explicit Lines(const QStringList &setup)
    {
        std::array<vp::Device *, PortCount> devices{};
        for (int i = 0; i < setup.size() && i < PortCount; ++i) {
            if (setup[i].isEmpty())
                continue;
            const QStringList parts = setup[i].split('@');
            const int speed = parts.size() > 1 ? parts[1].toInt() : 57600;
            auto device = std::make_unique<vp::Device>(kindOf(parts[0]), speed);
            device->faults().silent = parts[0] == "silent";
            devices[std::size_t(i)] = device.get();
            owned_[std::size_t(i)] = std::move(device);
        }
        port_ = std::make_unique<MemoryPort>(devices);
    }
    MemoryPort &port() { return *port_; }
    vp::Device &device(int i) { return *owned_[std::size_t(i)]; }

private:
    static vp::Kind kindOf(const QString &name)
    {
        if (name == "via-depot")
            return vp::Kind::ViaDepot;
        if (name == "depot")
            return vp::Kind::Depot;
        if (name == "none")
            return vp::Kind::None;
        return vp::Kind::Printer;
    }

    std::array<std::unique_ptr<vp::Device>, PortCount> owned_;
    std::unique_ptr<MemoryPort> port_;
};

// Where a byte first reached a device in a run of the discovery, so a fault can be aimed at it.
qint64 indexOf(const QStringList &setup, int line, int remembered, quint8 byte)
{
    Lines dry(setup);
    StartupDiscovery(dry.port(), remembered);
    return dry.device(line).received().indexOf(char(byte));
}

} // namespace

class TestDiscovery : public QObject
{
    Q_OBJECT

private slots:
    void detectDevice_data();
    void detectDevice();
    void startup_data();
    void startup();
    void timeParamsMessageOnlyForScannedPort_data();
    void timeParamsMessageOnlyForScannedPort();
    void probeToneReported();
    void connectPort();
};

void TestDiscovery::detectDevice_data()
{
    QTest::addColumn<vp::Kind>("kind");
    QTest::addColumn<QByteArray>("version");
    QTest::addColumn<DeviceKind>("found");
    QTest::addColumn<QByteArray>("probe");
    QTest::addColumn<int>("u0");
    const QByteArray v = "DEPOT V2.1";
    const QByteArray direct = bytes({0x07, 0x01, 0x00});
    const QByteArray viaDepot = bytes({0x07, 0x01, 0x01});
    QTest::newRow("printer") << vp::Kind::Printer << v << DeviceKind::Printer << direct << 0;
    QTest::newRow("printer via Depot")
        << vp::Kind::ViaDepot << v << DeviceKind::PrinterViaDepot << viaDepot << 1;
    QTest::newRow("Depot alone") << vp::Kind::Depot << v << DeviceKind::DepotOnly << viaDepot << 1;
    QTest::newRow("nothing answers") << vp::Kind::None << v << DeviceKind::None << direct << 0;
    // A version of blanks and control characters is no Depot: the printer is probed directly.
    QTest::newRow("blank version, printer behind")
        << vp::Kind::ViaDepot << QByteArray(" \t\r\n\x01 ") << DeviceKind::Printer << direct << 0;
    QTest::newRow("blank version, Depot alone")
        << vp::Kind::Depot << QByteArray("  ") << DeviceKind::None << direct << 0;
    QTest::newRow("empty version")
        << vp::Kind::Depot << QByteArray() << DeviceKind::None << direct << 0;
}

void TestDiscovery::detectDevice()
{
    QFETCH(vp::Kind, kind);
    QFETCH(QByteArray, version);
    QFETCH(DeviceKind, found);
    QFETCH(QByteArray, probe);
    QFETCH(int, u0);
    vp::Device device(kind);
    device.logos().version = version;
    MemoryPort port(device);
    QCOMPARE(DetectDevice(port), found);
    const QByteArray seen = device.received();
    QVERIFY(seen.startsWith(bytes({0x12, 0x23, 0x56, 0x30})));
    QVERIFY2(seen.contains(probe), seen.toHex(' '));
    QCOMPARE(device.logos().u0Count, u0);
    QVERIFY(device.settled());
}

void TestDiscovery::startup_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("remembered");
    QTest::addColumn<bool>("connected");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("speed");
    QTest::addColumn<DeviceKind>("kind");
    QTest::addColumn<Discovery::Message>("message");
    const auto none = Discovery::Message::None;
    const auto notFound = Discovery::Message::DeviceNotFound;
    QTest::newRow("printer on COM3") << QStringList{"", "", "printer"} << -1 << true << 2 << "57600"
                                     << DeviceKind::Printer << none;
    QTest::newRow("remembered port wins") << QStringList{"", "printer", "", "", "printer"} << 4
                                          << true << 4 << "57600" << DeviceKind::Printer << none;
    QTest::newRow("else the lower port") << QStringList{"", "printer", "", "", "printer"} << -1
                                         << true << 1 << "57600" << DeviceKind::Printer << none;
    QTest::newRow("remembered port absent") << QStringList{"", "printer", "", "", "printer"} << 0
                                            << true << 1 << "57600" << DeviceKind::Printer << none;
    QTest::newRow("remembered port silent") << QStringList{"", "", "printer", "silent"} << 3 << true
                                            << 2 << "57600" << DeviceKind::Printer << none;
    QTest::newRow("kind 0 ends the scan")
        << QStringList{"none", "printer"} << -1 << true << 0 << "57600" << DeviceKind::None << none;
    QTest::newRow("Depot alone") << QStringList{"depot@19200"} << -1 << true << 0 << "19200"
                                 << DeviceKind::DepotOnly << none;
    QTest::newRow("printer via Depot at 9600")
        << QStringList{"silent", "", "", "", "", "via-depot@9600"} << 5 << true << 5 << "9600"
        << DeviceKind::PrinterViaDepot << none;
    QTest::newRow("nothing answers") << QStringList{"silent", "", "silent"} << 0 << false << -1
                                     << "" << DeviceKind::None << notFound;
    QTest::newRow("no ports at all")
        << QStringList{} << -1 << false << -1 << "" << DeviceKind::None << notFound;
}

void TestDiscovery::startup()
{
    QFETCH(QStringList, lines);
    QFETCH(int, remembered);
    QFETCH(bool, connected);
    QFETCH(int, port);
    QFETCH(QString, speed);
    QFETCH(DeviceKind, kind);
    QFETCH(Discovery::Message, message);
    Lines line(lines);
    const Discovery found = StartupDiscovery(line.port(), remembered);
    for (int i = 0; i < PortCount; ++i)
        QCOMPARE(found.present[std::size_t(i)], i < lines.size() && !lines[i].isEmpty());
    QCOMPARE(found.connected, connected);
    QCOMPARE(found.message, message);
    QCOMPARE(found.connection.port, port);
    QCOMPARE(found.connection.speedText, speed);
    QCOMPARE(found.connection.kind, kind);
    if (!connected)
        return;
    QCOMPARE(found.connection.portName, QString("Com%1").arg(port + 1));
    QVERIFY(line.port().isOpen());
    QCOMPARE(line.port().deviceName(), QString("memory:COM%1").arg(port + 1));
    QVERIFY(line.port().timeoutsApplied());
    const bool printer = kind == DeviceKind::Printer || kind == DeviceKind::PrinterViaDepot;
    QCOMPARE(found.connection.timeParamsRead, printer);
    if (printer)
        QCOMPARE(found.connection.timeParams[13], line.device(port).printer().fontCount);
    const bool depot = kind == DeviceKind::DepotOnly || kind == DeviceKind::PrinterViaDepot;
    QCOMPARE(found.connection.depotBankReset, depot);
    // A printer behind a Depot gets a second U0 after its clock was read.
    QCOMPARE(line.device(port).logos().u0Count,
             kind == DeviceKind::PrinterViaDepot ? 2 : (depot ? 1 : 0));
}

void TestDiscovery::timeParamsMessageOnlyForScannedPort_data()
{
    QTest::addColumn<int>("remembered");
    QTest::addColumn<Discovery::Message>("message");
    QTest::newRow("taken by the scan") << -1 << Discovery::Message::TimeParamsReadError;
    QTest::newRow("remembered port") << 1 << Discovery::Message::None;
}

void TestDiscovery::timeParamsMessageOnlyForScannedPort()
{
    QFETCH(int, remembered);
    QFETCH(Discovery::Message, message);
    const QStringList setup{"", "printer"};
    const qint64 at = indexOf(setup, 1, remembered, 0x08);
    QVERIFY(at > 0);
    Lines line(setup);
    line.device(1).faults().wrongEchoAt = at;
    const Discovery found = StartupDiscovery(line.port(), remembered);
    QVERIFY(found.connected);
    QCOMPARE(found.connection.port, 1);
    QCOMPARE(found.connection.kind, DeviceKind::Printer);
    QVERIFY(!found.connection.timeParamsRead);
    QCOMPARE(found.message, message);
}

void TestDiscovery::probeToneReported()
{
    const QStringList setup{"printer"};
    const qint64 at = indexOf(setup, 0, -1, 0x07);
    Lines line(setup);
    line.device(0).faults().dropEchoAt = at;
    const Discovery found = StartupDiscovery(line.port(), -1);
    QVERIFY(found.connected);
    QCOMPARE(found.connection.kind, DeviceKind::None);
    QVERIFY(found.connection.probeTone);

    Lines good(setup);
    QVERIFY(!StartupDiscovery(good.port(), -1).connection.probeTone);
}

void TestDiscovery::connectPort()
{
    Lines line({"printer", "", "silent"});
    PortFlags present{true, false, true, false, false, false};
    Connection found;
    found.port = 99;
    // An absent port is not even opened.
    QVERIFY(!ConnectPort(line.port(), 1, present, found));
    QVERIFY(!line.port().isOpen());
    QVERIFY(!ConnectPort(line.port(), -1, present, found));
    QVERIFY(!ConnectPort(line.port(), 6, present, found));
    // A port the station believes absent is not tried either.
    present[0] = false;
    QVERIFY(!ConnectPort(line.port(), 0, present, found));
    QVERIFY(!line.port().isOpen());
    QCOMPARE(found.port, 99);
    // A silent port fails after the speed probe and stays open.
    QVERIFY(!ConnectPort(line.port(), 2, present, found));
    QVERIFY(line.port().isOpen());
    QCOMPARE(found.port, 99);
    present[0] = true;
    QVERIFY(ConnectPort(line.port(), 0, present, found));
    QCOMPARE(found.port, 0);
    QCOMPARE(found.portName, QString("Com1"));
    QCOMPARE(found.kind, DeviceKind::Printer);
    QVERIFY(found.timeParamsRead);
}

QTEST_GUILESS_MAIN(TestDiscovery)
#include "tst_discovery.moc"
