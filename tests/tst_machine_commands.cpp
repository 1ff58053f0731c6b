#include "link/exchange.h"
#include "link/machine_commands.h"
#include "support/memory_port.h"
#include "support/wire_bytes.h"

#include <QTest>

using namespace vlink;

class TestMachineCommands : public QObject
{
    Q_OBJECT

private slots:
    void wireBytes_data();
    void wireBytes();
    void echoMismatchStopsCommand_data();
    void echoMismatchStopsCommand();
    void silentDeviceFails();
    void autoRunPeriodPadding_data();
    void autoRunPeriodPadding();
    void paramsReadAckIsBare();
    void paramsStepChangesValue();
    void timeParamsCount_data();
    void timeParamsCount();
    void markOptionsReachConfigByte();
    void clockSetIsReflectedInTimeParams();
    void markDeleteEmptiesTheMark();
    void statusByte();
};

void TestMachineCommands::wireBytes_data()
{
    QTest::addColumn<Command>("command");
    QTest::addColumn<QByteArray>("wire");
    QTest::newRow("StartCommand") << Command(StartCommand) << bytes({0x17});
    QTest::newRow("StopCommand") << Command(StopCommand) << bytes({0x02});
    QTest::newRow("PrintStart") << Command(PrintStart) << bytes({0x17});
    QTest::newRow("HighVoltageTurn") << Command(HighVoltageTurn) << bytes({0x02});
    QTest::newRow("Reset") << Command(Reset) << bytes({0x12});
    QTest::newRow("RunningNumberReset") << Command(RunningNumberReset) << bytes({0x1F});
    QTest::newRow("AutoRunStop") << Command(AutoRunStop) << bytes({0x0B, 0x41});
    QTest::newRow("RunningNumberForward")
        << Command(RunningNumberForward) << bytes({0x0C, 0x4E, 0x14});
    QTest::newRow("RunningNumberBack") << Command(RunningNumberBack) << bytes({0x0C, 0x4E, 0x13});
    QTest::newRow("MarkPrintForward") << Command(MarkPrintForward) << bytes({0x1E, 0x14, 0x0D});
    QTest::newRow("MarkPrintBack") << Command(MarkPrintBack) << bytes({0x1E, 0x13, 0x0D});
    QTest::newRow("MarkBreakPointCorrOn")
        << Command(MarkBreakPointCorrOn) << bytes({0x1E, 0x15, 0x0D});
    QTest::newRow("MarkBreakPointCorrOff")
        << Command(MarkBreakPointCorrOff) << bytes({0x1E, 0x16, 0x0D});
    QTest::newRow("MarkRotateOn") << Command(MarkRotateOn) << bytes({0x1E, 0x44, 0x0D});
    QTest::newRow("MarkRotateOff") << Command(MarkRotateOff) << bytes({0x1E, 0x55, 0x0D});
    QTest::newRow("MarkDelete") << Command(MarkDelete) << bytes({0x0B, 0x4D, 0x0D});
    QTest::newRow("ParamsRead") << Command([](Port &p) {
        quint8 v;
        return ParamsRead(p, 'C', v);
    }) << bytes({0x0C, 0x43, 0x05, 0x12});
    QTest::newRow("ParamsIncrease") << Command([](Port &p) {
        quint8 v;
        return ParamsIncrease(p, 'H', v);
    }) << bytes({0x0C, 0x48, 0x15, 0x05, 0x00, 0x0D});
    QTest::newRow("ParamsDecrease") << Command([](Port &p) {
        quint8 v;
        return ParamsDecrease(p, 'Z', v);
    }) << bytes({0x0C, 0x5A, 0x16, 0x05, 0x00, 0x0D});
    QTest::newRow("ByteStatusRead") << Command([](Port &p) {
        quint8 v;
        return ByteStatusRead(p, v);
    }) << bytes({0x0C, 0x09, 0x12});
    QTest::newRow("TimeSet takes six characters")
        << Command([](Port &p) { return TimeSet(p, "1234569"); })
        << bytes({0x1A, 0x54, '1', '2', '3', '4', '5', '6', 0x0D});
    QTest::newRow("DateSet") << Command([](Port &p) { return DateSet(p, "311226"); })
                             << bytes({0x1A, 0x44, '3', '1', '1', '2', '2', '6', 0x0D});
    QTest::newRow("TimeParamsRead") << Command([](Port &p) {
        TimeParams t{};
        return TimeParamsRead(p, t);
    }) << bytes({0x08});
}

void TestMachineCommands::wireBytes()
{
    QFETCH(Command, command);
    QFETCH(QByteArray, wire);
    vp::Device device;
    MemoryPort port(device);
    QVERIFY(command(port));
    QCOMPARE(port.written().toHex(' '), wire.toHex(' '));
    // Every echoed byte is purged for first: one purge per SendByte.
    QVERIFY(port.purges() > 0);
}

void TestMachineCommands::echoMismatchStopsCommand_data()
{
    QTest::addColumn<Command>("command");
    QTest::addColumn<int>("faultAt");
    QTest::addColumn<QByteArray>("wire");
    QTest::newRow("first byte") << Command(MarkPrintBack) << 0 << bytes({0x1E});
    QTest::newRow("second byte") << Command(MarkDelete) << 1 << bytes({0x0B, 0x4D});
    QTest::newRow("period digit") << Command([](Port &p) { return AutoRunPeriodSet(p, "42"); }) << 3
                                  << bytes({0x0C, 0x41, '0', '4'});
}

void TestMachineCommands::echoMismatchStopsCommand()
{
    QFETCH(Command, command);
    QFETCH(int, faultAt);
    QFETCH(QByteArray, wire);
    for (bool drop : {false, true}) {
        bool failed = false;
        QCOMPARE(sentWithEchoFault(command, faultAt, drop, failed).toHex(' '), wire.toHex(' '));
        QVERIFY(failed);
    }
}

void TestMachineCommands::silentDeviceFails()
{
    vp::Device device;
    device.faults().silent = true;
    MemoryPort port(device);
    QVERIFY(!StartCommand(port));
    quint8 value = 7;
    QVERIFY(!ParamsRead(port, 'C', value));
    QCOMPARE(port.written().toHex(' '), QByteArray("17 0c"));

    // A printer that does not answer at the station's speed is silent too.
    vp::Device slow(vp::Kind::Printer, 9600);
    MemoryPort other(slow);
    other.expectProtocolErrors(1); // the 0x17 sent at 57600 bit/s
    QVERIFY(other.setBaud(6));
    QVERIFY(!StartCommand(other));
    QVERIFY(other.setBaud(3));
    QVERIFY(StartCommand(other));
}

void TestMachineCommands::autoRunPeriodPadding_data()
{
    QTest::addColumn<QByteArray>("period");
    QTest::addColumn<QByteArray>("sent");
    QTest::newRow("one digit") << QByteArray("5") << QByteArray("005");
    QTest::newRow("four digits") << QByteArray("1234") << QByteArray("1234");
    QTest::newRow("empty") << QByteArray("") << QByteArray("000");
    QTest::newRow("trimmed") << QByteArray(" 7\t") << QByteArray("007");
}

void TestMachineCommands::autoRunPeriodPadding()
{
    QFETCH(QByteArray, period);
    QFETCH(QByteArray, sent);
    vp::Device device;
    MemoryPort port(device);
    QVERIFY(AutoRunPeriodSet(port, period));
    QCOMPARE(port.written(), bytes({0x0C, 0x41}) + sent + bytes({0x0D}));
    QCOMPARE(device.printer().autoRunPeriod, sent);
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
    QVERIFY(device.settled());

    // The next command starts clean.
    QVERIFY(ByteStatusRead(port, value));
    QVERIFY(Reset(port));
    device.idle(1000);
    QCOMPARE(device.printer().resetCount, 1);
}

void TestMachineCommands::paramsStepChangesValue()
{
    vp::Device device;
    device.printer().params['K'] = 254;
    MemoryPort port(device);
    quint8 value = 0;
    QVERIFY(ParamsIncrease(port, 'K', value));
    QCOMPARE(value, quint8(255));
    QVERIFY(ParamsIncrease(port, 'K', value));
    QCOMPARE(value, quint8(255));
    QVERIFY(ParamsDecrease(port, 'K', value));
    QCOMPARE(value, quint8(254));
    QCOMPARE(device.printer().params['K'], quint8(254));
}

void TestMachineCommands::timeParamsCount_data()
{
    QTest::addColumn<int>("count");
    QTest::newRow("none") << 0;
    QTest::newRow("short") << 5;
    QTest::newRow("exact") << 14;
    QTest::newRow("longer") << 16;
}

void TestMachineCommands::timeParamsCount()
{
    QFETCH(int, count);
    vp::Device device;
    QByteArray reply;
    for (int i = 0; i < count; ++i)
        reply.append(char(0x40 + i));
    device.printer().timeParamsOverride = reply;
    MemoryPort port(device);
    TimeParams params;
    params.fill(0xEE);
    QVERIFY(TimeParamsRead(port, params));
    for (int i = 0; i < TimeParamCount; ++i)
        QCOMPARE(params[i], quint8(i < count ? 0x40 + i : 0xEE));
    // The bytes beyond the 14th were consumed, not left for the next command.
    quint8 stray = 0;
    QVERIFY(!port.readByte(stray));
    QVERIFY(StartCommand(port));
}

void TestMachineCommands::markOptionsReachConfigByte()
{
    vp::Device device;
    MemoryPort port(device);
    QVERIFY(MarkPrintBack(port));
    QVERIFY(MarkBreakPointCorrOn(port));
    QVERIFY(MarkRotateOn(port));
    TimeParams params{};
    QVERIFY(TimeParamsRead(port, params));
    QCOMPARE(params[0], quint8(0x07));
    QCOMPARE(params[13], device.printer().fontCount);
    QVERIFY(MarkPrintForward(port) && MarkRotateOff(port));
    QVERIFY(TimeParamsRead(port, params));
    QCOMPARE(params[0], quint8(0x02));
}

void TestMachineCommands::clockSetIsReflectedInTimeParams()
{
    vp::Device device;
    MemoryPort port(device);
    QVERIFY(TimeSet(port, "235958"));
    QVERIFY(DateSet(port, "290224"));
    TimeParams p{};
    QVERIFY(TimeParamsRead(port, p));
    // Packed BCD: 29.02.24 23:59:5x (the clock runs on).
    QCOMPARE(p[5], quint8(0x23));
    QCOMPARE(p[4], quint8(0x59));
    QVERIFY2(p[3] == 0x58 || p[3] == 0x59, qPrintable(QString::number(p[3], 16)));
    QCOMPARE(p[7], quint8(0x29));
    QCOMPARE(p[8], quint8(0x02));
    QCOMPARE(p[9], quint8(0x24));
}

void TestMachineCommands::markDeleteEmptiesTheMark()
{
    vp::Device device;
    device.mark().cells[1][2].text = "LOT";
    MemoryPort port(device);
    QVERIFY(MarkDelete(port));
    QVERIFY(device.mark().cell(2, 3)->text.isEmpty());
    QVERIFY(device.printer().markDeleted);
}

void TestMachineCommands::statusByte()
{
    vp::Device device;
    device.printer().status = 0xA5;
    MemoryPort port(device);
    quint8 value = 0;
    QVERIFY(ByteStatusRead(port, value));
    QCOMPARE(value, quint8(0xA5));
}

QTEST_GUILESS_MAIN(TestMachineCommands)
#include "tst_machine_commands.moc"
