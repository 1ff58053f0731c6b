#include "shell/instance_lock.h"
#include "support/station_fixture.h"
#include "ui/messages.h"

#include <QDir>
#include <QTest>

class TestShellClose : public QObject
{
    Q_OBJECT

private slots:
    void closeWritesOnlyComInteger_data();
    void closeWritesOnlyComInteger();
    void rtsPulseOnlyWhilePortOpen_data();
    void rtsPulseOnlyWhilePortOpen();
    void logoFolderKeepsOnlyOtherFiles();
    void exitItemEndsTheApplicationOnce();
    void readErrorWhileModalDialogOpen();
    void sendToPrinterAndPrinterFoundShowNothing_data();
    void sendToPrinterAndPrinterFoundShowNothing();
};

void TestShellClose::closeWritesOnlyComInteger_data()
{
    QTest::addColumn<bool>("printer");
    QTest::addColumn<QString>("written");
    QTest::newRow("connected on COM3") << true << "2";
    QTest::newRow("no port") << false << "-1";
}

void TestShellClose::closeWritesOnlyComInteger()
{
    QFETCH(bool, printer);
    QFETCH(QString, written);
    StationFixture f;
    f.addDevice(2).faults().silent = !printer;
    f.writeSettings(QStringLiteral("; kept\n[PortParams]\nCom=com4\nSpeed=38400\nComInteger=5\n"
                                   "Device1=/dev/ttyUSB0\n\n[Other]\nx=1\n"));
    f.startConnected();
    f.window().close();
    QCOMPARE(f.readSettings(),
             QStringLiteral("; kept\n[PortParams]\nCom=com4\nSpeed=38400\nComInteger=%1\n"
                            "Device1=/dev/ttyUSB0\n\n[Other]\nx=1\n")
                 .arg(written));
    // The lock is free for the next start.
    vshell::InstanceLock next(f.lockPath());
    QVERIFY(next.held());
}

void TestShellClose::rtsPulseOnlyWhilePortOpen_data()
{
    QTest::addColumn<bool>("printer");
    QTest::addColumn<QList<bool>>("rts");
    QTest::newRow("port open") << true << QList<bool>{true, false};
    QTest::newRow("port-open flag clear") << false << QList<bool>{};
}

void TestShellClose::rtsPulseOnlyWhilePortOpen()
{
    QFETCH(bool, printer);
    QFETCH(QList<bool>, rts);
    StationFixture f;
    f.addDevice(0).faults().silent = !printer;
    f.startConnected();
    QCOMPARE(f.state().line.portOpen, printer);
    QElapsedTimer timer;
    timer.start();
    f.window().close();
    QCOMPARE(f.port->rtsChanges(), rts);
    if (printer)
        QVERIFY(timer.elapsed() >= 500);
    QVERIFY(f.port->written().isEmpty());
}

void TestShellClose::logoFolderKeepsOnlyOtherFiles()
{
    StationFixture f;
    QDir work(f.workDir());
    QVERIFY(work.mkdir(QStringLiteral("Logo")));
    for (const char *name : {"Logo/tmp0.logo", "Logo/ARROW.LOGO", "Logo/.hidden.logo",
                             "Logo/arrow.bmp", "Logo/notes.logo.txt", "kept.logo"}) {
        QFile file(work.filePath(QString::fromLatin1(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    f.start();
    f.window().close();
    QStringList left = QDir(work.filePath(QStringLiteral("Logo")))
                           .entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    left.sort();
    QCOMPARE(left, (QStringList{"arrow.bmp", "notes.logo.txt"}));
    // Only the Logo folder is cleaned.
    QVERIFY(QFile::exists(work.filePath(QStringLiteral("kept.logo"))));
}

void TestShellClose::exitItemEndsTheApplicationOnce()
{
    StationFixture f;
    f.addDevice(1);
    f.startConnected();
    f.action("FileExitItem")->trigger();
    f.window().close();
    QCOMPARE(f.endCalls, 1);
    QCOMPARE(f.port->rtsChanges(), (QList<bool>{true, false}));
    QVERIFY(!f.window().isVisible());
}

void TestShellClose::readErrorWhileModalDialogOpen()
{
    StationFixture f;
    f.addDevice(3);
    f.writeSettings(QStringLiteral("[PortParams]\nComInteger=-1\n"));
    f.startConnected();
    QVERIFY(f.state().line.connected);

    // An editor runs modally and finds its cell unreadable.
    QDialog editor(&f.window());
    editor.setObjectName(QStringLiteral("TOKHelpRightDlg"));
    f.driver.whenOpen([&f](QDialog &) { vui::sendMessage(&f.window(), vui::Message::ReadError); });
    const int result = f.modal.exec(editor);
    QCOMPARE(result, int(QDialog::Rejected));
    QCOMPARE(f.endCalls, 1);
    QVERIFY(f.readSettings().contains(QStringLiteral("ComInteger=3")));
    vshell::InstanceLock next(f.lockPath());
    QVERIFY(next.held());
    QCOMPARE(f.port->rtsChanges(), (QList<bool>{true, false}));
}

void TestShellClose::sendToPrinterAndPrinterFoundShowNothing_data()
{
    QTest::addColumn<int>("message");
    QTest::newRow("SendToPrinter") << int(vui::Message::SendToPrinter);
    QTest::newRow("PrinterFound") << int(vui::Message::PrinterFound);
    QTest::newRow("registered only") << int(vui::Message::DeviceExistCheck);
}

void TestShellClose::sendToPrinterAndPrinterFoundShowNothing()
{
    QFETCH(int, message);
    StationFixture f;
    f.addDevice(1);
    f.startConnected();
    f.window().show();
    vui::postMessage(&f.window(), vui::Message(message));
    vui::sendMessage(&f.window(), vui::Message(message));
    QCoreApplication::processEvents();
    QVERIFY(f.window().isVisible());
    QCOMPARE(f.endCalls, 0);
    QCOMPARE(f.prompts.messages, PromptRecorder::ShownList{});
    QCOMPARE(f.prompts.beeps, 0);
    QVERIFY(f.driver.opened.isEmpty());
    QVERIFY(f.port->written().isEmpty());
    QVERIFY(f.state().line.connected);
}

QTEST_MAIN(TestShellClose)
#include "tst_shell_close.moc"
