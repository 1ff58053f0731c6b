#include "link/hydro_commands.h"
#include "support/memory_port.h"
#include "support/table_rows.h"
#include "support/wire_bytes.h"

#include <QTest>

using namespace vlink;

class TestHydroCommands : public QObject
{
    Q_OBJECT

private slots:
    void wireBytes();
    void threeStepsOnFaults();
    void decoding();
    void channelGuardsTheDevice();
};

// Each command inside an open keyboard channel, as the station sends them.
void TestHydroCommands::wireBytes()
{
    QByteArray text;
    const struct {
        const char *name;
        Command command;
        QByteArray wire;
    } rows[] = {
        {"open", KeyBoardChanelOpen, bytes({0x07, 0x0A})},
        {"close", KeyBoardChanelClose, bytes({0x12, 0x2A, 0x55, 0x30})},
        {"read", [&](Port &p) { return HydroParamsRead(p, text) && text.size() == 37; },
         bytes({0x12, 0x2A, 0x4C, 0x31})},
        {"power", HydroPower, bytes({0x12, 0x2A, 0x53, 0x30})},
        {"value 0 goes raw", [](Port &p) { return HydroValueWrite(p, 0x2A, 0); },
         bytes({0x12, 0x2A, 0x43, 0x2A, 0x12, 0x2A, 0x56, 0x00})},
    };
    forEachRow(rows, [](const auto &row) {
        vp::Device device;
        device.hydro().channelOpen = true;
        MemoryPort port(device);
        QVERIFY(row.command(port));
        QCOMPARE(port.written().toHex(' '), row.wire.toHex(' '));
    });
}

// A failed write still closes the channel; a failed open sends nothing more.
void TestHydroCommands::threeStepsOnFaults()
{
    const QByteArray opened = bytes({0x07, 0x0A, 0x12, 0x2A, 0x43, 0x2E});
    const QByteArray close = bytes({0x12, 0x2A, 0x55, 0x30});
    const struct {
        const char *name;
        int dropAt;
        QByteArray wire;
        QStringList shown;
        bool open;
    } rows[] = {
        {"write fails", 5, opened + close, {"Flow failed"}, false},
        {"open fails", 1, opened.left(2), {"KeyBoardChanel Open Error!!"}, true},
        {"close fails",
         13,
         opened + bytes({0x12, 0x2A, 0x56, 0x50}) + close,
         {"KeyBoardChanel Close Error!!"},
         false},
    };
    forEachRow(rows, [](const auto &row) {
        vp::Device device;
        device.faults().dropEchoAt = row.dropAt;
        MemoryPort port(device);
        port.expectProtocolErrors(-1);
        QCOMPARE(HydroChannelWrite(port, 0x2E, 0x50, QStringLiteral("Flow failed")), row.shown);
        QCOMPARE(port.written().toHex(' '), row.wire.toHex(' '));
        QCOMPARE(device.hydro().channelOpen, row.open);
    });
}

void TestHydroCommands::decoding()
{
    const QByteArray good = "01F4000000000045000000000000000000000\r";
    const struct {
        const char *name;
        QByteArray text;
        bool decoded;
    } rows[] = {
        {"sound", good, true},
        {"36 characters", good.left(36), false},
        {"no hexadecimal digit", QByteArray(good).replace(2, 1, "G"), false},
        {"small hexadecimal digit", QByteArray(good).replace(3, 1, "f"), false},
        {"hexadecimal in a decimal row", QByteArray(good).replace(15, 1, "A"), false},
    };
    forEachRow(rows, [](const auto &row) {
        const std::optional<HydroValues> values = DecodeHydroText(row.text);
        QCOMPARE(values.has_value(), row.decoded);
        if (values) {
            QCOMPARE((*values)[0], 500);
            QCOMPARE((*values)[ThresholdRow], 45);
        }
    });
}

// The device refuses a read outside the channel and answers a short text the station refuses.
void TestHydroCommands::channelGuardsTheDevice()
{
    vp::Device device;
    MemoryPort port(device);
    port.expectProtocolErrors(1);
    QByteArray text;
    QVERIFY(!HydroParamsRead(port, text));
    QCOMPARE(port.written().toHex(' '), bytes({0x12, 0x2A, 0x4C}).toHex(' '));
    QVERIFY(HydroPower(port));
    QVERIFY(device.hydro().power);

    QVERIFY(KeyBoardChanelOpen(port));
    device.hydro().fault = vp::HydroFault::Short;
    text.clear();
    QVERIFY(!HydroParamsRead(port, text));
    QCOMPARE(text.size(), 20);
    QVERIFY(KeyBoardChanelClose(port));
    QVERIFY(!device.hydro().channelOpen);
}

QTEST_GUILESS_MAIN(TestHydroCommands)
#include "tst_hydro_commands.moc"
