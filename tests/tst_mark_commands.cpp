#include "link/codepage.h"
#include "link/exchange.h"
#include "link/machine_commands.h"
#include "link/mark_commands.h"
#include "support/table_rows.h"
#include "support/wire_bytes.h"

#include <QTest>

using namespace vlink;

class TestMarkCommands : public QObject
{
    Q_OBJECT

private slots:
    void wireBytes();
    void codePage();
    void fragmentReadTakesNumberAndKind();
    void scriptReadEchoesEveryByte();
};

void TestMarkCommands::wireBytes()
{
    const QByteArray forty = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmn";
    const auto script = [](SpecFuncTexts t) {
        return [t](Port &p) { return SpecFuncWrite(p, t); };
    };
    const struct {
        const char *name;
        Command command;
        QByteArray wire; // empty: refused, nothing sent
    } rows[] = {
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
    };
    forEachRow(rows, [](const auto &row) {
        vp::Device device;
        MemoryPort port(device);
        QCOMPARE(row.command(port), !row.wire.isEmpty());
        QCOMPARE(port.written().toHex(' '), row.wire.toHex(' '));
    });
}

void TestMarkCommands::codePage()
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
void TestMarkCommands::fragmentReadTakesNumberAndKind()
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

void TestMarkCommands::scriptReadEchoesEveryByte()
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

QTEST_GUILESS_MAIN(TestMarkCommands)
#include "tst_mark_commands.moc"
