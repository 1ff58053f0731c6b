#include "link/depot_commands.h"
#include "link/exchange.h"
#include "link/logo_commands.h"
#include "link/logo_record.h"
#include "link/machine_commands.h"
#include "link/names_list.h"
#include "support/faulty_ports.h"
#include "support/memory_port.h"
#include "support/wire_bytes.h"

#include <QElapsedTimer>
#include <QTest>

using namespace vlink;
using Write = std::function<bool(Port &, int, const LogoBuffer &)>;
Q_DECLARE_METATYPE(Write)
Q_DECLARE_METATYPE(DotOrder)
Q_DECLARE_METATYPE(vp::RecordFault)
Q_DECLARE_METATYPE(vp::Kind)

namespace
{

// Three columns, two bands, every byte different.
LogoBuffer sampleLogo(DotOrder order)
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
    bool readByte(quint8 &byte) override
    {
        return readByteWithin(byte, ReadTotalConstantMs + ReadTotalPerByteMs);
    }
    bool readByteWithin(quint8 &byte, int timeoutMs) override
    {
        if (MemoryPort::readByte(byte))
            return true;
        const int wait = std::min(timeoutMs, ReadTotalConstantMs + ReadTotalPerByteMs);
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
    void deletedLogoRecord();
    void nameField_data();
    void nameField();
    void dotEncoding_data();
    void dotEncoding();
    void refusedWrites_data();
    void refusedWrites();
    void blankBufferFitsEveryWrite_data();
    void blankBufferFitsEveryWrite();
    void writeReplyOtherThanS();
    void writeStoppedByEchoLeavesLineClean();
    void lostClosingBytesStartNextCommand();
    void readWireBytes_data();
    void readWireBytes();
    void roundTripsKeepWireBytes();
    void renameKeepsDots();
    void malformedRecords_data();
    void malformedRecords();
    void firstByteFailureAsksForTone_data();
    void firstByteFailureAsksForTone();
    void viewReadsOnlyDots();
    void viewWaitsForSlowHeader();
    void namesListParse_data();
    void namesListParse();
    void printerNamesRead();
    void printerCommandsWithoutPrinter_data();
    void printerCommandsWithoutPrinter();
};

void TestLogoCommands::deletedLogoRecord()
{
    vp::Device device;
    device.logos().printer[7] = QByteArray(512, 'x'); // something to delete
    MemoryPort port(device);
    QVERIFY(PrinterLogoDelete(port, 7));
    // Header 4, 1; four blank dot bytes; filler; eight spaces; 8 x 0x20 = 0x100, so check 0x00;
    // then the station's echo of the device's "s".
    const QByteArray expected = bytes({0x07, 0x89, 0x07, 4, 1}) + ff(4) + ff(497) +
                                QByteArray(8, ' ') + bytes({0x00, 0x73});
    QCOMPARE(port.written().toHex(' '), expected.toHex(' '));
    QVERIFY(device.logos().printer[7].isEmpty());
    QVERIFY(noStrayBytes(port, device));

    port.clearWritten();
    QVERIFY(DPLogoDelete(port, 249) == false); // a printer alone does not answer the Depot
    vp::Device depot(vp::Kind::Depot);
    MemoryPort depotPort(depot);
    QVERIFY(DPLogoDelete(depotPort, 249));
    QCOMPARE(depotPort.written().left(7), bytes({0x12, 0x23, 0x57, 249, 4, 1, 0xFF}));
}

void TestLogoCommands::nameField_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<int>("check");
    // 'A' + 'B' + 6 x 0x20 = 0x143; 0x100 - 0x43 = 0xBD.
    QTest::newRow("AB") << QByteArray("AB") << QByteArray("AB      ") << 0xBD;
    QTest::newRow("empty") << QByteArray() << QByteArray("        ") << 0x00;
    // "ABCDEFGH" = 0x224; 0x100 - 0x24 = 0xDC.
    QTest::newRow("ten characters keep eight")
        << QByteArray("ABCDEFGHIJ") << QByteArray("ABCDEFGH") << 0xDC;
    QTest::newRow("high characters") << QByteArray("\xB9\xFF") << QByteArray("\xB9\xFF      ")
                                     << 0x88; // 0xB9 + 0xFF + 0xC0 = 0x278
}

void TestLogoCommands::nameField()
{
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, field);
    QFETCH(int, check);
    vp::Device device;
    MemoryPort port(device);
    LogoBuffer logo = sampleLogo(DotOrder::Composed);
    logo.name = name;
    QVERIFY(PrinterLogoWrite(port, 1, logo));
    const QByteArray sent = port.written().mid(5, 510);
    QCOMPARE(sent.mid(501, 8), field);
    QCOMPARE(quint8(sent[509]), quint8(check));
    // The nine bytes sum to 0 modulo 256.
    quint8 sum = 0;
    for (char c : sent.mid(501, 9))
        sum = quint8(sum + quint8(c));
    QCOMPARE(sum, quint8(0));
}

void TestLogoCommands::dotEncoding_data()
{
    QTest::addColumn<Write>("write");
    QTest::addColumn<DotOrder>("order");
    QTest::addColumn<QByteArray>("prefix");
    QTest::addColumn<QByteArray>("dots");
    // Buffer bytes 01 12 F0 80 3C 07. Composed: bit-reversed (80 48 0F 01 3C E0), then inverted.
    const QByteArray reversed = bytes({0x7F, 0xB7, 0xF0, 0xFE, 0xC3, 0x1F});
    // Copies: inverted only.
    const QByteArray kept = bytes({0xFE, 0xED, 0x0F, 0x7F, 0xC3, 0xF8});
    QTest::newRow("PrinterLogoWrite")
        << Write(PrinterLogoWrite) << DotOrder::Composed << bytes({0x07, 0x89, 0x21}) << reversed;
    QTest::newRow("PrinterLogoCopyWrite")
        << Write(PrinterLogoCopyWrite) << DotOrder::Device << bytes({0x07, 0x89, 0x21}) << kept;
    QTest::newRow("DPLogoWrite") << Write(DPLogoWrite) << DotOrder::Composed
                                 << bytes({0x12, 0x23, 0x57, 0x21}) << reversed;
    QTest::newRow("DPLogoCopyWrite")
        << Write(DPLogoCopyWrite) << DotOrder::Device << bytes({0x12, 0x23, 0x57, 0x21}) << kept;
}

void TestLogoCommands::dotEncoding()
{
    QFETCH(Write, write);
    QFETCH(DotOrder, order);
    QFETCH(QByteArray, prefix);
    QFETCH(QByteArray, dots);
    vp::Device device(vp::Kind::ViaDepot);
    MemoryPort port(device);
    QVERIFY(write(port, 0x21, sampleLogo(order)));
    const QByteArray expected = prefix + bytes({2, 3}) + dots + ff(501 - 6) + "LOGO    " +
                                char(NameCheck("LOGO    ")) + char(0x73);
    QCOMPARE(port.written().toHex(' '), expected.toHex(' '));
}

void TestLogoCommands::refusedWrites_data()
{
    QTest::addColumn<Write>("write");
    QTest::addColumn<int>("number");
    QTest::addColumn<DotOrder>("order");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("width");
    const Write plain(PrinterLogoWrite);
    const Write copy(PrinterLogoCopyWrite);
    const Write depot(DPLogoWrite);
    const Write depotCopy(DPLogoCopyWrite);
    QTest::newRow("read logo to a plain write") << plain << 1 << DotOrder::Device << 2 << 3;
    QTest::newRow("read logo to a Depot write") << depot << 1 << DotOrder::Device << 2 << 3;
    QTest::newRow("composed logo to a copy") << copy << 1 << DotOrder::Composed << 2 << 3;
    QTest::newRow("composed logo to a Depot copy")
        << depotCopy << 1 << DotOrder::Composed << 2 << 3;
    QTest::newRow("501 dot bytes") << plain << 1 << DotOrder::Composed << 3 << 167;
    QTest::newRow("four bands of 126") << copy << 1 << DotOrder::Device << 4 << 126;
    QTest::newRow("width beyond a byte") << plain << 1 << DotOrder::Composed << 1 << 256;
    QTest::newRow("five bands") << plain << 1 << DotOrder::Composed << 5 << 3;
    QTest::newRow("no bands") << depot << 1 << DotOrder::Composed << 0 << 3;
    QTest::newRow("no columns") << plain << 1 << DotOrder::Composed << 2 << 0;
    QTest::newRow("number 256") << plain << 256 << DotOrder::Composed << 2 << 3;
    QTest::newRow("number -1") << depot << -1 << DotOrder::Composed << 2 << 3;
}

void TestLogoCommands::refusedWrites()
{
    QFETCH(Write, write);
    QFETCH(int, number);
    QFETCH(DotOrder, order);
    QFETCH(int, height);
    QFETCH(int, width);
    vp::Device device(vp::Kind::ViaDepot);
    MemoryPort port(device);
    LogoBuffer logo = sampleLogo(order);
    logo.height = height;
    logo.width = width;
    QVERIFY(!write(port, number, logo));
    QCOMPARE(port.written(), QByteArray());
}

void TestLogoCommands::blankBufferFitsEveryWrite_data()
{
    QTest::addColumn<Write>("write");
    QTest::addColumn<DotOrder>("order");
    QTest::newRow("plain write, device order") << Write(PrinterLogoWrite) << DotOrder::Device;
    QTest::newRow("copy write, composed order")
        << Write(PrinterLogoCopyWrite) << DotOrder::Composed;
    QTest::newRow("Depot write, device order") << Write(DPLogoWrite) << DotOrder::Device;
    QTest::newRow("Depot copy, composed order") << Write(DPLogoCopyWrite) << DotOrder::Composed;
}

void TestLogoCommands::blankBufferFitsEveryWrite()
{
    QFETCH(Write, write);
    QFETCH(DotOrder, order);
    vp::Device device(vp::Kind::ViaDepot);
    MemoryPort port(device);
    LogoBuffer blank = LogoBuffer::deleted();
    blank.order = order;
    QVERIFY(write(port, 5, blank));
    QCOMPARE(port.written().mid(port.written().size() - 516 + 3, 6), bytes({4, 1}) + ff(4));
}

void TestLogoCommands::writeReplyOtherThanS()
{
    vp::Device device(vp::Kind::ViaDepot);
    device.faults().logoWriteReply = 'e';
    MemoryPort port(device);
    QVERIFY(!PrinterLogoWrite(port, 3, sampleLogo(DotOrder::Composed)));
    // Every byte went out and the reply was echoed, yet the write failed and nothing was kept.
    QCOMPARE(port.written().size(), 3 + 2 + 510 + 1);
    QCOMPARE(port.written().back(), 'e');
    QVERIFY(device.logos().printer[3].isEmpty());
    QVERIFY(!DPLogoWrite(port, 3, sampleLogo(DotOrder::Composed)));
    QVERIFY(device.logos().depot[0][3].isEmpty());
    QVERIFY(noStrayBytes(port, device));

    // A Depot logo number beyond its 250 is refused by the Depot itself.
    device.faults().logoWriteReply = 0x73;
    QVERIFY(!DPLogoWrite(port, 250, sampleLogo(DotOrder::Composed)));
    QVERIFY(DPLogoWrite(port, 249, sampleLogo(DotOrder::Composed)));
}

void TestLogoCommands::writeStoppedByEchoLeavesLineClean()
{
    vp::Device device;
    device.faults().wrongEchoAt = 1; // the echo of 0x89
    MemoryPort port(device);
    QVERIFY(!PrinterLogoWrite(port, 3, sampleLogo(DotOrder::Composed)));
    QCOMPARE(port.written(), bytes({0x07, 0x89}));
    // The device drops the half command once the line has been quiet; the next command works.
    device.idle(vp::Device::CutOffQuietMs);
    QVERIFY(PrinterLogoWrite(port, 3, sampleLogo(DotOrder::Composed)));
    QVERIFY(!device.logos().printer[3].isEmpty());
}

void TestLogoCommands::lostClosingBytesStartNextCommand()
{
    // The echo of the device's "s" (write 515: three echoed bytes, two header bytes, the block)
    // never arrives: the logo is kept all the same, and the next byte is a command of its own.
    vp::Device device;
    LossyWritePort port(device, 3 + 2 + 510);
    QVERIFY(PrinterLogoWrite(port, 8, sampleLogo(DotOrder::Composed)));
    port.deliverAgain();
    QVERIFY(StartCommand(port));
    QCOMPARE(device.printer().startCount, 1);
    QVERIFY(!device.logos().printer[8].isEmpty());

    // A station that gave up half way through a record never sends its closing "s".
    vp::Device reader;
    LatePort late(reader, 3 + 100, 1);
    LogoBuffer logo;
    QVERIFY(!PrinterLogoRead(late, 8, logo, LogoDisplay::Show).ok);
    QVERIFY(StartCommand(late));
    QCOMPARE(reader.printer().startCount, 1);
    QVERIFY(PrinterLogoRead(late, 8, logo, LogoDisplay::Show).ok);
}

void TestLogoCommands::readWireBytes_data()
{
    QTest::addColumn<Command>("command");
    QTest::addColumn<QByteArray>("wire");
    QTest::newRow("PrinterLogoRead") << Command([](Port &p) {
        LogoBuffer logo;
        return PrinterLogoRead(p, 0x42, logo, LogoDisplay::Show).ok;
    }) << bytes({0x07, 0x01, 0x42, 0x73});
    QTest::newRow("PrinterLogoView") << Command([](Port &p) {
        LogoBuffer logo;
        return PrinterLogoView(p, 0xFF, logo);
    }) << bytes({0x07, 0x00, 0xFF, 0x73});
    QTest::newRow("DPLogoRead") << Command([](Port &p) {
        LogoBuffer logo;
        return DPLogoRead(p, 0x42, logo).ok;
    }) << bytes({0x12, 0x23, 0x52, 0x42, 0x73});
    QTest::newRow("DPLogoView") << Command([](Port &p) {
        LogoBuffer logo;
        return DPLogoView(p, 0, logo);
    }) << bytes({0x12, 0x23, 0x52, 0x00, 0x73});
    QTest::newRow("PrinterLogoNamesRead") << Command([](Port &p) {
        LogoNames names;
        return PrinterLogoNamesRead(p, names);
    }) << bytes({0x01, 0x03});
    QTest::newRow("DPLogoNamesRead") << Command([](Port &p) {
        LogoNames names;
        return DPLogoNamesRead(p, names);
    }) << bytes({0x12, 0x23, 0x4E, 0x30});
}

void TestLogoCommands::readWireBytes()
{
    QFETCH(Command, command);
    QFETCH(QByteArray, wire);
    vp::Device device(vp::Kind::ViaDepot);
    MemoryPort port(device);
    QVERIFY(command(port));
    QCOMPARE(port.written().toHex(' '), wire.toHex(' '));
    QVERIFY(noStrayBytes(port, device));
}

void TestLogoCommands::roundTripsKeepWireBytes()
{
    vp::Device device(vp::Kind::ViaDepot);
    MemoryPort port(device);
    const LogoBuffer composed = sampleLogo(DotOrder::Composed);
    QVERIFY(PrinterLogoWrite(port, 9, composed));
    const QByteArray written = device.logos().printer[9];
    QCOMPARE(written.size(), 512);

    LogoBuffer read;
    read.fill(0x55);
    QVERIFY(PrinterLogoRead(port, 9, read, LogoDisplay::Suppressed).ok);
    QCOMPARE(read.order, DotOrder::Device);
    QCOMPARE(read.height, 2);
    QCOMPARE(read.width, 3);
    QCOMPARE(read.name, QByteArray("LOGO"));
    QCOMPARE(read.number, 9);
    // A read-back logo holds each byte in the device's bit order: the reverse of the composed one.
    for (int c = 0; c < 3; ++c)
        for (int b = 0; b < 2; ++b)
            QCOMPARE(read.at(c, b), BitReverse(composed.at(c, b)));
    // Beyond the logo the buffer keeps the read's 0xFF fill.
    QCOMPARE(read.at(3, 0), quint8(0xFF));
    QCOMPARE(read.at(0, 2), quint8(0xFF));

    // Copied to the Depot and back to another printer logo: the same bytes all the way.
    QVERIFY(BankNumSet(port, 4));
    QVERIFY(DPLogoCopyWrite(port, 17, read));
    QCOMPARE(device.logos().depot[4][17], written);
    LogoBuffer again;
    QVERIFY(DPLogoRead(port, 17, again).ok);
    QCOMPARE(again.dots, read.dots);
    QVERIFY(PrinterLogoCopyWrite(port, 10, again));
    QCOMPARE(device.logos().printer[10], written);
}

void TestLogoCommands::renameKeepsDots()
{
    vp::Device device;
    MemoryPort port(device);
    QVERIFY(PrinterLogoWrite(port, 30, sampleLogo(DotOrder::Composed)));
    const QByteArray before = device.logos().printer[30];
    port.clearWritten();
    LogoBuffer logo;
    const LogoOutcome renamed = PrinterLogoRename(port, 30, "NEWNAME9X", logo);
    QVERIFY(renamed.ok && !renamed.closeDialog);
    QCOMPARE(device.logos().printer[30].left(511), before.left(503) + "NEWNAME9");
    // A read (07 01 1E ... 73) followed by a copy write (07 89 1E ...).
    QCOMPARE(port.written().left(7), bytes({0x07, 0x01, 30, 0x73, 0x07, 0x89, 30}));
}

void TestLogoCommands::malformedRecords_data()
{
    QTest::addColumn<vp::RecordFault>("fault");
    QTest::addColumn<bool>("depot");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("width");
    QTest::addColumn<QByteArray>("name");
    const QByteArray keep = "KEEP";
    QTest::newRow("H 0 W 0") << vp::RecordFault::Empty << false << 32 << 32 << keep;
    QTest::newRow("H 0 W 0, Depot") << vp::RecordFault::Empty << true << 32 << 32 << keep;
    QTest::newRow("W x H 600") << vp::RecordFault::Oversized << false << 4 << 125 << keep;
    QTest::newRow("W x H 600, Depot") << vp::RecordFault::Oversized << true << 4 << 125 << keep;
    QTest::newRow("H 6") << vp::RecordFault::TallBands << false << 4 << 10 << keep;
    QTest::newRow("bad check byte") << vp::RecordFault::BadCheck << true << 2 << 3 << QByteArray();
}

void TestLogoCommands::malformedRecords()
{
    QFETCH(vp::RecordFault, fault);
    QFETCH(bool, depot);
    QFETCH(int, height);
    QFETCH(int, width);
    QFETCH(QByteArray, name);
    vp::Device device(vp::Kind::ViaDepot);
    MemoryPort port(device);
    LogoBuffer stored = sampleLogo(DotOrder::Composed);
    stored.name = "KEEP";
    QVERIFY(depot ? DPLogoWrite(port, 2, stored) : PrinterLogoWrite(port, 2, stored));
    device.faults().logoRecord = fault;
    const QByteArray sent = vp::LogoState::faulty(
        depot ? device.logos().depot[0][2] : device.logos().printer[2], fault);
    port.clearWritten();

    LogoBuffer logo;
    QVERIFY(depot ? DPLogoRead(port, 2, logo).ok
                  : PrinterLogoRead(port, 2, logo, LogoDisplay::Show).ok);
    QCOMPARE(logo.height, height);
    QCOMPARE(logo.width, width);
    QCOMPARE(logo.name, name);
    // The whole record was read before the closing "s", and nothing is left over.
    QCOMPARE(port.written().right(2), bytes({2, 0x73}));
    QVERIFY(noStrayBytes(port, device));

    // Every dot byte of a column lands in that column; announced bands beyond four are dropped.
    const int bands = quint8(sent[0]);
    for (int c = 0; c < LogoBuffer::Columns; ++c) {
        for (int b = 0; b < LogoBuffer::Bands; ++b) {
            const bool held = c < width && b < bands;
            const quint8 expected = held ? quint8(0xFF - quint8(sent[2 + c * bands + b])) : 0xFF;
            if (logo.at(c, b) != expected)
                QFAIL(qPrintable(QString("column %1 band %2").arg(c).arg(b)));
        }
    }
    // The line is in step: the next command works.
    device.faults().logoRecord = vp::RecordFault::None;
    QVERIFY(StartCommand(port));
    QVERIFY(PrinterLogoRead(port, 2, logo, LogoDisplay::Show).ok);
}

void TestLogoCommands::firstByteFailureAsksForTone_data()
{
    QTest::addColumn<int>("faultAt");
    QTest::addColumn<bool>("tone");
    QTest::newRow("first byte") << 0 << true;
    QTest::newRow("second byte") << 1 << false;
    QTest::newRow("logo number") << 2 << false;
}

void TestLogoCommands::firstByteFailureAsksForTone()
{
    QFETCH(int, faultAt);
    QFETCH(bool, tone);
    vp::Device device;
    device.faults().dropEchoAt = faultAt;
    MemoryPort port(device);
    LogoBuffer logo;
    const LogoOutcome outcome = PrinterLogoRead(port, 1, logo, LogoDisplay::Show);
    QVERIFY(!outcome.ok);
    QCOMPARE(outcome.failedOnFirstByte, tone);
    QVERIFY(!outcome.closeDialog);
    QCOMPARE(port.written().size(), faultAt + 1);

    // Without a fault the outcome says whether the caller closes its dialog.
    vp::Device fresh(vp::Kind::ViaDepot);
    MemoryPort good(fresh);
    QVERIFY(PrinterLogoRead(good, 1, logo, LogoDisplay::Show).closeDialog);
    QVERIFY(!PrinterLogoRead(good, 1, logo, LogoDisplay::Suppressed).closeDialog);
    QVERIFY(DPLogoRead(good, 1, logo).closeDialog);
}

void TestLogoCommands::viewReadsOnlyDots()
{
    vp::Device device;
    MemoryPort port(device);
    QVERIFY(PrinterLogoWrite(port, 12, sampleLogo(DotOrder::Composed)));
    LogoBuffer logo;
    logo.name = "OLD";
    QVERIFY(PrinterLogoView(port, 12, logo));
    QCOMPARE(logo.order, DotOrder::Device);
    QCOMPARE(logo.height, 2);
    QCOMPARE(logo.width, 3);
    QCOMPARE(logo.name, QByteArray()); // a printer view carries no name
    QCOMPARE(logo.at(0, 0), quint8(0x80));
    QCOMPARE(logo.at(2, 1), quint8(0xE0));

    vp::Device depot(vp::Kind::Depot);
    MemoryPort depotPort(depot);
    QVERIFY(DPLogoWrite(depotPort, 12, sampleLogo(DotOrder::Composed)));
    LogoBuffer viewed;
    QVERIFY(DPLogoView(depotPort, 12, viewed));
    QCOMPARE(viewed.name, QByteArray("LOGO"));
    QCOMPARE(viewed.dots, logo.dots);

    // All 600 announced bytes of an oversized record are taken before the closing "s".
    device.faults().logoRecord = vp::RecordFault::Oversized;
    QVERIFY(PrinterLogoView(port, 0, logo));
    QCOMPARE(logo.width, 125);
    QCOMPARE(logo.height, 4);
    QCOMPARE(logo.at(124, 3), quint8(0xFF - 499 % 255));
    QCOMPARE(logo.at(125, 0), quint8(0xFF));
    QCOMPARE(port.written().back(), char(0x73));
    QVERIFY(noStrayBytes(port, device));
}

void TestLogoCommands::viewWaitsForSlowHeader()
{
    vp::Device device;
    LogoBuffer logo;
    // The view's first reply byte may be late; a plain read gets one attempt only. Reads 0..2
    // take the echoes of the request.
    LatePort lateView(device, 3, 4);
    QVERIFY(PrinterLogoView(lateView, 0, logo));
    QCOMPARE(logo.width, 1);
    LatePort lateRead(device, 3, 1);
    QVERIFY(!PrinterLogoRead(lateRead, 0, logo, LogoDisplay::Show).ok);
    vp::Device depot(vp::Kind::Depot);
    LatePort lateDepotView(depot, 4, 4);
    QVERIFY(DPLogoView(lateDepotView, 0, logo));

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

void TestLogoCommands::namesListParse_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QList<int>>("numbers");
    QTest::addColumn<QList<QByteArray>>("names");
    QTest::newRow("none") << QByteArray() << QList<int>() << QList<QByteArray>();
    QTest::newRow("high byte first")
        << bytes({0x01, 0x02}) + "ABCDEFGH" + bytes({0x00, 0xF9}) + "X       "
        << QList<int>{258, 249} << QList<QByteArray>{"ABCDEFGH", "X"};
    QTest::newRow("blank name and inner space")
        << bytes({0, 7}) + "        " + bytes({0, 8}) + "A B     " << QList<int>{7, 8}
        << QList<QByteArray>{"", "A B"};
    QTest::newRow("incomplete tail") << bytes({0, 1}) + "ONE     " + bytes({0, 2}) + "TW"
                                     << QList<int>{1} << QList<QByteArray>{"ONE"};
}

void TestLogoCommands::namesListParse()
{
    QFETCH(QByteArray, text);
    QFETCH(QList<int>, numbers);
    QFETCH(QList<QByteArray>, names);
    const LogoNames parsed = ParseLogoNames(text);
    QCOMPARE(parsed.size(), numbers.size());
    for (int i = 0; i < parsed.size(); ++i) {
        QCOMPARE(parsed[i].number, numbers[i]);
        QCOMPARE(parsed[i].name, names[i]);
    }
}

void TestLogoCommands::printerNamesRead()
{
    vp::Device device;
    MemoryPort port(device);
    LogoBuffer logo = sampleLogo(DotOrder::Composed);
    for (int n : {255, 3, 100}) {
        logo.name = "N" + QByteArray::number(n);
        QVERIFY(PrinterLogoWrite(port, n, logo));
    }
    QVERIFY(PrinterLogoDelete(port, 100));
    LogoNames names;
    QVERIFY(PrinterLogoNamesRead(port, names));
    QCOMPARE(names, (LogoNames{{3, "N3"}, {255, "N255"}}));
    QVERIFY(noStrayBytes(port, device));
}

void TestLogoCommands::printerCommandsWithoutPrinter_data()
{
    QTest::addColumn<vp::Kind>("kind");
    QTest::newRow("Depot alone") << vp::Kind::Depot;
    QTest::newRow("no device") << vp::Kind::None;
}

void TestLogoCommands::printerCommandsWithoutPrinter()
{
    QFETCH(vp::Kind, kind);
    vp::Device device(kind);
    MemoryPort port(device);
    LogoBuffer logo;
    const LogoOutcome read = PrinterLogoRead(port, 1, logo, LogoDisplay::Show);
    QVERIFY(!read.ok);
    QVERIFY(!read.failedOnFirstByte); // the line echoed
    QVERIFY(!PrinterLogoWrite(port, 1, sampleLogo(DotOrder::Composed)));
    QVERIFY(device.logos().printer[1].isEmpty());
    LogoNames names;
    QVERIFY(!PrinterLogoNamesRead(port, names));
    // The device did not swallow the next command while waiting for the rest of a read.
    QByteArray version;
    QCOMPARE(DPVersionRead(port, version), kind == vp::Kind::Depot);
}

QTEST_GUILESS_MAIN(TestLogoCommands)
#include "tst_logo_commands.moc"
