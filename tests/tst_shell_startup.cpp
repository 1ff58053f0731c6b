#include "shell/instance_lock.h"
#include "support/station_fixture.h"
#include "support/table_rows.h"

#include <QCheckBox>
#include <QComboBox>
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

QTEST_MAIN(TestShellStartup)
#include "tst_shell_startup.moc"
