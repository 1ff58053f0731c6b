#include "shell/printer_select.h"
#include "support/station_fixture.h"

#include <QTest>

namespace
{

QByteArray bytes(std::initializer_list<int> list)
{
    QByteArray out;
    for (int b : list)
        out.append(char(b));
    return out;
}

QByteArray feed(vp::Device &device, const QByteArray &in)
{
    for (char c : in)
        device.receive(quint8(c), device.speed());
    device.idle(vp::Device::CommitQuietMs);
    return device.takeOutput();
}

} // namespace

class TestShellPrinter : public QObject
{
    Q_OBJECT

private slots:
    void selectFrame_data();
    void selectFrame();
    void deviceAnswersOnlySoundFramesForItsPrinters_data();
    void deviceAnswersOnlySoundFramesForItsPrinters();
    void loneResetIsStillEchoed();
    void printerChoiceSelectsOnTheLine();
    void missingPrinterReselectsThePrevious();
    void eachPrinterKeepsItsOwnState();
};

void TestShellPrinter::selectFrame_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QByteArray>("frame");
    QTest::newRow("printer 1") << 0 << bytes({0x12, 0x03, 0x08, 0x00, 0xE3});
    QTest::newRow("printer 2") << 1 << bytes({0x12, 0x03, 0x08, 0x01, 0xE2});
    QTest::newRow("printer 6") << 5 << bytes({0x12, 0x03, 0x08, 0x05, 0xDE});
}

void TestShellPrinter::selectFrame()
{
    QFETCH(int, index);
    QFETCH(QByteArray, frame);
    QCOMPARE(vshell::SelectPrinterFrame(index), frame);

    // On the line: the RTS pulse first, then the frame without echo, then one reply byte.
    vp::Device device;
    device.setPrinterCount(6);
    MemoryPort port(device);
    QElapsedTimer pulse;
    pulse.start();
    QVERIFY(vshell::SelectPrinterExchange(port, index));
    QVERIFY(pulse.elapsed() >= vshell::RtsPulseMs);
    QCOMPARE(port.rtsChanges(), (QList<bool>{true, false}));
    QCOMPARE(port.written(), frame);
    QCOMPARE(port.readAttempts(), 1);
    QCOMPARE(device.currentPrinter(), index);
}

void TestShellPrinter::deviceAnswersOnlySoundFramesForItsPrinters_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<int>("selected"); // -1: no answer, nothing selected
    const int printer = int(vp::Kind::Printer);
    QTest::newRow("third of three") << printer << vshell::SelectPrinterFrame(2) << 2;
    QTest::newRow("fourth of three") << printer << vshell::SelectPrinterFrame(3) << -1;
    QTest::newRow("bad check byte") << printer << bytes({0x12, 0x03, 0x08, 0x01, 0xE3}) << -1;
    QTest::newRow("not a select") << printer << bytes({0x12, 0x03, 0x09, 0x01, 0xE1}) << -1;
    QTest::newRow("behind a Depot")
        << int(vp::Kind::ViaDepot) << vshell::SelectPrinterFrame(1) << 1;
    QTest::newRow("Depot alone") << int(vp::Kind::Depot) << vshell::SelectPrinterFrame(1) << -1;
}

void TestShellPrinter::deviceAnswersOnlySoundFramesForItsPrinters()
{
    QFETCH(int, kind);
    QFETCH(QByteArray, frame);
    QFETCH(int, selected);
    vp::Device device{vp::Kind(kind)};
    device.setPrinterCount(3);
    const QByteArray out = feed(device, frame);
    QCOMPARE(out, selected < 0 ? QByteArray() : bytes({vp::Device::SelectReply}));
    QCOMPARE(device.currentPrinter(), selected < 0 ? 0 : selected);
    QVERIFY(device.settled());
}

void TestShellPrinter::loneResetIsStillEchoed()
{
    vp::Device device;
    device.setPrinterCount(2);
    QCOMPARE(feed(device, bytes({0x12})), bytes({0x12}));
    QCOMPARE(device.printer().resetCount, 1);
    QCOMPARE(device.currentPrinter(), 0);
}

void TestShellPrinter::printerChoiceSelectsOnTheLine()
{
    StationFixture f;
    f.addDevice(0).setPrinterCount(3);
    f.startConnected();
    f.open("Printer1");
    f.action("Printer21")->trigger();
    QCOMPARE(f.prompts.messages, (PromptRecorder::ShownList{{"Ok", "Info"}}));
    QCOMPARE(f.port->written(), vshell::SelectPrinterFrame(1));
    QCOMPARE(f.port->rtsChanges(), (QList<bool>{true, false}));
    QCOMPARE(f.lmx(), QStringLiteral("Select printer № 2"));
    QCOMPARE(f.state().line.currentPrinter, 1);
    QVERIFY(f.state().line.connected);
    QCOMPARE(f.device(0).currentPrinter(), 1);
}

void TestShellPrinter::missingPrinterReselectsThePrevious()
{
    StationFixture f;
    f.addDevice(0).setPrinterCount(2);
    f.startConnected();
    f.action("Printer21")->trigger();
    f.prompts.clear();
    f.port->clearWritten();

    f.action("Printer31")->trigger();
    QCOMPARE(f.prompts.messages, (PromptRecorder::ShownList{{"Printer Not Found", "Error"}}));
    QCOMPARE(f.port->written(), vshell::SelectPrinterFrame(2) + vshell::SelectPrinterFrame(1));
    QCOMPARE(f.lmx(), QStringLiteral("Select printer № 2"));
    QCOMPARE(f.state().line.currentPrinter, 1);
    QCOMPARE(f.device(0).currentPrinter(), 1);
}

void TestShellPrinter::eachPrinterKeepsItsOwnState()
{
    StationFixture f;
    f.addDevice(0).setPrinterCount(2);
    f.startConnected();
    f.action("Start")->trigger();
    f.action("Printer21")->trigger();
    f.action("HighVoltageTurn")->trigger();
    QCOMPARE(f.device(0).printer(0).startCount, 1);
    QVERIFY(!f.device(0).printer(0).highVoltage);
    QCOMPARE(f.device(0).printer(1).startCount, 0);
    QVERIFY(f.device(0).printer(1).highVoltage);
}

QTEST_MAIN(TestShellPrinter)
#include "tst_shell_printer.moc"
