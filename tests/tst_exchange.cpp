#include "link/discovery.h"
#include "link/exchange.h"
#include "link/logo_commands.h"
#include "link/logo_record.h"
#include "link/mark_image.h"
#include "shell/answer_watch.h"
#include "support/memory_port.h"
#include "support/table_rows.h"
#include "support/wire_bytes.h"

#include <QElapsedTimer>
#include <QTest>
#include <functional>
#include <memory>

using namespace vlink;
using namespace std::chrono_literals;

namespace
{

// A port with a clock of its own: a silent read costs its time-out in that clock, none in ours.
class OwnTimePort : public MemoryPort
{
public:
    using MemoryPort::MemoryPort;
    Clock::time_point now() const override { return now_; }
    void sleepUntil(Clock::time_point moment) override { now_ = std::max(now_, moment); }
    bool readByte(quint8 &byte) override { return readByteWithin(byte, ReadTimeoutMs(1)); }
    bool readByteWithin(quint8 &byte, int timeoutMs) override
    {
        if (MemoryPort::readByte(byte))
            return true;
        now_ += std::chrono::milliseconds(timeoutMs);
        return false;
    }
    Clock::duration passed() const { return now_ - Clock::time_point{}; }

private:
    Clock::time_point now_{};
};

// Up to six lines, each "" (no port), "printer", "via-depot", "depot", "none" (echoes only) or
// "silent", optionally followed by "@BPS".
class Lines
{
public:
    explicit Lines(const QStringList &setup)
    {
        std::array<vp::Device *, PortCount> devices{};
        for (int i = 0; i < setup.size(); ++i) {
            if (setup[i].isEmpty())
                continue;
            const QStringList parts = setup[i].split('@');
            const vp::Kind kind = parts[0] == "via-depot" ? vp::Kind::ViaDepot
                                  : parts[0] == "depot"   ? vp::Kind::Depot
                                  : parts[0] == "none"    ? vp::Kind::None
                                                          : vp::Kind::Printer;
            owned_[std::size_t(i)] =
                std::make_unique<vp::Device>(kind, parts.size() > 1 ? parts[1].toInt() : 57600);
            owned_[std::size_t(i)]->faults().silent = parts[0] == "silent";
            devices[std::size_t(i)] = owned_[std::size_t(i)].get();
        }
        port_ = std::make_unique<MemoryPort>(devices);
    }
    MemoryPort &port() { return *port_; }
    vp::Device &device(int i) { return *owned_[std::size_t(i)]; }

private:
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

class TestExchange : public QObject
{
    Q_OBJECT

private slots:
    void sendBytePurgesBeforeTheEchoCompare();
    void receiveByteAttempts();
    void trimText();
    void detectSpeed();
    void waitsRunOnThePortsClock();
    void aWatchedLineKeepsItsClock_data();
    void aWatchedLineKeepsItsClock();
    void detectDevice();
    void startup();
    void faultsDuringTheConnect();
};

void TestExchange::sendBytePurgesBeforeTheEchoCompare()
{
    // A stale byte that differs would fail an unpurged compare; a stale copy of the byte sent
    // would hide a wrong echo.
    const struct {
        const char *name;
        QByteArray stale;
        bool wrongEcho, sent;
    } rows[] = {{"stale byte differs, echo right", "\x55\x41", false, true},
                {"stale copy, echo wrong", "\x17", true, false}};
    forEachRow(rows, [](const auto &row) {
        vp::Device device;
        if (row.wrongEcho)
            device.faults().wrongEchoAt = 0;
        MemoryPort port(device);
        port.inject(row.stale);
        QCOMPARE(SendByte(port, 0x17), row.sent);
        QCOMPARE(port.purges(), 1);
        quint8 left = 0;
        QVERIFY(!port.readByte(left));
    });
}

void TestExchange::receiveByteAttempts()
{
    // 10 ms between attempts: nine pauses before the tenth attempt, ten when it fails too.
    for (const int emptyReads : {9, 10}) {
        const bool arrives = emptyReads < ReceiveAttempts;
        vp::Device device;
        MemoryPort port(device);
        port.inject("\x42");
        port.holdReads(emptyReads);
        quint8 byte = 0;
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(ReceiveByte(port, byte), arrives);
        QVERIFY(timer.elapsed() >= emptyReads * ReceiveRetryMs);
        QCOMPARE(port.readAttempts(), ReceiveAttempts);
        // The byte received goes back as its echo.
        QCOMPARE(port.written(), arrives ? QByteArray("\x42") : QByteArray());
    }
}

// Cyrillic letters of Windows-1251 are above 0x7F: they are no control codes.
void TestExchange::trimText()
{
    QCOMPARE(TrimText(QByteArray("\x00\x01x y\x20\x1F\r\n", 9)), QByteArray("x y"));
    QCOMPARE(TrimText("!\xB9\xC0! "), QByteArray("!\xB9\xC0!"));
}

void TestExchange::detectSpeed()
{
    const struct {
        const char *name;
        int deviceSpeed;
        QString text;
        int probes;
    } rows[] = {{"9600 after three failed probes", 9600, "9600", 4},
                {"4800 is never tried", 4800, "", 4}};
    forEachRow(rows, [](const auto &row) {
        vp::Device device(vp::Kind::None, row.deviceSpeed);
        MemoryPort port(device);
        QString text = "unchanged";
        QCOMPARE(DetectSpeed(port, text), !row.text.isEmpty());
        QCOMPARE(text, row.text.isEmpty() ? QString("unchanged") : row.text);
        QCOMPARE(port.written(), QByteArray(row.probes, '\x0D'));
        // Found or not, the port stays at the last speed it accepted.
        QCOMPARE(port.lineSpeed(), row.text.isEmpty() ? 9600 : row.deviceSpeed);
    });
}

void TestExchange::waitsRunOnThePortsClock()
{
    // Pauses, receive retries and reply deadlines all wait in the port's time: against a silent
    // line they pass at least their bound there, and next to nothing here.
    LogoBuffer logo;
    MarkImage image;
    const struct {
        const char *name;
        std::function<bool(Port &)> command;
        Port::Clock::duration atLeast;
    } rows[] = {
        {"pause", [](Port &p) { return Sequence(p).delay(700).ok(); }, 700ms},
        {"receive retries",
         [](Port &p) {
             quint8 b = 0;
             return ReceiveByte(p, b);
         },
         ReceiveAttempts * ReceiveRetryMs * 1ms},
        {"logo view reply", [&logo](Port &p) { return PrinterLogoView(p, 5, logo); },
         LogoViewWaitMs * 1ms},
        {"mark image rows", [&image](Port &p) { return MarkImageRead(p, image); },
         MarkImageRowsWaitMs * 1ms},
    };
    forEachRow(rows, [](const auto &row) {
        vp::Device device(vp::Kind::None);
        OwnTimePort port(device);
        QElapsedTimer timer;
        timer.start();
        const bool ok = row.command(port);
        QCOMPARE(ok, std::string_view(row.name) == "pause");
        QVERIFY(port.passed() >= row.atLeast);
        QVERIFY2(timer.elapsed() < 300, qPrintable(QString::number(timer.elapsed())));
    });
}

void TestExchange::aWatchedLineKeepsItsClock_data()
{
    QTest::addColumn<int>("pauseMs");
    QTest::addColumn<int>("passedMs");
    QTest::newRow("pause") << 700 << 700;
    // Each silent read costs its time-out, each retry its pause.
    QTest::newRow("receive retries") << 0 << ReceiveAttempts * (ReadTimeoutMs(1) + ReceiveRetryMs);
}

void TestExchange::aWatchedLineKeepsItsClock()
{
    QFETCH(int, pauseMs);
    QFETCH(int, passedMs);
    vp::Device device(vp::Kind::None);
    OwnTimePort port(device);
    vshell::AnswerWatch watch(port);
    QElapsedTimer timer;
    timer.start();
    quint8 b = 0;
    QCOMPARE(pauseMs > 0 ? Sequence(watch).delay(pauseMs).ok() : ReceiveByte(watch, b),
             pauseMs > 0);
    QCOMPARE(port.passed(), passedMs * 1ms);
    QCOMPARE(watch.now(), port.now());
    QVERIFY2(timer.elapsed() < 300, qPrintable(QString::number(timer.elapsed())));
}

void TestExchange::detectDevice()
{
    const QByteArray direct = bytes({0x07, 0x01, 0x00});
    const QByteArray viaDepot = bytes({0x07, 0x01, 0x01});
    const struct {
        const char *name;
        vp::Kind kind;
        QByteArray version;
        DeviceKind found;
        QByteArray probe;
        int u0;
    } rows[] = {
        {"printer via Depot", vp::Kind::ViaDepot, "V", DeviceKind::PrinterViaDepot, viaDepot, 1},
        {"Depot alone", vp::Kind::Depot, "V", DeviceKind::DepotOnly, viaDepot, 1},
        // A version of blanks and control characters is no Depot: the printer is probed directly.
        {"blank version, printer behind", vp::Kind::ViaDepot, " \t\r\n\x01 ", DeviceKind::Printer,
         direct, 0},
        {"empty version, Depot alone", vp::Kind::Depot, "", DeviceKind::None, direct, 0},
    };
    forEachRow(rows, [](const auto &row) {
        vp::Device device(row.kind);
        device.logos().version = row.version;
        MemoryPort port(device);
        QCOMPARE(DetectDevice(port), row.found);
        QVERIFY(device.received().startsWith(bytes({0x12, 0x23, 0x56, 0x30})));
        QVERIFY2(device.received().contains(row.probe), device.received().toHex(' '));
        QCOMPARE(device.logos().u0Count, row.u0);
    });
}

void TestExchange::startup()
{
    const struct {
        const char *name;
        QString lines; // one entry a port, split at "|"
        int remembered;
        int port; // -1: not connected, "Device not found"
        QString speed;
        DeviceKind kind;
    } rows[] = {
        {"remembered port wins", "|printer|||printer", 4, 4, "57600", DeviceKind::Printer},
        {"else the lower port", "|printer|||printer", -1, 1, "57600", DeviceKind::Printer},
        {"remembered port silent", "||printer|silent", 3, 2, "57600", DeviceKind::Printer},
        {"kind 0 ends the scan", "none|printer", -1, 0, "57600", DeviceKind::None},
        {"Depot alone", "depot@19200", -1, 0, "19200", DeviceKind::DepotOnly},
        {"via Depot at 9600", "silent|||||via-depot@9600", 5, 5, "9600",
         DeviceKind::PrinterViaDepot},
        {"nothing answers", "silent||silent", 0, -1, "", DeviceKind::None},
        {"no ports at all", "", -1, -1, "", DeviceKind::None},
    };
    forEachRow(rows, [](const auto &row) {
        const QStringList lines = row.lines.split(u'|');
        Lines line(lines);
        const Discovery found = StartupDiscovery(line.port(), row.remembered);
        for (int i = 0; i < PortCount; ++i)
            QCOMPARE(found.present[std::size_t(i)], !lines.value(i).isEmpty());
        QCOMPARE(found.connected, row.port >= 0);
        QCOMPARE(found.message,
                 row.port >= 0 ? Discovery::Message::None : Discovery::Message::DeviceNotFound);
        QCOMPARE(found.connection.port, row.port);
        QCOMPARE(found.connection.speedText, row.speed);
        QCOMPARE(found.connection.kind, row.kind);
        if (row.port < 0)
            return;
        QCOMPARE(found.connection.portName, QString("Com%1").arg(row.port + 1));
        QVERIFY(line.port().isOpen());
        const bool printer =
            row.kind == DeviceKind::Printer || row.kind == DeviceKind::PrinterViaDepot;
        QCOMPARE(found.connection.timeParamsRead, printer);
        const bool depot =
            row.kind == DeviceKind::DepotOnly || row.kind == DeviceKind::PrinterViaDepot;
        QCOMPARE(found.connection.depotBankReset, depot);
        // A printer behind a Depot gets a second U0 after its clock was read.
        QCOMPARE(line.device(row.port).logos().u0Count,
                 row.kind == DeviceKind::PrinterViaDepot ? 2 : int(depot));
    });
}

void TestExchange::faultsDuringTheConnect()
{
    // A failed clock read is reported only for a port the scan took, not the remembered one.
    const QStringList setup{"", "printer"};
    for (const int remembered : {-1, 1}) {
        Lines line(setup);
        line.device(1).faults().wrongEchoAt = indexOf(setup, 1, remembered, 0x08);
        const Discovery found = StartupDiscovery(line.port(), remembered);
        QVERIFY(found.connected && !found.connection.timeParamsRead);
        QCOMPARE(found.message, remembered < 0 ? Discovery::Message::TimeParamsReadError
                                               : Discovery::Message::None);
    }
    // The printer probe's first byte unanswered asks for the tone.
    Lines line({"printer"});
    line.device(0).faults().dropEchoAt = indexOf({"printer"}, 0, -1, 0x07);
    const Discovery found = StartupDiscovery(line.port(), -1);
    QCOMPARE(found.connection.kind, DeviceKind::None);
    QVERIFY(found.connection.probeFailedOnFirstByte);
}

QTEST_GUILESS_MAIN(TestExchange)
#include "tst_exchange.moc"
