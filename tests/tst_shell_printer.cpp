#include "shell/printer_select.h"
#include "support/station_fixture.h"
#include "support/wire_bytes.h"

#include <QTest>

class TestShellPrinter : public QObject
{
    Q_OBJECT

private slots:
    void selectFrameOnTheLine();
    void printerChoice();
};

// The RTS pulse first, then the frame without echo, then one reply byte.
void TestShellPrinter::selectFrameOnTheLine()
{
    QCOMPARE(vshell::SelectPrinterFrame(0), bytes({0x12, 0x03, 0x08, 0x00, 0xE3}));
    vp::Device device;
    device.setPrinterCount(6);
    MemoryPort port(device);
    QElapsedTimer pulse;
    pulse.start();
    QVERIFY(vshell::SelectPrinterExchange(port, 1));
    QVERIFY(pulse.elapsed() >= vshell::RtsPulseMs);
    QCOMPARE(port.rtsChanges(), (QList<bool>{true, false}));
    QCOMPARE(port.written(), vshell::SelectPrinterFrame(1));
    QCOMPARE(device.currentPrinter(), 1);
}

// A printer that does not answer is left for the one selected before.
void TestShellPrinter::printerChoice()
{
    StationFixture f;
    f.addDevice(0).setPrinterCount(2);
    f.startConnected();
    f.open("Printer1");
    f.action("Printer21")->trigger();
    QCOMPARE(f.prompts.messages, (PromptRecorder::ShownList{{"Ok", "Info"}}));
    QCOMPARE(f.port->rtsChanges(), (QList<bool>{true, false}));
    QCOMPARE(f.lmx(), QStringLiteral("Select printer № 2"));
    f.prompts.clear();
    f.port->clearWritten();
    f.action("Printer31")->trigger();
    QCOMPARE(f.prompts.messages, (PromptRecorder::ShownList{{"Printer Not Found", "Error"}}));
    QCOMPARE(f.port->written(), vshell::SelectPrinterFrame(2) + vshell::SelectPrinterFrame(1));
    QCOMPARE(f.lmx(), QStringLiteral("Select printer № 2"));
    QCOMPARE(f.device(0).currentPrinter(), 1);
}

QTEST_MAIN(TestShellPrinter)
#include "tst_shell_printer.moc"
