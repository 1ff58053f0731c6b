// The main window from start-up through the printer choice to its close.

#include "link/printer_select.h"
#include "shell/instance_lock.h"
#include "shell/port_params.h"
#include "support/station_fixture.h"
#include "support/table_rows.h"
#include "support/wire_bytes.h"
#include "ui/messages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QMenu>
#include <QTest>

using vp::Kind;

class TestShellStartup : public QObject
{
    Q_OBJECT

private slots:
    void secondInstanceEndsSilently();
    void discoveryAtTheFirstActivation();
    void nothingAnswersRetriesOnEveryActivation();
    void deviceKindShown();
    void printerChoice();
    void closeSteps();
    void readErrorWhileModalDialogOpen();
    void unwrittenSettingsAreNamed_data();
    void unwrittenSettingsAreNamed();
};

void TestShellStartup::secondInstanceEndsSilently()
{
    StationFixture first;
    first.addDevice(1);
    first.startConnected();

    // A second station on the same lock, as a second process on this computer.
    StationFixture second;
    vui::ModalRunner modal;
    PromptRecorder prompts;
    MemoryPort port(second.addDevice(1), false);
    vshell::StationEnvironment env{port, prompts, modal, second.settingsPath()};
    env.lockPath = first.lockPath();
    env.workDir = second.workDir();
    vshell::TAutoControl other(env);
    other.createStartWindows();
    QVERIFY(!other.firstInstance());
    QVERIFY(!other.isVisible() && !other.aboutBox() && !other.portForms());
    other.FormActivate();
    QVERIFY(port.written().isEmpty() && prompts.messages.isEmpty() && prompts.beeps == 0);
    QVERIFY(!QFile::exists(second.settingsPath()));
    // The first keeps its port and its lock.
    QVERIFY(first.state().line.portOpen);
    QVERIFY(!vshell::InstanceLock(first.lockPath()).held());
}

// The remembered port is tried first, without a beep; else the scan takes the lowest port that
// answers, with one beep. A later activation makes no traffic.
void TestShellStartup::discoveryAtTheFirstActivation()
{
    const struct {
        const char *name;
        const char *settings; // nullptr: no settings file
        QList<int> devices;
        int port;
        int beeps;
    } rows[] = {
        {"no settings file: COM2 first", nullptr, {0, 1}, 1, 0},
        {"remembered COM4", "ComInteger=3", {0, 3}, 3, 0},
        {"no port last time", "ComInteger=-1", {5, 2}, 2, 1},
        {"not a number", "ComInteger=COM2", {2}, 2, 1},
        {"empty", "ComInteger=", {2}, 2, 1},
        {"beyond COM6", "ComInteger=7", {2}, 2, 1},
        {"an absent port", "ComInteger=0", {3, 5}, 3, 1},
    };
    forEachRow(rows, [](const auto &row) {
        StationFixture f;
        for (int port : row.devices)
            f.addDevice(port, Kind::Printer, 9600);
        if (row.settings)
            f.writeSettings(QStringLiteral("[PortParams]\n%1\n").arg(row.settings));
        f.start();
        f.window().FormActivate();
        QCOMPARE(f.state().line.currentPort, row.port);
        QVERIFY(f.state().line.connected && f.state().line.portOpen);
        QCOMPARE(f.state().line.portName, QStringLiteral("Com%1").arg(row.port + 1));
        QCOMPARE(f.state().line.speedText, QStringLiteral("9600"));
        QCOMPARE(f.prompts.beeps, row.beeps);
        QVERIFY(f.prompts.messages.isEmpty());
        for (int port : row.devices)
            QCOMPARE(f.device(port).received().isEmpty(),
                     port != row.port && (port > row.port || row.beeps == 0));
        f.port->clearWritten();
        f.window().FormActivate();
        QVERIFY(f.port->written().isEmpty());
        QCOMPARE(f.prompts.beeps, row.beeps);
    });
}

void TestShellStartup::nothingAnswersRetriesOnEveryActivation()
{
    StationFixture f;
    f.addDevice(0).faults().silent = true;
    f.addDevice(4).faults().silent = true;
    f.start();
    f.window().FormActivate();
    QCOMPARE(f.prompts.messages, (PromptRecorder::ShownList{{"Device not found", "Error"}}));
    QCOMPARE(f.prompts.beeps, 2);
    QVERIFY(!f.state().line.connected && !f.state().line.portOpen);
    QCOMPARE(f.state().line.currentPort, -1);
    QCOMPARE(f.window().findChild<QComboBox *>("CBDevice")->currentText(), QString());
    // Once the printer is back the next activation finds it.
    f.device(4).faults().silent = false;
    f.window().FormActivate();
    QCOMPARE(f.state().line.currentPort, 4);
    QCOMPARE(f.prompts.beeps, 3);
}

// A Depot unit alone is shown as such and takes no printer commands.
void TestShellStartup::deviceKindShown()
{
    for (const bool depot : {false, true}) {
        StationFixture f;
        f.addDevice(1, depot ? Kind::Depot : Kind::ViaDepot);
        f.startConnected();
        QCOMPARE(f.window().findChild<QComboBox *>("CBDevice")->currentText(),
                 depot ? "Depot only" : "Printer via Depot");
        QCOMPARE(f.window().findChild<QCheckBox *>("CBDepotNow")->isChecked(), depot);
        QCOMPARE(f.menu("Commands1")->menuAction()->isEnabled(), !depot);
    }
}

// The RTS pulse first, then the frame without echo, then one reply byte. A printer that does not
// answer is left for the one selected before.
void TestShellStartup::printerChoice()
{
    QCOMPARE(vlink::SelectPrinterFrame(0), bytes({0x12, 0x03, 0x08, 0x00, 0xE3}));
    StationFixture f;
    f.addDevice(0).setPrinterCount(2);
    f.startConnected();
    f.open("Printer1");
    f.port->clearWritten();
    QElapsedTimer pulse;
    pulse.start();
    f.action("Printer21")->trigger();
    QVERIFY(pulse.elapsed() >= vlink::RtsPulseMs);
    QCOMPARE(f.prompts.messages, (PromptRecorder::ShownList{{"Ok", "Info"}}));
    QCOMPARE(f.port->rtsChanges(), (QList<bool>{true, false}));
    QCOMPARE(f.port->written(), vlink::SelectPrinterFrame(1));
    QCOMPARE(f.lmx(), QStringLiteral("Select printer № 2"));
    f.prompts.clear();
    f.port->clearWritten();
    f.action("Printer31")->trigger();
    QCOMPARE(f.prompts.messages, (PromptRecorder::ShownList{{"Printer Not Found", "Error"}}));
    QCOMPARE(f.port->written(), vlink::SelectPrinterFrame(2) + vlink::SelectPrinterFrame(1));
    QCOMPARE(f.lmx(), QStringLiteral("Select printer № 2"));
    QCOMPARE(f.device(0).currentPrinter(), 1);
}

// Closing writes back only ComInteger, frees the lock, empties the logo folder of *.logo and
// pulses RTS only while the port is open.
void TestShellStartup::closeSteps()
{
    const struct {
        const char *name;
        bool printer;
        const char *written;
        QList<bool> rts;
    } rows[] = {
        {"connected on COM3", true, "2", {true, false}},
        {"no port", false, "-1", {}},
    };
    forEachRow(rows, [](const auto &row) {
        StationFixture f;
        f.addDevice(2).faults().silent = !row.printer;
        const QString settings = QStringLiteral("; kept\n[PortParams]\nCom=com4\nSpeed=38400\n"
                                                "ComInteger=%1\nDevice1=/dev/ttyUSB0\n\n[Other]\n");
        f.writeSettings(settings.arg(5));
        QDir work(f.workDir());
        QVERIFY(work.mkdir(QStringLiteral("Logo")));
        for (const char *name :
             {"Logo/tmp0.logo", "Logo/ARROW.LOGO", "Logo/.h.logo", "Logo/a.bmp", "kept.logo"}) {
            QFile file(work.filePath(QString::fromLatin1(name)));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        f.startConnected();
        f.window().close();
        QCOMPARE(f.readSettings(), settings.arg(QString::fromLatin1(row.written)));
        QVERIFY(vshell::InstanceLock(f.lockPath()).held());
        QCOMPARE(f.port->rtsChanges(), row.rts);
        QVERIFY(f.port->written().isEmpty());
        QCOMPARE(QDir(work.filePath(QStringLiteral("Logo")))
                     .entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{"a.bmp"});
        QVERIFY(QFile::exists(work.filePath(QStringLiteral("kept.logo"))));
    });
}

void TestShellStartup::readErrorWhileModalDialogOpen()
{
    StationFixture f;
    f.addDevice(3);
    f.writeSettings(QStringLiteral("[PortParams]\nComInteger=-1\n"));
    f.startConnected();
    // An editor runs modally and finds its cell unreadable.
    QDialog editor(&f.window());
    f.driver.whenOpen([&f](QDialog &) { vui::sendMessage(&f.window(), vui::Message::ReadError); });
    QCOMPARE(f.modal.exec(editor), int(QDialog::Rejected));
    QCOMPARE(f.endCalls, 1);
    QVERIFY(f.readSettings().contains(QStringLiteral("ComInteger=3")));
    QVERIFY(vshell::InstanceLock(f.lockPath()).held());
    QCOMPARE(f.port->rtsChanges(), (QList<bool>{true, false}));
}

void TestShellStartup::unwrittenSettingsAreNamed_data()
{
    QTest::addColumn<bool>("closing");
    QTest::newRow("the port settings dialog saves") << false;
    QTest::newRow("the main window closes") << true;
}

// A settings file that cannot be written is named with the reason; the choice is not lost
// silently.
void TestShellStartup::unwrittenSettingsAreNamed()
{
    QFETCH(bool, closing);
    StationFixture f;
    f.addDevice(2);
    f.startConnected();
    // A folder where the file should be: no write can replace it.
    QVERIFY(QDir().mkpath(f.settingsPath()));
    if (closing)
        f.window().close();
    else
        f.window().findChild<vshell::TPortForms *>()->BitBtn1Click();
    QCOMPARE(f.prompts.messages.size(), 1);
    const auto [text, caption] = f.prompts.messages.first();
    QCOMPARE(caption, QStringLiteral("Error"));
    QVERIFY2(text.startsWith("The settings were not saved to " + f.settingsPath() + ": ") &&
                 text.size() > f.settingsPath().size() + 33,
             qPrintable(text));
}

QTEST_MAIN(TestShellStartup)
#include "tst_shell_startup.moc"
