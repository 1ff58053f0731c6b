#include "link/bench_checks.h"
#include "link/codepage.h"
#include "link/exchange.h"
#include "link/hydro_commands.h"
#include "link/machine_commands.h"
#include "link/mark_commands.h"
#include "link/printer_select.h"
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
    void lineFrames_data();
    void lineFrames();
    void announceCheck_data();
    void announceCheck();
    void setByteCheck();
    void echoFaultStopsCommand();
    void paramsReadAckIsBare();
    void deviceStateFollowsCommands();
    void codePage();
    void fragmentReadTakesNumberAndKind();
    void scriptReadEchoesEveryByte();
    void threeStepsOnFaults();
    void decoding();
    void channelGuardsTheDevice();
};

void TestMachineCommands::wireBytes()
{
    quint8 v = 0;
    QByteArray text;
    const QByteArray forty = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmn";
    const auto script = [](SpecFuncTexts t) {
        return [t](Port &p) { return SpecFuncWrite(p, t); };
    };
    const auto period = [](QByteArray t) {
        return [t](Port &p) { return AutoRunPeriodSet(p, t); };
    };
    const struct {
        const char *name;
        Command command;
        QByteArray wire;    // empty: refused, nothing sent
        bool hydro = false; // sent inside an open keyboard channel
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
        {"period of one digit", period("5"), bytes({0x0C, 0x41, '0', '0', '5', 0x0D})},
        {"empty period", period(""), bytes({0x0C, 0x41, '0', '0', '0', 0x0D})},
        {"period trimmed", period(" 7\t"), bytes({0x0C, 0x41, '0', '0', '7', 0x0D})},
        {"text cut to 38", [=](Port &p) { return TextFragmentWrite(p, 2, 3, forty); },
         bytes({0x18, '2', '3'}) + forty.left(38) + bytes({0x0D})},
        {"font 12 past the digits", [](Port &p) { return FontSet(p, 12, 4, 8); },
         bytes({0x1B, '4', '8', '<', 0x0D})},
        {"post date -1", [](Port &p) { return PostDateSet(p, 2, 2, "-1", "dd"); },
         bytes({0x1D, '2', '2', 'd', 'd', 0x0D})},
        {"post date 0007", [](Port &p) { return PostDateSet(p, 2, 2, "0007", "d"); },
         bytes({0x1D, '2', '2', 'd', 0x0D, 0x1D, 0x44, '0', '0', '0', '7', 0x0D})},
        // Blanks are empty, and Q alone is not sent.
        {"script blank", script({" ", " \t", "", "", "", "23"}), bytes({0x01, 0x51, 0x49, 0x0D})},
        {"script full", script({"2", "1", " 2 ", "1", "25", "3"}),
         bytes({0x01, 0x51, 0x49}) + "Q03N00000001E00000002S0001P0025G2" + bytes({0x0D})},
        {"script letter", script({"x", "1", "", "", "", ""}), {}},
        {"stored 10", [](Port &p) { return StoredMark(p, StoredMarkOp::MarkRead, 10); },
         bytes({0x0C, 0x4D, ':', 0x0D})},
        {"stored to 63", [](Port &p) { return StoredMark(p, StoredMarkOp::WriteToStorage, 63); },
         bytes({0x0C, 0x57, 0x6F, 0x0D})},
        {"mark load, row first", [](Port &p) { return MarkLoad(p, 12, 5, 2); },
         bytes({0x1C, '2', '5', 0x0C, 0x0D})},
        {"keyboard channel open", KeyBoardChanelOpen, bytes({0x07, 0x0A}), true},
        {"channel close", KeyBoardChanelClose, bytes({0x12, 0x2A, 0x55, 0x30}), true},
        {"hydro read", [&](Port &p) { return HydroParamsRead(p, text) && text.size() == 37; },
         bytes({0x12, 0x2A, 0x4C, 0x31}), true},
        {"hydro power", HydroPower, bytes({0x12, 0x2A, 0x53, 0x30}), true},
        {"hydro value 0 goes raw", [](Port &p) { return HydroValueWrite(p, 0x2A, 0); },
         bytes({0x12, 0x2A, 0x43, 0x2A, 0x12, 0x2A, 0x56, 0x00}), true},
    };
    forEachRow(rows, [](const auto &row) {
        vp::Device device;
        device.hydro().channelOpen = row.hydro;
        MemoryPort port(device);
        QCOMPARE(row.command(port), !row.wire.isEmpty());
        QCOMPARE(port.written().toHex(' '), row.wire.toHex(' '));
    });
}

void TestMachineCommands::lineFrames_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QByteArray>("wire");
    QTest::newRow("select printer 1")
        << SelectPrinterFrame(0) << bytes({0x12, 0x03, 0x08, 0x00, 0xE3});
    QTest::newRow("select printer 6")
        << SelectPrinterFrame(5) << bytes({0x12, 0x03, 0x08, 0x05, 0xDE});
    QTest::newRow("announce") << AnnounceFrame() << bytes({0x12, 0x02, 0x04, 0xE8});
}

void TestMachineCommands::lineFrames()
{
    QFETCH(QByteArray, frame);
    QFETCH(QByteArray, wire);
    QCOMPARE(frame.toHex(' '), wire.toHex(' '));
}

namespace
{

// The device's answer to the announce frame, one byte or none.
class AnnouncePort : public MemoryPort
{
public:
    AnnouncePort(const std::array<vp::Device *, PortCount> &devices, QByteArray reply)
        : MemoryPort(devices), reply_(std::move(reply))
    {
        expectProtocolErrors(-1);
    }
    bool readByte(quint8 &byte) override
    {
        if (reply_.isEmpty())
            return false;
        byte = quint8(reply_.at(0));
        return true;
    }

private:
    QByteArray reply_;
};

} // namespace

void TestMachineCommands::announceCheck_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<bool>("announced");
    QTest::newRow("t") << QByteArray("t") << true;
    QTest::newRow("another byte") << QByteArray("T") << false;
    QTest::newRow("silence") << QByteArray() << false;
}

// On COM5 at 19200 bit/s, RTS low then high, the frame without echo.
void TestMachineCommands::announceCheck()
{
    QFETCH(QByteArray, reply);
    QFETCH(bool, announced);
    vp::Device device;
    std::array<vp::Device *, PortCount> devices{};
    devices[BenchCom] = &device;
    AnnouncePort port(devices, reply);
    const AnnounceResult result = AnnounceCheck(port);
    QCOMPARE(result.announced, announced);
    QCOMPARE(result.failedWrites, 0);
    QCOMPARE(port.lineSpeed(), 19200);
    QCOMPARE(port.rtsChanges(), (QList<bool>{false, true}));
    QCOMPARE(port.written().toHex(' '), bytes({0x12, 0x02, 0x04, 0xE8}).toHex(' '));
}

// The third test button's lone 0x0C, echoed; the printer waits in vain for the rest.
void TestMachineCommands::setByteCheck()
{
    vp::Device device;
    MemoryPort port(device);
    port.expectProtocolErrors(1);
    QVERIFY(SetByteCheck(port));
    QCOMPARE(port.written().toHex(' '), bytes({0x0C}).toHex(' '));
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

void TestMachineCommands::codePage()
{
    const struct {
        const char *name;
        QString text;
        QByteArray encoded;
    } rows[] = {
        {"cyrillic and numero sign", QStringLiteral("Ёж №"), bytes({0xA8, 0xE6, ' ', 0xB9})},
        {"outside the BMP is one character", QString::fromUtf8("x\xF0\x9F\x98\x80y"), "x?y"},
    };
    forEachRow(rows, [](const auto &row) {
        QCOMPARE(CodePage().encode(row.text).toHex(' '), row.encoded.toHex(' '));
        if (!row.encoded.contains('?'))
            QCOMPARE(CodePage().decode(row.encoded), row.text);
    });
    // A name this Qt does not know falls back to windows-1251 rather than sending "?" for all.
    SettingsFile settings;
    settings.setValue("PortParams", "CodePage", "no-such-page");
    QCOMPARE(CodePage::fromSettings(settings).encode(u"№"), bytes({0xB9}));
}

// The reply's number and kind bytes reach the fragment, the text stops at its terminator.
void TestMachineCommands::fragmentReadTakesNumberAndKind()
{
    vp::Device device;
    MemoryPort port(device);
    QVERIFY(RunningNumberBack(port) && CounterSet(port, 2, 5, "0900") && FontSet(port, 4, 2, 5));
    Fragment f;
    QVERIFY(TextFragmentRead(port, 2, 5, f));
    QCOMPARE(f.text, QByteArray("0900"));
    QCOMPARE(int(f.number), 4);
    QCOMPARE(int(f.kind), 0x05);
}

void TestMachineCommands::scriptReadEchoesEveryByte()
{
    vp::Device device;
    MemoryPort port(device);
    QVERIFY(SpecFuncWrite(port, {"4", "1", "999", "2", "3", "21"}));
    const QByteArray script = "Q21N00000001E00000999S0002P0003G4";
    port.clearWritten();
    QByteArray read;
    QVERIFY(ScriptRead(port, read));
    QCOMPARE(read, script);
    QCOMPARE(port.written(), bytes({0x01, 0x05, 33}) + script);
    QVERIFY(device.settled());
    // The plain reader echoes nothing; its next command is served at once.
    QVERIFY(SpecFuncRead(port, read));
    QCOMPARE(read, script);
    QVERIFY(StartCommand(port));
}

// A failed write still closes the channel; a failed open sends nothing more.
void TestMachineCommands::threeStepsOnFaults()
{
    const QByteArray opened = bytes({0x07, 0x0A, 0x12, 0x2A, 0x43, 0x2E});
    const QByteArray close = bytes({0x12, 0x2A, 0x55, 0x30});
    const QByteArray written = opened + bytes({0x12, 0x2A, 0x56, 0x50}) + close;
    const struct {
        const char *name;
        int dropAt;
        QByteArray wire;
        QStringList shown;
        bool open;
    } rows[] = {
        {"write fails", 5, opened + close, {"Flow failed"}, false},
        {"open fails", 1, opened.left(2), {"KeyBoardChanel Open Error!!"}, true},
        {"close fails", 13, written, {"KeyBoardChanel Close Error!!"}, false},
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

void TestMachineCommands::decoding()
{
    const QByteArray good = "01F4000000000045000000000000000000000\r";
    const struct {
        const char *name;
        QByteArray text;
        bool decoded;
        int pressure = 500, threshold = 45;
    } rows[] = {
        {"sound", good, true},
        {"36 characters", good.left(36), false},
        {"G reads 16", QByteArray(good).replace(3, 1, "G"), true, 0x1F0 + 16},
        {"a small letter, its code minus 55", QByteArray(good).replace(3, 1, "f"), true,
         0x1F0 + 47},
        {"a blank, below the digits", QByteArray(good).replace(3, 1, " "), true, 0x1F0 - 16},
        {"A in a decimal row", QByteArray(good).replace(15, 1, "A"), true, 500, 40 + 10},
        {"a control character", QByteArray(good).replace(3, 1, "\t"), false},
        {"a byte above the printable", QByteArray(good).replace(15, 1, "\x7F"), false},
    };
    forEachRow(rows, [](const auto &row) {
        const std::optional<HydroValues> values = DecodeHydroText(row.text);
        QCOMPARE(values.has_value(), row.decoded);
        if (values) {
            QCOMPARE((*values)[0], row.pressure);
            QCOMPARE((*values)[ThresholdRow], row.threshold);
        }
    });
}

// The device refuses a read outside the channel and answers a short text the station refuses.
void TestMachineCommands::channelGuardsTheDevice()
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

QTEST_GUILESS_MAIN(TestMachineCommands)
#include "tst_machine_commands.moc"
