#include "link/depot_commands.h"
#include "link/exchange.h"
#include "link/logo_commands.h"
#include "support/faulty_ports.h"
#include "support/memory_port.h"
#include "support/wire_bytes.h"

#include <QTest>

using namespace vlink;
Q_DECLARE_METATYPE(vp::Kind)

namespace
{

LogoBuffer namedLogo(const QByteArray &name, quint8 dot)
{
    LogoBuffer logo;
    logo.width = 2;
    logo.height = 1;
    logo.name = name;
    logo.at(0, 0) = dot;
    logo.at(1, 0) = 0x81;
    return logo;
}

} // namespace

class TestDepotCommands : public QObject
{
    Q_OBJECT

private slots:
    void wireBytes_data();
    void wireBytes();
    void valuesBeyondAByteSendNothing_data();
    void valuesBeyondAByteSendNothing();
    void banksKeepTheirLogos();
    void writeKeptWhenItsLastEchoIsLost();
    void versionText_data();
    void versionText();
    void commandU0ResetsBank();
    void depotCommandsByDeviceKind_data();
    void depotCommandsByDeviceKind();
    void namesListsFillTheCountByte();
};

void TestDepotCommands::wireBytes_data()
{
    QTest::addColumn<Command>("command");
    QTest::addColumn<QByteArray>("wire");
    QTest::newRow("BankNumSet") << Command([](Port &p) { return BankNumSet(p, 15); })
                                << bytes({0x12, 0x23, 0x53, 0x0F});
    QTest::newRow("MaxBankNumSet") << Command([](Port &p) { return MaxBankNumSet(p, 200); })
                                   << bytes({0x12, 0x23, 0x46, 0xC8});
    QTest::newRow("DPVersionRead") << Command([](Port &p) {
        QByteArray text;
        return DPVersionRead(p, text);
    }) << bytes({0x12, 0x23, 0x56, 0x30});
    QTest::newRow("DPCommandU0") << Command([](Port &p) {
        int bank = 9;
        return DPCommandU0(p, bank);
    }) << bytes({0x12, 0x23, 0x53, 0x00, 0x12, 0x23, 0x55, 0x30, 0x12});
    QTest::newRow("DPLogoRead") << Command([](Port &p) {
        LogoBuffer logo;
        return DPLogoRead(p, 249, logo).ok;
    }) << bytes({0x12, 0x23, 0x52, 0xF9, 0x73});
}

void TestDepotCommands::wireBytes()
{
    QFETCH(Command, command);
    QFETCH(QByteArray, wire);
    vp::Device device(vp::Kind::Depot);
    MemoryPort port(device);
    QVERIFY(command(port));
    QCOMPARE(port.written().toHex(' '), wire.toHex(' '));
    QVERIFY(noStrayBytes(port, device));
}

void TestDepotCommands::valuesBeyondAByteSendNothing_data()
{
    QTest::addColumn<Command>("command");
    QTest::newRow("bank 256") << Command([](Port &p) { return BankNumSet(p, 256); });
    QTest::newRow("bank -1") << Command([](Port &p) { return BankNumSet(p, -1); });
    QTest::newRow("highest bank 300") << Command([](Port &p) { return MaxBankNumSet(p, 300); });
    QTest::newRow("read 256") << Command([](Port &p) {
        LogoBuffer logo;
        return DPLogoRead(p, 256, logo).ok;
    });
    QTest::newRow("view -1") << Command([](Port &p) {
        LogoBuffer logo;
        return DPLogoView(p, -1, logo);
    });
    QTest::newRow("delete 256") << Command([](Port &p) { return DPLogoDelete(p, 256); });
}

void TestDepotCommands::valuesBeyondAByteSendNothing()
{
    QFETCH(Command, command);
    vp::Device device(vp::Kind::Depot);
    MemoryPort port(device);
    QVERIFY(!command(port));
    QCOMPARE(port.written(), QByteArray());
}

void TestDepotCommands::banksKeepTheirLogos()
{
    vp::Device device(vp::Kind::ViaDepot);
    MemoryPort port(device);
    QVERIFY(DPLogoWrite(port, 5, namedLogo("BANK0", 0x01)));
    QVERIFY(BankNumSet(port, 15));
    QCOMPARE(device.logos().bank, 15);
    QVERIFY(DPLogoWrite(port, 5, namedLogo("BANK15", 0x02)));
    QVERIFY(DPLogoWrite(port, 200, namedLogo("TWO", 0x04)));
    // A printer logo of the same number is a different store.
    QVERIFY(device.logos().printer[5].isEmpty());

    LogoNames names;
    QVERIFY(DPLogoNamesRead(port, names));
    QCOMPARE(names, (LogoNames{{5, "BANK15"}, {200, "TWO"}}));
    LogoBuffer logo;
    QVERIFY(BankNumSet(port, 0));
    QVERIFY(DPLogoNamesRead(port, names));
    QCOMPARE(names, (LogoNames{{5, "BANK0"}}));
    QVERIFY(DPLogoView(port, 5, logo));
    QCOMPARE(logo.name, QByteArray("BANK0"));
    QCOMPARE(logo.at(0, 0), BitReverse(0x01));
    QCOMPARE(logo.at(1, 0), quint8(0x81));

    // A bank the Depot does not have leaves the current one.
    QVERIFY(BankNumSet(port, 16));
    QCOMPARE(device.logos().bank, 0);
}

void TestDepotCommands::writeKeptWhenItsLastEchoIsLost()
{
    // The echo of the Depot's "s" (write 516: four echoed bytes, two header bytes, the block) is
    // lost, and the line goes quiet: the logo is kept, no reset is made of the command's 0x12,
    // and the missing echo is the one protocol error.
    vp::Device device(vp::Kind::Depot);
    LossyWritePort port(device, 4 + 2 + 510);
    QVERIFY(DPLogoWrite(port, 6, namedLogo("QUIET", 0x01)));
    device.idle(vp::Device::CutOffQuietMs);
    QVERIFY(device.settled());
    QCOMPARE(device.protocolErrors().size(), 1);
    QCOMPARE(device.protocolErrors()[0].what, QString("no echo of the write's answer"));
    QCOMPARE(device.printer().resetCount, 0);
    QCOMPARE(device.logos().depot[0][6].mid(503, 5), QByteArray("QUIET"));
    port.deliverAgain();
    QByteArray version;
    QVERIFY(DPVersionRead(port, version));
}

void TestDepotCommands::versionText_data()
{
    QTest::addColumn<QByteArray>("version");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("plain") << QByteArray("DEPOT V2.1") << true << QByteArray("DEPOT V2.1");
    QTest::newRow("blanks come back untrimmed")
        << QByteArray(" \t\x01 ") << true << QByteArray(" \t\x01 ");
    QTest::newRow("empty") << QByteArray() << true << QByteArray();
    QTest::newRow("256 characters") << QByteArray(256, 'v') << true << QByteArray(256, 'v');
    // A device that keeps talking does not hold the station forever.
    QTest::newRow("257 characters") << QByteArray(257, 'v') << false << QByteArray(256, 'v');
}

void TestDepotCommands::versionText()
{
    QFETCH(QByteArray, version);
    QFETCH(bool, ok);
    QFETCH(QByteArray, text);
    vp::Device device(vp::Kind::Depot);
    device.logos().version = version;
    MemoryPort port(device);
    QByteArray read = "stale";
    QCOMPARE(DPVersionRead(port, read), ok);
    QCOMPARE(read, text);
}

void TestDepotCommands::commandU0ResetsBank()
{
    vp::Device device(vp::Kind::Depot);
    MemoryPort port(device);
    QVERIFY(BankNumSet(port, 7));
    int bank = 7;
    QVERIFY(DPCommandU0(port, bank));
    QCOMPARE(bank, 0);
    QCOMPARE(device.logos().bank, 0);
    QCOMPARE(device.logos().u0Count, 1);

    // The caller's bank is 0 even when the line stays silent: the command fails.
    vp::Device silent;
    silent.faults().silent = true;
    MemoryPort dead(silent);
    bank = 7;
    QVERIFY(!DPCommandU0(dead, bank));
    QCOMPARE(bank, 0);
    // BankNumSet failed on its first byte, and U0 still went out after it.
    QCOMPARE(dead.written(), bytes({0x12, 0x12}));
}

void TestDepotCommands::depotCommandsByDeviceKind_data()
{
    QTest::addColumn<vp::Kind>("kind");
    QTest::addColumn<bool>("answers");
    QTest::newRow("printer alone") << vp::Kind::Printer << false;
    QTest::newRow("printer via Depot") << vp::Kind::ViaDepot << true;
    QTest::newRow("Depot alone") << vp::Kind::Depot << true;
    QTest::newRow("no device") << vp::Kind::None << false;
}

void TestDepotCommands::depotCommandsByDeviceKind()
{
    QFETCH(vp::Kind, kind);
    QFETCH(bool, answers);
    vp::Device device(kind);
    MemoryPort port(device);
    QCOMPARE(DPLogoWrite(port, 1, namedLogo("K", 0x10)), answers);
    QCOMPARE(device.logos().depot[0][1].isEmpty(), !answers);
    LogoBuffer logo;
    QCOMPARE(DPLogoRead(port, 1, logo).ok, answers);
    QByteArray version;
    QCOMPARE(DPVersionRead(port, version), answers);
    LogoNames names;
    QCOMPARE(DPLogoNamesRead(port, names), answers);
    // Settings and U0 need only their echoes, which every line gives.
    QVERIFY(BankNumSet(port, 2));
    QCOMPARE(device.logos().bank, answers ? 2 : 0);
    int bank = 2;
    QVERIFY(DPCommandU0(port, bank));
    QCOMPARE(device.logos().u0Count, answers ? 1 : 0);
}

void TestDepotCommands::namesListsFillTheCountByte()
{
    vp::Device device(vp::Kind::ViaDepot);
    for (int n = 0; n < vp::LogoState::PrinterLogos; ++n)
        device.logos().printer[std::size_t(n)] =
            vp::LogoState::deletedRecord().replace(503, 1, "N");
    for (int n = 0; n < vp::LogoState::BankLogos; ++n)
        device.logos().depot[3][std::size_t(n)] = device.logos().printer[0];
    MemoryPort port(device);
    LogoNames names;
    QVERIFY(PrinterLogoNamesRead(port, names));
    // 256 logos do not fit a count byte: the list stops at 255.
    QCOMPARE(names.size(), 255);
    QCOMPARE(names.back().number, 254);
    QVERIFY(BankNumSet(port, 3));
    QVERIFY(DPLogoNamesRead(port, names));
    QCOMPARE(names.size(), 250);
    QCOMPARE(names.back(), (LogoName{249, "N"}));
    QVERIFY(noStrayBytes(port, device));
}

QTEST_GUILESS_MAIN(TestDepotCommands)
#include "tst_depot_commands.moc"
