// The virtual printer's product line: prints paced by a sensor or a print start, status bit 0
// while a mark prints, and the warnings that catch a station writing into a print.

#include "link/machine_commands.h"
#include "link/mark_commands.h"
#include "support/clocked_port.h"
#include "vprinter/mark_render.h"

#include <QTest>

using std::chrono::milliseconds;

class TestProductLine : public QObject
{
    Q_OBJECT

private slots:
    void sensorPrintsWhileRunning_data();
    void sensorPrintsWhileRunning();
    void statusBitLastsTheMarksWidth();
    void printUsesTheMarkAsItBegan();
    void printStartDuringAPrintIsOneWarning();
};

namespace
{

bool printingNow(ClockedMemoryPort &port)
{
    quint8 status = 0;
    if (!vlink::ByteStatusRead(port, status))
        QTest::qFail("status read failed", __FILE__, __LINE__);
    return status & 0x01;
}

} // namespace

void TestProductLine::sensorPrintsWhileRunning_data()
{
    QTest::addColumn<int>("perMinute");
    QTest::addColumn<bool>("start");
    QTest::addColumn<int>("stopAfterMs"); // -1: runs on
    QTest::addColumn<int>("prints");
    QTest::newRow("600 a minute for a second") << 600 << true << -1 << 10;
    QTest::newRow("6000 a minute for a second") << 6000 << true << -1 << 100;
    QTest::newRow("not started") << 600 << false << -1 << 0;
    QTest::newRow("stopped after 350 ms") << 600 << true << 350 << 3;
}

void TestProductLine::sensorPrintsWhileRunning()
{
    QFETCH(int, perMinute);
    QFETCH(bool, start);
    QFETCH(int, stopAfterMs);
    QFETCH(int, prints);
    vp::Device device;
    device.setProductLine(perMinute, 2000);
    ClockedMemoryPort port(device);
    QVERIFY(vlink::TextFragmentWrite(port, 1, 1, "1"));
    if (start)
        QVERIFY(vlink::StartCommand(port));
    const qint64 began = port.elapsedMs();
    if (stopAfterMs >= 0) {
        port.pass(milliseconds(stopAfterMs));
        QVERIFY(vlink::StopCommand(port));
    }
    port.pass(milliseconds(1005 - (port.elapsedMs() - began)));
    QCOMPARE(device.printer().printCount, prints);
}

void TestProductLine::statusBitLastsTheMarksWidth()
{
    vp::Device device;
    device.setProductLine(0, 1000);
    ClockedMemoryPort port(device);
    QVERIFY(vlink::TextFragmentWrite(port, 1, 1, "WIDE MARK"));
    QVERIFY(vlink::StartCommand(port));
    QVERIFY(!printingNow(port));
    const qint64 widthMs =
        qint64(vp::renderMark(device.mark(), device.printer(), device.logos()).columns.size());
    QVERIFY(widthMs > 20);
    QVERIFY(vlink::PrintStart(port));
    const qint64 began = port.elapsedMs();
    QVERIFY(printingNow(port));
    port.pass(milliseconds(widthMs - (port.elapsedMs() - began) - 3));
    QVERIFY(printingNow(port));
    port.pass(milliseconds(4));
    QVERIFY(!printingNow(port));
    QCOMPARE(device.takePrinted().size(), 1);
}

void TestProductLine::printUsesTheMarkAsItBegan()
{
    vp::Device device;
    ClockedMemoryPort port(device);
    QVERIFY(vlink::TextFragmentWrite(port, 1, 1, "OLD"));
    QVERIFY(vlink::TextFragmentWrite(port, 2, 3, "KEPT"));
    QVERIFY(vlink::StartCommand(port));
    QVERIFY(vlink::PrintStart(port));
    QVERIFY(vlink::TextFragmentWrite(port, 1, 1, "NEW"));
    QCOMPARE(device.takeProtocolWarnings().size(), 1);
    port.pass(milliseconds(200));
    QVERIFY(vlink::PrintStart(port));
    port.pass(milliseconds(200));
    const QList<vp::PrintedMark> printed = device.takePrinted();
    QCOMPARE(printed.size(), 2);
    QCOMPARE(printed[0].texts, (QList<QByteArray>{"OLD", "KEPT"}));
    QCOMPARE(printed[1].texts, (QList<QByteArray>{"NEW", "KEPT"}));
    QCOMPARE(printed[1].count, 2);
}

void TestProductLine::printStartDuringAPrintIsOneWarning()
{
    vp::Device device;
    ClockedMemoryPort port(device);
    QVERIFY(vlink::TextFragmentWrite(port, 1, 1, "MARK"));
    QVERIFY(vlink::StartCommand(port));
    QVERIFY(vlink::PrintStart(port));
    QVERIFY(vlink::PrintStart(port));
    port.pass(milliseconds(200));
    QCOMPARE(device.takePrinted().size(), 1);
    QCOMPARE(device.takeProtocolWarnings().size(), 1);
}

QTEST_GUILESS_MAIN(TestProductLine)
#include "tst_product_line.moc"
