#include "link/exchange.h"
#include "link/machine_commands.h"
#include "link/mark_commands.h"
#include "support/memory_port.h"
#include "support/table_rows.h"
#include "support/wire_bytes.h"

#include <QTest>

using namespace vlink;

class TestMachineCommands : public QObject
{
    Q_OBJECT

private slots:
    void wireBytes();
    void echoFaultStopsCommand();
    void autoRunPeriodPadding();
    void paramsReadAckIsBare();
    void deviceStateFollowsCommands();
};

void TestMachineCommands::wireBytes()
{
    quint8 v = 0;
    const struct {
        const char *name;
        Command command;
        QByteArray wire;
    } rows[] = {
        {"StartCommand", StartCommand, bytes({0x17})},
        {"StopCommand", StopCommand, bytes({0x02})},
        {"Reset", Reset, bytes({0x12})},
        {"AutoRunStop", AutoRunStop, bytes({0x0B, 0x41})},
        {"RunningNumberBack", RunningNumberBack, bytes({0x0C, 0x4E, 0x13})},
        {"MarkPrintForward", MarkPrintForward, bytes({0x1E, 0x14, 0x0D})},
        {"MarkRotateOn", MarkRotateOn, bytes({0x1E, 0x44, 0x0D})},
        {"MarkDelete", MarkDelete, bytes({0x0B, 0x4D, 0x0D})},
        {"ParamsRead", [&](Port &p) { return ParamsRead(p, 'C', v); },
         bytes({0x0C, 0x43, 0x05, 0x12})},
        {"ParamsIncrease", [&](Port &p) { return ParamsIncrease(p, 'H', v); },
         bytes({0x0C, 0x48, 0x15, 0x05, 0x00, 0x0D})},
        {"ParamsDecrease", [&](Port &p) { return ParamsDecrease(p, 'Z', v); },
         bytes({0x0C, 0x5A, 0x16, 0x05, 0x00, 0x0D})},
        {"ByteStatusRead", [&](Port &p) { return ByteStatusRead(p, v); },
         bytes({0x0C, 0x09, 0x12})},
        {"TimeSet takes six characters", [](Port &p) { return TimeSet(p, "1234569"); },
         bytes({0x1A, 0x54, '1', '2', '3', '4', '5', '6', 0x0D})},
        {"DateSet", [](Port &p) { return DateSet(p, "311226"); },
         bytes({0x1A, 0x44, '3', '1', '1', '2', '2', '6', 0x0D})},
    };
    forEachRow(rows, [](const auto &row) {
        vp::Device device;
        MemoryPort port(device);
        QVERIFY(row.command(port));
        QCOMPARE(port.written().toHex(' '), row.wire.toHex(' '));
    });
}

// Of the machine's commands and the mark's: a wrong or missing echo stops the command there.
void TestMachineCommands::echoFaultStopsCommand()
{
    const auto postDate = [](Port &p) { return PostDateSet(p, 1, 1, "0001", "d"); };
    const struct {
        const char *name;
        Command command;
        int faultAt;
        QByteArray wire;
    } rows[] = {
        {"first byte", MarkPrintBack, 0, bytes({0x1E})},
        {"second byte", MarkDelete, 1, bytes({0x0B, 0x4D})},
        {"period digit", [](Port &p) { return AutoRunPeriodSet(p, "42"); }, 3,
         bytes({0x0C, 0x41, '0', '4'})},
        {"text character", [](Port &p) { return TextFragmentWrite(p, 1, 1, "abc"); }, 4,
         bytes({0x18, '1', '1', 'a', 'b'})},
        {"post date format frame ends it", postDate, 2, bytes({0x1D, '1', '1'})},
        {"post date offset frame", postDate, 6, bytes({0x1D, '1', '1', 'd', 0x0D, 0x1D, 0x44})},
    };
    forEachRow(rows, [](const auto &row) {
        for (bool drop : {false, true}) {
            bool failed = false;
            const QByteArray sent = sentWithEchoFault(row.command, row.faultAt, drop, failed);
            QCOMPARE(sent.toHex(' '), row.wire.toHex(' '));
            QVERIFY(failed);
        }
    });
}

void TestMachineCommands::autoRunPeriodPadding()
{
    const struct {
        const char *name;
        QByteArray period, sent;
    } rows[] = {{"one digit", "5", "005"}, {"empty", "", "000"}, {"trimmed", " 7\t", "007"}};
    forEachRow(rows, [](const auto &row) {
        vp::Device device;
        MemoryPort port(device);
        QVERIFY(AutoRunPeriodSet(port, row.period));
        QCOMPARE(port.written(), bytes({0x0C, 0x41}) + row.sent + bytes({0x0D}));
        QCOMPARE(device.printer().autoRunPeriod, row.sent);
    });
}

void TestMachineCommands::paramsReadAckIsBare()
{
    vp::Device device;
    device.printer().params['S'] = 3;
    MemoryPort port(device);
    quint8 value = 0;
    QVERIFY(ParamsRead(port, 'S', value));
    QCOMPARE(value, quint8(3));
    // The bare 0x12 gets no echo and must not count as a reset.
    quint8 stray = 0;
    QVERIFY(!port.readByte(stray));
    device.idle(1000);
    QCOMPARE(device.printer().resetCount, 0);
    QVERIFY(Reset(port));
    device.idle(1000);
    QCOMPARE(device.printer().resetCount, 1);
}

// The mark options reach the configuration byte, the clock its BCD bytes, and
// a long time-parameter reply is consumed whole.
void TestMachineCommands::deviceStateFollowsCommands()
{
    vp::Device device;
    MemoryPort port(device);
    QVERIFY(MarkPrintBack(port) && MarkBreakPointCorrOn(port) && MarkRotateOn(port));
    QVERIFY(TimeSet(port, "235958") && DateSet(port, "290224"));
    TimeParams p{};
    QVERIFY(TimeParamsRead(port, p));
    QCOMPARE(p[0], quint8(0x07));
    QCOMPARE(p[5], quint8(0x23));
    QCOMPARE(p[7], quint8(0x29));
    QCOMPARE(p[9], quint8(0x24));

    device.printer().timeParamsOverride = QByteArray(16, 'x').replace(0, 5, "short");
    QVERIFY(TimeParamsRead(port, p));
    QCOMPARE(p[13], quint8('x'));
    quint8 stray = 0;
    QVERIFY(!port.readByte(stray));
}

QTEST_GUILESS_MAIN(TestMachineCommands)
#include "tst_machine_commands.moc"
