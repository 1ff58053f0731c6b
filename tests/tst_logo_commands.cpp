#include "link/depot_commands.h"
#include "link/exchange.h"
#include "link/logo_commands.h"
#include "link/logo_record.h"
#include "link/logo_stores.h"
#include "link/machine_commands.h"
#include "link/names_list.h"
#include "support/faulty_ports.h"
#include "support/table_rows.h"
#include "support/wire_bytes.h"

#include <QElapsedTimer>
#include <QTest>

using namespace vlink;
using Write = bool (*)(Port &, int, const LogoBuffer &);

namespace
{

// Three columns, two bands, every byte different.
LogoBuffer sampleLogo(DotOrder order = DotOrder::Composed)
{
    LogoBuffer logo;
    logo.order = order;
    logo.width = 3;
    logo.height = 2;
    logo.name = "LOGO";
    const quint8 dots[] = {0x01, 0x12, 0xF0, 0x80, 0x3C, 0x07};
    for (int i = 0; i < 6; ++i)
        logo.at(i / 2, i % 2) = dots[i];
    return logo;
}

// A line on which nothing but the echoes arrives: each read waits out its time-out, as the serial
// port's does, and the waits are added up.
class DeadLine : public MemoryPort
{
public:
    using MemoryPort::MemoryPort;
    bool readByteWithin(quint8 &byte, int timeoutMs) override
    {
        if (MemoryPort::readByte(byte))
            return true;
        const int wait = std::min(timeoutMs, ReadTimeoutMs(1));
        Delay(wait);
        waitedMs += wait;
        return false;
    }
    int waitedMs = 0;
};

} // namespace

class TestLogoCommands : public QObject
{
    Q_OBJECT

private slots:
    void writeWireBytes();
    void writeOutcomes();
    void roundTripKeepsWireBytes();
    void malformedRecordsAreConsumedWhole();
    void viewWaitsForSlowHeaderAtMostItsBound();
    void namesLists();
    void depotWireBytes();
    void banksKeepTheirLogos();
    void writeKeptWhenItsLastEchoIsLost();
    void versionTextIsCapped();
    void eachStoreRunsItsOwnCommand_data();
    void eachStoreRunsItsOwnCommand();
};

// Buffer bytes 01 12 F0 80 3C 07. Composed: bit-reversed (80 48 0F 01 3C E0), then inverted;
// copies: inverted only. The name is cut to eight; its high characters count in the check byte. A
// write refused sends nothing.
void TestLogoCommands::writeWireBytes()
{
    const QByteArray reversed = bytes({0x7F, 0xB7, 0xF0, 0xFE, 0xC3, 0x1F});
    const QByteArray kept = bytes({0xFE, 0xED, 0x0F, 0x7F, 0xC3, 0xF8});
    const QByteArray header = bytes({2, 3});
    const QByteArray tail = ff(501 - 6) + "\xB9\xFFGHIJKL" + bytes({0x8F, 0x73});
    const QByteArray printer = bytes({0x07, 0x89, 0x21}), depot = bytes({0x12, 0x23, 0x57, 0x21});
    constexpr DotOrder Composed = DotOrder::Composed, Device = DotOrder::Device;
    const struct {
        const char *name;
        Write write;
        DotOrder order;
        QByteArray wire; // empty: refused
        int number = 0x21, height = 2, width = 3;
    } rows[] = {
        {"PrinterLogoWrite", PrinterLogoWrite, Composed, printer + header + reversed + tail},
        {"PrinterLogoCopyWrite", PrinterLogoCopyWrite, Device, printer + header + kept + tail},
        {"DPLogoWrite", DPLogoWrite, Composed, depot + header + reversed + tail},
        {"DPLogoCopyWrite", DPLogoCopyWrite, Device, depot + header + kept + tail},
        {"read logo to a plain write", PrinterLogoWrite, Device, {}},
        {"read logo to a Depot write", DPLogoWrite, Device, {}},
        {"composed logo to a copy", PrinterLogoCopyWrite, Composed, {}},
        {"501 dot bytes", PrinterLogoWrite, Composed, {}, 1, 3, 167},
        {"width beyond a byte", PrinterLogoWrite, Composed, {}, 1, 1, 256},
        {"five bands", PrinterLogoWrite, Composed, {}, 1, 5, 3},
        {"no bands", DPLogoWrite, Composed, {}, 1, 0, 3},
        {"number 256", PrinterLogoWrite, Composed, {}, 256},
        {"number -1", DPLogoWrite, Composed, {}, -1},
        // A blank record: 4 bands of 1 column, eight spaces (0x100, so check 0x00).
        {"PrinterLogoDelete",
         [](Port &p, int n, const LogoBuffer &) { return PrinterLogoDelete(p, n); }, Composed,
         printer + bytes({4, 1}) + ff(501) + QByteArray(8, ' ') + bytes({0x00, 0x73})},
    };
    forEachRow(rows, [](const auto &row) {
        vp::Device device(vp::Kind::ViaDepot);
        MemoryPort port(device);
        LogoBuffer logo = sampleLogo(row.order);
        logo.name = "\xB9\xFFGHIJKLMN";
        logo.height = row.height;
        logo.width = row.width;
        QCOMPARE(row.write(port, row.number, logo), !row.wire.isEmpty());
        QCOMPARE(port.written().toHex(' '), row.wire.toHex(' '));
    });
}

// A write the device answers otherwise keeps nothing; one whose closing echo is lost keeps it.
void TestLogoCommands::writeOutcomes()
{
    vp::Device device(vp::Kind::ViaDepot);
    device.faults().logoWriteReply = 'e';
    MemoryPort port(device);
    // Every byte went out and the reply was echoed, yet the write failed.
    QVERIFY(!PrinterLogoWrite(port, 3, sampleLogo()));
    QCOMPARE(port.written().size(), 3 + 2 + 510 + 1);
    QVERIFY(device.logos().printer[3].isEmpty());
    QVERIFY(noStrayBytes(port, device));
    // A Depot logo number beyond its 250 is refused by the Depot itself.
    device.faults().logoWriteReply = 0x73;
    QVERIFY(!DPLogoWrite(port, 250, sampleLogo()));

    // The echo of the device's "s" never arrives: the logo is kept all the same, and the next
    // byte is a command of its own.
    vp::Device other;
    LossyWritePort lossy(other, 3 + 2 + 510);
    QVERIFY(PrinterLogoWrite(lossy, 8, sampleLogo()));
    lossy.deliverAgain();
    QVERIFY(StartCommand(lossy));
    QVERIFY(other.printer().startCount == 1 && !other.logos().printer[8].isEmpty());
}

// Written, read back, copied to the Depot and back to another printer logo: the same bytes.
void TestLogoCommands::roundTripKeepsWireBytes()
{
    vp::Device device(vp::Kind::ViaDepot);
    MemoryPort port(device);
    const LogoBuffer composed = sampleLogo();
    QVERIFY(PrinterLogoWrite(port, 9, composed));
    const QByteArray written = device.logos().printer[9];
    port.clearWritten();
    LogoBuffer read;
    QVERIFY(PrinterLogoRead(port, 9, read).ok);
    QCOMPARE(port.written(), bytes({0x07, 0x01, 9, 0x73}));
    QVERIFY(BankNumSet(port, 4));
    QVERIFY(DPLogoCopyWrite(port, 17, read));
    QCOMPARE(device.logos().depot[4][17], written);
    LogoBuffer again;
    port.clearWritten();
    QVERIFY(DPLogoRead(port, 17, again).ok);
    QCOMPARE(port.written(), bytes({0x12, 0x23, 0x52, 17, 0x73}));
    QVERIFY(PrinterLogoCopyWrite(port, 10, again));
    QCOMPARE(device.logos().printer[10], written);
    // A rename is a read followed by a copy write of the same dots.
    QVERIFY(PrinterLogoRename(port, 10, "NEWNAME9X", again).ok);
    QCOMPARE(device.logos().printer[10].left(511), written.left(503) + "NEWNAME9");
}

void TestLogoCommands::malformedRecordsAreConsumedWhole()
{
    const struct {
        const char *name;
        vp::RecordFault fault;
        bool depot, view;
        int height, width;
        QByteArray name_;
    } rows[] = {
        {"H 0 W 0", vp::RecordFault::Empty, false, false, 32, 32, "KEEP"},
        {"W x H 600, Depot", vp::RecordFault::Oversized, true, false, 4, 125, "KEEP"},
        {"W x H 600, view", vp::RecordFault::Oversized, false, true, 4, 125, ""},
        {"H 6", vp::RecordFault::TallBands, false, false, 4, 10, "KEEP"},
        {"bad check byte", vp::RecordFault::BadCheck, true, false, 2, 3, ""},
    };
    forEachRow(rows, [](const auto &row) {
        vp::Device device(vp::Kind::ViaDepot);
        MemoryPort port(device);
        LogoBuffer logo = sampleLogo();
        logo.name = "KEEP";
        QVERIFY(row.depot ? DPLogoWrite(port, 2, logo) : PrinterLogoWrite(port, 2, logo));
        device.faults().logoRecord = row.fault;
        const QByteArray sent = vp::LogoState::faulty(
            row.depot ? device.logos().depot[0][2] : device.logos().printer[2], row.fault);
        QVERIFY(row.view    ? PrinterLogoView(port, 2, logo)
                : row.depot ? DPLogoRead(port, 2, logo).ok
                            : PrinterLogoRead(port, 2, logo).ok);
        QCOMPARE(logo.height, row.height);
        QCOMPARE(logo.width, row.width);
        QCOMPARE(logo.name, row.name_);
        // The whole record was read before the closing "s", and nothing is left over.
        QCOMPARE(port.written().back(), char(0x73));
        QCOMPARE(port.purgedBytes(), 0);
        QVERIFY(noStrayBytes(port, device));
        // Every dot byte of a column lands in that column; bands beyond four are dropped.
        const int bands = quint8(sent[0]);
        for (int c = 0; c < LogoBuffer::Columns; ++c)
            for (int b = 0; b < LogoBuffer::Bands; ++b)
                if (logo.at(c, b) != (c < row.width && b < bands
                                          ? quint8(0xFF - quint8(sent[2 + c * bands + b]))
                                          : 0xFF))
                    QFAIL(qPrintable(QString("column %1 band %2").arg(c).arg(b)));
    });
}

void TestLogoCommands::viewWaitsForSlowHeaderAtMostItsBound()
{
    vp::Device device;
    LogoBuffer logo;
    // The view's first reply byte may be late; a plain read gets one attempt only. Reads 0..2
    // take the echoes of the request.
    LatePort lateView(device, 3, 4);
    QVERIFY(PrinterLogoView(lateView, 0, logo));
    LatePort lateRead(device, 3, 1);
    const LogoOutcome read = PrinterLogoRead(lateRead, 0, logo);
    QVERIFY(!read.ok && !read.failedOnFirstByte);

    // On a dead line the wait for H ends with its second: the last read is cut short to fit.
    for (bool depotView : {false, true}) {
        vp::Device none(vp::Kind::None);
        DeadLine line(none);
        QElapsedTimer timer;
        timer.start();
        QVERIFY(!(depotView ? DPLogoView(line, 0, logo) : PrinterLogoView(line, 0, logo)));
        QVERIFY2(timer.elapsed() >= LogoViewWaitMs, qPrintable(QString::number(timer.elapsed())));
        QVERIFY2(line.waitedMs <= LogoViewWaitMs, qPrintable(QString::number(line.waitedMs)));
    }
}

void TestLogoCommands::namesLists()
{
    const LogoNames parsed = ParseLogoNames(bytes({0x01, 0x02}) + "ABCDEFGH" + bytes({0, 8}) +
                                            "A B     " + bytes({0, 2}) + "TW");
    QCOMPARE(parsed, (LogoNames{{258, "ABCDEFGH"}, {8, "A B"}})); // high byte first, tail dropped

    vp::Device device(vp::Kind::ViaDepot);
    for (auto &record : device.logos().printer)
        record = vp::LogoState::deletedRecord().replace(503, 1, "N");
    MemoryPort port(device);
    LogoNames names;
    QVERIFY(PrinterLogoNamesRead(port, names));
    QCOMPARE(port.written().right(2), bytes({0x01, 0x03}));
    // 256 logos do not fit a count byte: it says 0, and the entries run on past it.
    QCOMPARE(names.size(), 256);
    QCOMPARE(names.back(), (LogoName{255, "N"}));
    QVERIFY(noStrayBytes(port, device));
    const struct {
        const char *name;
        vp::NamesFault fault;
        NamesRead result;
        const char *text;
    } faults[] = {
        {"300 entries", vp::NamesFault::OverCount, NamesRead::OverCount,
         "LogoNamesList Count>256 "},
        {"ends early", vp::NamesFault::Truncated, NamesRead::Failed, "LogoNamesList Read Error"},
    };
    forEachRow(faults, [&](const auto &row) {
        device.faults().names = row.fault;
        LogoNames kept{{7, "KEPT"}};
        NamesRead result = NamesRead::Ok;
        QVERIFY(!PrinterLogoNamesRead(port, kept, &result));
        QCOMPARE(result, row.result);
        QCOMPARE(namesFailureText(result), QString::fromUtf8(row.text));
        QCOMPARE(kept, (LogoNames{{7, "KEPT"}})); // nothing of a refused list is taken
    });
    device.faults().names = vp::NamesFault::None;
    QVERIFY(DPLogoNamesRead(port, names));
    QCOMPARE(port.written().right(4), bytes({0x12, 0x23, 0x4E, 0x30}));

    // Without a printer the read fails, and the device does not swallow the next command.
    vp::Device depot(vp::Kind::Depot);
    MemoryPort depotPort(depot);
    QByteArray version;
    QVERIFY(!PrinterLogoNamesRead(depotPort, names) && DPVersionRead(depotPort, version));
}

void TestLogoCommands::depotWireBytes()
{
    int bank = 9;
    const struct {
        const char *name;
        Command command;
        QByteArray wire; // empty: refused, nothing sent
        bool silent = false;
    } rows[] = {
        {"BankNumSet", [](Port &p) { return BankNumSet(p, 15); }, bytes({0x12, 0x23, 0x53, 0x0F})},
        {"MaxBankNumSet", [](Port &p) { return MaxBankNumSet(p, 200); },
         bytes({0x12, 0x23, 0x46, 0xC8})},
        {"DPCommandU0", [&](Port &p) { return DPCommandU0(p, bank); },
         bytes({0x12, 0x23, 0x53, 0x00, 0x12, 0x23, 0x55, 0x30, 0x12})},
        {"bank 256", [](Port &p) { return BankNumSet(p, 256); }, {}},
        {"highest bank 300", [](Port &p) { return MaxBankNumSet(p, 300); }, {}},
        {"delete 256", [](Port &p) { return DPLogoDelete(p, 256); }, {}},
        // The bank set fails on its first byte, yet U0 goes out after it and the bank is 0.
        {"DPCommandU0, silent", [&](Port &p) { return DPCommandU0(p, bank = 7); },
         bytes({0x12, 0x12}), true},
    };
    forEachRow(rows, [](const auto &row) {
        vp::Device device(vp::Kind::Depot);
        device.faults().silent = row.silent;
        MemoryPort port(device);
        QCOMPARE(row.command(port), !row.wire.isEmpty() && !row.silent);
        QCOMPARE(port.written().toHex(' '), row.wire.toHex(' '));
        QVERIFY(row.silent || noStrayBytes(port, device));
    });
    QCOMPARE(bank, 0);
}

void TestLogoCommands::banksKeepTheirLogos()
{
    vp::Device device(vp::Kind::ViaDepot);
    MemoryPort port(device);
    LogoBuffer logo = LogoBuffer::deleted();
    logo.name = "BANK15";
    QVERIFY(BankNumSet(port, 15) && DPLogoWrite(port, 5, logo) && BankNumSet(port, 0));
    QVERIFY(device.logos().printer[5].isEmpty()); // a printer logo is a different store
    LogoNames names;
    QVERIFY(DPLogoNamesRead(port, names) && names.isEmpty());
    QVERIFY(BankNumSet(port, 15) && DPLogoNamesRead(port, names));
    QCOMPARE(names, (LogoNames{{5, "BANK15"}}));
    // A bank the Depot does not have leaves the current one.
    QVERIFY(BankNumSet(port, 16));
    QCOMPARE(device.logos().bank, 15);
}

void TestLogoCommands::writeKeptWhenItsLastEchoIsLost()
{
    // The echo of the Depot's "s" (write 516: four echoed bytes, two header bytes, the block) is
    // lost and the line goes quiet: the logo is kept, the command's 0x12 makes no reset, and the
    // missing echo is the one protocol error.
    vp::Device device(vp::Kind::Depot);
    LossyWritePort port(device, 4 + 2 + 510);
    LogoBuffer logo = LogoBuffer::deleted();
    logo.name = "QUIET";
    QVERIFY(DPLogoWrite(port, 6, logo));
    device.idle(vp::Device::CutOffQuietMs);
    QVERIFY(device.settled());
    QCOMPARE(device.protocolErrors().size(), 1);
    QCOMPARE(device.protocolErrors()[0].what, QString("no echo of the write's answer"));
    QCOMPARE(device.printer().resetCount, 0);
    QCOMPARE(device.logos().depot[0][6].mid(503, 5), QByteArray("QUIET"));
}

void TestLogoCommands::versionTextIsCapped()
{
    // A device that keeps talking does not hold the station forever.
    const struct {
        const char *name;
        QByteArray version;
        bool ok;
        QByteArray text;
    } rows[] = {{"blanks come back untrimmed", " \t\x01 ", true, " \t\x01 "},
                {"256 characters", QByteArray(256, 'v'), true, QByteArray(256, 'v')},
                {"257 characters", QByteArray(257, 'v'), false, QByteArray(256, 'v')}};
    forEachRow(rows, [](const auto &row) {
        vp::Device device(vp::Kind::Depot);
        device.logos().version = row.version;
        MemoryPort port(device);
        QByteArray read = "stale";
        QCOMPARE(DPVersionRead(port, read), row.ok);
        QCOMPARE(read, row.text);
    });
}

void TestLogoCommands::eachStoreRunsItsOwnCommand_data()
{
    QTest::addColumn<LogoCall>("call");
    QTest::addColumn<Store>("store");
    QTest::addColumn<QByteArray>("opening"); // the first bytes on the wire, in hex
    QTest::addColumn<QString>("command");    // whose failure text the caller shows
    const struct {
        const char *name;
        LogoCall call;
        QByteArray printer, depot;
        const char *printerCommand, *depotCommand;
    } calls[] = {
        {"write", LogoCall::Write, "0789", "122357", "PrinterLogoWrite", "DPLogoWrite"},
        {"copy", LogoCall::CopyWrite, "0789", "122357", "PrinterLogoWrite", "DPLogoWrite"},
        {"read", LogoCall::Read, "0701", "122352", "PrinterLogoRead", "DPLogoRead"},
        {"view", LogoCall::View, "0700", "122352", "PrinterLogoView", "DPLogoView"},
        {"delete", LogoCall::Delete, "0789", "122357", "PrinterLogoDelete", "DPLogoDelete"},
        {"names", LogoCall::NamesRead, "0103", "12234e30", "PrinterLogoNamesRead",
         "DPLogoNamesRead"},
    };
    for (const auto &c : calls) {
        QTest::addRow("%s printer", c.name)
            << c.call << Store::Printer << c.printer << QString(c.printerCommand);
        QTest::addRow("%s depot", c.name)
            << c.call << Store::Depot << c.depot << QString(c.depotCommand);
    }
}

void TestLogoCommands::eachStoreRunsItsOwnCommand()
{
    QFETCH(LogoCall, call);
    QFETCH(Store, store);
    QFETCH(QByteArray, opening);
    QFETCH(QString, command);
    vp::Device device(vp::Kind::ViaDepot);
    MemoryPort port(device);
    LogoBuffer logo =
        sampleLogo(call == LogoCall::CopyWrite ? DotOrder::Device : DotOrder::Composed);
    LogoNames names;
    bool ok = false;
    switch (call) {
    case LogoCall::Write:
        ok = LogoWrite(port, store, 3, logo);
        break;
    case LogoCall::CopyWrite:
        ok = LogoCopyWrite(port, store, 3, logo);
        break;
    case LogoCall::Read:
        ok = LogoRead(port, store, 3, logo).ok;
        break;
    case LogoCall::View:
        ok = LogoView(port, store, 3, logo);
        break;
    case LogoCall::Delete:
        ok = LogoDelete(port, store, 3);
        break;
    case LogoCall::NamesRead:
        ok = LogoNamesRead(port, store, names);
        break;
    }
    QVERIFY(ok);
    QCOMPARE(port.written().left(opening.size() / 2).toHex(), opening);
    QCOMPARE(QString::fromLatin1(commandEntry(logoCommand(call, store)).name), command);
    QCOMPARE(logoFailure(call, store), failureText(logoCommand(call, store)));
    QVERIFY(noStrayBytes(port, device));
}

QTEST_GUILESS_MAIN(TestLogoCommands)
#include "tst_logo_commands.moc"
