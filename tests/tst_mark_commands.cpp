#include "link/codepage.h"
#include "link/exchange.h"
#include "link/machine_commands.h"
#include "link/mark_commands.h"
#include "support/memory_port.h"
#include "support/wire_bytes.h"

#include <QStringDecoder>
#include <QTest>

using namespace vlink;

class TestMarkCommands : public QObject
{
    Q_OBJECT

private slots:
    void wireBytes_data();
    void wireBytes();
    void refusedWithoutSending();
    void echoFailureStopsCommand_data();
    void echoFailureStopsCommand();
    void readWithEmptyText();
    void codePage_data();
    void codePage();
    void codePageFromSettings();
    void tableMatchesQt();
    void fragmentRoundTrip();
    void kindsInTheDevice_data();
    void kindsInTheDevice();
    void fontSetKeepsGraphicsAndRefusesUnknownFonts();
    void postDateDaysInTimeParams();
    void storedMarks();
    void scriptLayoutAndBothReads();
    void sharedOpcodesStillReachTheirFamily();
    void depotAloneKeepsTheMark();
};

void TestMarkCommands::wireBytes_data()
{
    QTest::addColumn<Command>("command");
    QTest::addColumn<QByteArray>("wire");

    const QByteArray forty = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmn";
    QTest::newRow("TextFragmentWrite cuts 40 to 38")
        << Command([=](Port &p) { return TextFragmentWrite(p, 2, 3, forty); })
        << bytes({0x18, '2', '3'}) + forty.left(38) + bytes({0x0D});
    QTest::newRow("TextFragmentWrite untrimmed")
        << Command([](Port &p) { return TextFragmentWrite(p, 1, 8, " a "); })
        << bytes({0x18, '1', '8', ' ', 'a', ' ', 0x0D});
    QTest::newRow("fragment delete") << Command([](Port &p) { return TextFragmentDelete(p, 4, 1); })
                                     << bytes({0x18, '4', '1', 0x0D});
    QTest::newRow("FontSet: row, column, then font")
        << Command([](Port &p) { return FontSet(p, 5, 4, 8); })
        << bytes({0x1B, '4', '8', '5', 0x0D});
    QTest::newRow("FontSet 12 is past the digits")
        << Command([](Port &p) { return FontSet(p, 12, 1, 1); })
        << bytes({0x1B, '1', '1', '<', 0x0D});
    QTest::newRow("CounterSet") << Command([](Port &p) { return CounterSet(p, 1, 2, "0042"); })
                                << bytes({0x19, '1', '2', '0', '0', '4', '2', 0x0D});
    QTest::newRow("TimeFormatSet")
        << Command([](Port &p) { return TimeFormatSet(p, 3, 1, "hh:mm"); })
        << bytes({0x1A, '3', '1', 'h', 'h', ':', 'm', 'm', 0x0D});
    QTest::newRow("PostDateSet -1: one frame")
        << Command([](Port &p) { return PostDateSet(p, 2, 2, "-1", "dd.mm"); })
        << bytes({0x1D, '2', '2', 'd', 'd', '.', 'm', 'm', 0x0D});
    QTest::newRow("PostDateSet 0007: two frames")
        << Command([](Port &p) { return PostDateSet(p, 2, 2, "0007", "dd"); })
        << bytes({0x1D, '2', '2', 'd', 'd', 0x0D, 0x1D, 0x44, '0', '0', '0', '7', 0x0D});
    QTest::newRow("SpecFuncWrite only G") << Command([](Port &p) {
        return SpecFuncWrite(p, {"3", "", "", "", "", ""});
    }) << bytes({0x01, 0x51, 0x49, 0x47, 0x33, 0x0D});
    QTest::newRow("SpecFuncWrite empty")
        << Command([](Port &p) { return SpecFuncWrite(p, {}); }) << bytes({0x01, 0x51, 0x49, 0x0D});
    QTest::newRow("SpecFuncWrite blanks are empty, Q alone is not sent") << Command([](Port &p) {
        return SpecFuncWrite(p, {" ", " \t", "", "", " ", "23"});
    }) << bytes({0x01, 0x51, 0x49, 0x0D});
    QTest::newRow("SpecFuncWrite full") << Command([](Port &p) {
        return SpecFuncWrite(p, {"2", "100", " 200 ", "1", "25", "3"});
    }) << bytes({0x01, 0x51, 0x49}) + "Q03N00000100E00000200S0001P0025" + bytes({0x47, '2', 0x0D});
    QTest::newRow("SpecFuncWrite without G, never cut") << Command([](Port &p) {
        return SpecFuncWrite(p, {"", "123456789", "", "", "", "14"});
    }) << bytes({0x01, 0x51, 0x49}) + "Q14N123456789E00000000S0000P0000" + bytes({0x0D});
    QTest::newRow("SpecFuncRead") << Command([](Port &p) {
        QByteArray s;
        return SpecFuncRead(p, s);
    }) << bytes({0x01, 0x05});
    QTest::newRow("StoredMark 10 is a colon")
        << Command([](Port &p) { return StoredMark(p, StoredMarkOp::MarkRead, 10); })
        << bytes({0x0C, 0x4D, ':', 0x0D});
    QTest::newRow("StoredMark read from storage 0")
        << Command([](Port &p) { return StoredMark(p, StoredMarkOp::ReadFromStorage, 0); })
        << bytes({0x0C, 0x52, '0', 0x0D});
    QTest::newRow("StoredMark write to storage 63")
        << Command([](Port &p) { return StoredMark(p, StoredMarkOp::WriteToStorage, 63); })
        << bytes({0x0C, 0x57, 0x6F, 0x0D});
    QTest::newRow("MarkLoad sends the logo raw, row before column")
        << Command([](Port &p) { return MarkLoad(p, 12, 5, 2); })
        << bytes({0x1C, '2', '5', 0x0C, 0x0D});
}

void TestMarkCommands::wireBytes()
{
    QFETCH(Command, command);
    QFETCH(QByteArray, wire);
    vp::Device device;
    MemoryPort port(device);
    QVERIFY(command(port));
    QCOMPARE(port.written().toHex(' '), wire.toHex(' '));
}

void TestMarkCommands::refusedWithoutSending()
{
    vp::Device device;
    MemoryPort port(device);
    QVERIFY(!SpecFuncWrite(port, {"x", "1", "", "", "", "11"}));
    QVERIFY(!StoredMark(port, StoredMarkOp(3), 1));
    QVERIFY(port.written().isEmpty());
}

void TestMarkCommands::echoFailureStopsCommand_data()
{
    QTest::addColumn<Command>("command");
    QTest::addColumn<int>("faultAt");
    QTest::addColumn<QByteArray>("wire");
    QTest::newRow("text character")
        << Command([](Port &p) { return TextFragmentWrite(p, 1, 1, "abc"); }) << 4
        << bytes({0x18, '1', '1', 'a', 'b'});
    QTest::newRow("terminator") << Command([](Port &p) { return FontSet(p, 1, 1, 1); }) << 4
                                << bytes({0x1B, '1', '1', '1', 0x0D});
    QTest::newRow("post date format frame ends it")
        << Command([](Port &p) { return PostDateSet(p, 1, 1, "0001", "d"); }) << 2
        << bytes({0x1D, '1', '1'});
    QTest::newRow("post date offset frame")
        << Command([](Port &p) { return PostDateSet(p, 1, 1, "0001", "d"); }) << 6
        << bytes({0x1D, '1', '1', 'd', 0x0D, 0x1D, 0x44});
    QTest::newRow("read request") << Command([](Port &p) {
        Fragment f;
        return TextFragmentRead(p, 1, 1, f);
    }) << 1 << bytes({0x11, '1'});
}

void TestMarkCommands::echoFailureStopsCommand()
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

void TestMarkCommands::readWithEmptyText()
{
    vp::Device device;
    device.mark().cells[1][2] = {{}, 9, 0x07, 0};
    MemoryPort port(device);
    Fragment f{"stale", 1, 1};
    QVERIFY(TextFragmentRead(port, 2, 3, f));
    QCOMPARE(f.text, QByteArray());
    QCOMPARE(f.number, quint8(9));
    QCOMPARE(f.kind, quint8(0x07));
    QVERIFY(noStrayBytes(port, device));

    // A line without a printer leaves the caller's values alone.
    vp::Device none(vp::Kind::None);
    MemoryPort dead(none);
    QVERIFY(!TextFragmentRead(dead, 1, 1, f));
    QByteArray script = "kept";
    QVERIFY(!SpecFuncRead(dead, script) && !ScriptRead(dead, script));
    QCOMPARE(f.number, quint8(9));
    QCOMPARE(script, QByteArray("kept"));
}

void TestMarkCommands::codePage_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("encoded");
    QTest::newRow("numero sign") << QStringLiteral("№5") << bytes({0xB9, '5'});
    QTest::newRow("cyrillic") << QStringLiteral("Ёж Я") << bytes({0xA8, 0xE6, ' ', 0xDF});
    QTest::newRow("euro and quotes") << QStringLiteral("€«»") << bytes({0x88, 0xAB, 0xBB});
    QTest::newRow("outside") << QStringLiteral("a中b") << QByteArray("a?b");
    QTest::newRow("outside the BMP is one character")
        << QString::fromUtf8("x\xF0\x9F\x98\x80y") << QByteArray("x?y");
    QTest::newRow("control character kept") << QString(QChar(0x1A)) << bytes({0x1A});
}

void TestMarkCommands::codePage()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, encoded);
    const CodePage page;
    QCOMPARE(page.name(), QStringLiteral("windows-1251"));
    QCOMPARE(page.encode(text).toHex(' '), encoded.toHex(' '));
    QCOMPARE(encodeWindows1251(text).toHex(' '), encoded.toHex(' '));
    if (!encoded.contains('?'))
        QCOMPARE(page.decode(encoded), text);
}

void TestMarkCommands::codePageFromSettings()
{
    // A name this Qt does not know falls back to windows-1251 rather than sending "?" for all.
    SettingsFile settings;
    settings.setValue("PortParams", "CodePage", "no-such-page");
    QCOMPARE(CodePage::fromSettings(settings).encode(u"№"), bytes({0xB9}));
}

// Our table stands in for Qt's encoder where Qt has none: the two must agree on every byte.
void TestMarkCommands::tableMatchesQt()
{
    QStringDecoder qt("windows-1251");
    if (!qt.isValid())
        QSKIP("this Qt has no windows-1251 of its own");
    for (int b = 0; b < 256; ++b) {
        const QByteArray one(1, char(b));
        const QString fromTable = decodeWindows1251(one);
        QCOMPARE(fromTable, qt.decode(one));
        QCOMPARE(encodeWindows1251(fromTable), one);
        QCOMPARE(CodePage().encode(fromTable), one);
    }
}

void TestMarkCommands::fragmentRoundTrip()
{
    vp::Device device;
    MemoryPort port(device);
    const QByteArray text = CodePage().encode(QStringLiteral("Партия №7 ") + QString(30, 'x'));
    QVERIFY(TextFragmentWrite(port, 4, 8, text) && FontSet(port, 3, 4, 8));
    Fragment f;
    QVERIFY(TextFragmentRead(port, 4, 8, f));
    QCOMPARE(f.text, text.left(38));
    QCOMPARE(f.number, quint8(3));
    QCOMPARE(f.kind, quint8(0xFF));

    // The fragment delete empties the cell; other cells are untouched.
    QVERIFY(TextFragmentWrite(port, 1, 1, "keep") && TextFragmentDelete(port, 4, 8));
    QVERIFY(TextFragmentRead(port, 4, 8, f));
    QCOMPARE(f.text, QByteArray());
    QVERIFY(TextFragmentRead(port, 1, 1, f));
    QCOMPARE(f.text, QByteArray("keep"));
}

void TestMarkCommands::kindsInTheDevice_data()
{
    QTest::addColumn<Command>("command");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("kind");
    QTest::newRow("counter up") << Command([](Port &p) {
        return RunningNumberForward(p) && CounterSet(p, 2, 5, "100");
    }) << QByteArray("100") << 4 << 0x06;
    QTest::newRow("counter down") << Command([](Port &p) {
        return RunningNumberBack(p) && CounterSet(p, 2, 5, "0900");
    }) << QByteArray("0900") << 4 << 0x05;
    QTest::newRow("time and date")
        << Command([](Port &p) { return TimeFormatSet(p, 2, 5, "hh:mm dd.mm.yy"); })
        << QByteArray("hh:mm dd.mm.yy") << 4 << 0x00;
    QTest::newRow("post date") << Command(
                                      [](Port &p) { return PostDateSet(p, 2, 5, "-1", "dd/mm"); })
                               << QByteArray("dd/mm") << 4 << 0x02;
    QTest::newRow("logo: number is the font count")
        << Command([](Port &p) { return MarkLoad(p, 200, 5, 2); }) << QByteArray() << 16 << 0xFF;
    QTest::newRow("text over a logo drops the marker") << Command([](Port &p) {
        return MarkLoad(p, 200, 5, 2) && TextFragmentWrite(p, 2, 5, "t");
    }) << QByteArray("t") << 0 << 0xFF;
    QTest::newRow("special function over a counter") << Command([](Port &p) {
        return CounterSet(p, 2, 5, "5") && SpecFuncWrite(p, {"", "5", "9", "1", "1", "25"});
    }) << QByteArray("5") << 4 << 0x07;
}

void TestMarkCommands::kindsInTheDevice()
{
    QFETCH(Command, command);
    QFETCH(QByteArray, text);
    QFETCH(int, number);
    QFETCH(int, kind);
    vp::Device device;
    MemoryPort port(device);
    QVERIFY(TextFragmentWrite(port, 2, 5, "before") && FontSet(port, 4, 2, 5));
    QVERIFY(command(port));
    Fragment f;
    QVERIFY(TextFragmentRead(port, 2, 5, f));
    QCOMPARE(f.text, text);
    QCOMPARE(int(f.number), number);
    QCOMPARE(int(f.kind), kind);
}

void TestMarkCommands::fontSetKeepsGraphicsAndRefusesUnknownFonts()
{
    vp::Device device;
    device.printer().fontCount = 7;
    MemoryPort port(device);
    QVERIFY(MarkLoad(port, 3, 1, 1));
    QVERIFY(FontSet(port, 2, 1, 1));
    QCOMPARE(device.mark().cells[0][0].number, quint8(7));
    QCOMPARE(device.mark().cells[0][0].logo, quint8(3));
    QVERIFY(TextFragmentWrite(port, 1, 2, "a") && FontSet(port, 6, 1, 2));
    QVERIFY(FontSet(port, 7, 1, 2)); // echoed, but the printer has no font 7
    QCOMPARE(device.mark().cells[0][1].number, quint8(6));
    // Outside the mark nothing changes and nothing breaks.
    QVERIFY(TextFragmentWrite(port, 5, 9, "lost"));
    Fragment f{"x", 1, 1};
    QVERIFY(TextFragmentRead(port, 0, 9, f));
    QCOMPARE(f.text, QByteArray());
}

void TestMarkCommands::postDateDaysInTimeParams()
{
    vp::Device device;
    MemoryPort port(device);
    TimeParams t{};
    // "-1" leaves the day count; the format still changes.
    QVERIFY(PostDateSet(port, 1, 3, "0300", "dd.mm") && PostDateSet(port, 1, 3, "-1", "mm"));
    QVERIFY(TimeParamsRead(port, t));
    QCOMPARE(t[1] | t[2] << 8, 300);
    QCOMPARE(device.mark().cells[0][2].text, QByteArray("mm"));
}

void TestMarkCommands::storedMarks()
{
    vp::Device device;
    MemoryPort port(device);
    QVERIFY(TextFragmentWrite(port, 1, 1, "first"));
    QVERIFY(StoredMark(port, StoredMarkOp::WriteToStorage, 63));
    QVERIFY(TextFragmentWrite(port, 1, 1, "second"));
    QVERIFY(StoredMark(port, StoredMarkOp::WriteToStorage, 10));
    QVERIFY(StoredMark(port, StoredMarkOp::ReadFromStorage, 63));
    QCOMPARE(device.mark().cells[0][0].text, QByteArray("first"));
    QCOMPARE(device.mark().currentStored, -1);
    QVERIFY(StoredMark(port, StoredMarkOp::MarkRead, 10));
    QCOMPARE(device.mark().cells[0][0].text, QByteArray("second"));
    QCOMPARE(device.mark().currentStored, 10);
    // Slot 64 does not exist: echoed, nothing taken.
    QVERIFY(StoredMark(port, StoredMarkOp::ReadFromStorage, 64));
    QCOMPARE(device.mark().cells[0][0].text, QByteArray("second"));
}

void TestMarkCommands::scriptLayoutAndBothReads()
{
    vp::Device device;
    MemoryPort port(device);
    QVERIFY(SpecFuncWrite(port, {"4", "1", "999", "2", "3", "21"}));
    const QByteArray script = "Q21N00000001E00000999S0002P0003G4";
    QCOMPARE(device.mark().script, script);

    QByteArray read;
    QVERIFY(ScriptRead(port, read));
    QCOMPARE(read, script);
    // Every reply byte came back echoed, and the device took the echoes as such.
    QCOMPARE(port.written(),
             bytes({0x01, 0x51, 0x49}) + script + bytes({0x0D, 0x01, 0x05, 33}) + script);
    QVERIFY(device.settled());

    // The plain reader echoes nothing; its next command is served at once.
    QVERIFY(SpecFuncRead(port, read));
    QCOMPARE(read, script);
    QVERIFY(StartCommand(port));

    QVERIFY(SpecFuncWrite(port, {}));
    QVERIFY(ScriptRead(port, read));
    QCOMPARE(read, QByteArray());
}

// 0x1A, 0x0C and 0x08 serve both the mark and the machine: the second byte picks the family.
void TestMarkCommands::sharedOpcodesStillReachTheirFamily()
{
    vp::Device device;
    device.printer().params['C'] = 77;
    MemoryPort port(device);
    QVERIFY(TimeFormatSet(port, 1, 1, "hh") && TimeSet(port, "120000"));
    TimeParams t{};
    QVERIFY(TimeParamsRead(port, t));
    QCOMPARE(t[5], quint8(0x12));
    QCOMPARE(device.mark().cells[0][0].text, QByteArray("hh"));

    QVERIFY(StoredMark(port, StoredMarkOp::WriteToStorage, 0));
    quint8 value = 0;
    QVERIFY(ParamsRead(port, 'C', value));
    QCOMPARE(value, quint8(77));
    QVERIFY(AutoRunPeriodSet(port, "12"));
    QCOMPARE(device.printer().autoRunPeriod, QByteArray("012"));
    QCOMPARE(device.mark().stored[0][0][0].text, QByteArray("hh"));
}

void TestMarkCommands::depotAloneKeepsTheMark()
{
    vp::Device device(vp::Kind::Depot);
    device.mark().cells[0][0] = {"old", 1, 0xFF, 0};
    MemoryPort port(device);
    QVERIFY(TextFragmentWrite(port, 1, 1, "new"));
    QVERIFY(MarkLoad(port, 1, 1, 1));
    QVERIFY(SpecFuncWrite(port, {"1", "", "", "", "", ""}));
    QCOMPARE(device.mark().cells[0][0].text, QByteArray("old"));
    QVERIFY(device.mark().script.isEmpty());
    Fragment f;
    QVERIFY(!TextFragmentRead(port, 1, 1, f));
}

QTEST_GUILESS_MAIN(TestMarkCommands)
#include "tst_mark_commands.moc"
