#include "link/depot_commands.h"
#include "support/faulty_ports.h"
#include "support/table_rows.h"
#include "support/wire_bytes.h"

#include <QTest>

using namespace vlink;

class TestDepotCommands : public QObject
{
    Q_OBJECT

private slots:
    void wireBytes();
    void banksKeepTheirLogos();
    void writeKeptWhenItsLastEchoIsLost();
    void versionTextIsCapped();
};

void TestDepotCommands::wireBytes()
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

void TestDepotCommands::banksKeepTheirLogos()
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

void TestDepotCommands::writeKeptWhenItsLastEchoIsLost()
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

void TestDepotCommands::versionTextIsCapped()
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

QTEST_GUILESS_MAIN(TestDepotCommands)
#include "tst_depot_commands.moc"
