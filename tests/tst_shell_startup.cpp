#include "shell/instance_lock.h"
#include "support/station_fixture.h"

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
    void staleLockIsTakenOver();
    void settingsSeedNamesBeforeDiscovery();
    void noSettingsFileTriesCom2First();
    void rememberedPortUnusable_data();
    void rememberedPortUnusable();
    void activationAfterDiscoveryMakesNoTraffic_data();
    void activationAfterDiscoveryMakesNoTraffic();
    void nothingAnswersTwoBeepsAndRetries();
    void deviceKindShown_data();
    void deviceKindShown();
    void fontCountFromTimeParams();
    void lowerPortWinsTheScan();
};

void TestShellStartup::secondInstanceEndsSilently()
{
    StationFixture first;
    first.addDevice(1);
    first.startConnected();
    QVERIFY(first.window().firstInstance());

    StationFixture second;
    second.addDevice(1);
    // Both stations use the same lock, as two processes on one computer do.
    second.writeSettings(QString());
    vshell::InstanceLock sameLock(first.lockPath());
    QVERIFY(!sameLock.held());

    vui::ModalRunner modal;
    PromptRecorder prompts;
    MemoryPort port(second.device(1), false);
    vshell::StationEnvironment env{port, prompts, modal, second.settingsPath()};
    env.lockPath = first.lockPath();
    env.workDir = second.workDir();
    vshell::TAutoControl other(env);
    other.createStartWindows();
    QVERIFY(!other.firstInstance());
    QVERIFY(!other.isVisible());
    QVERIFY(other.aboutBox() == nullptr);
    QVERIFY(other.portForms() == nullptr);
    other.FormActivate(); // nothing to discover in a process that is ending
    QVERIFY(port.written().isEmpty());
    QVERIFY(prompts.messages.isEmpty());
    QCOMPARE(prompts.beeps, 0);
    QVERIFY(!QFile::exists(second.settingsPath()) || second.readSettings().isEmpty());

    // The first keeps its port and its lock.
    QVERIFY(first.state().line.portOpen);
    QCOMPARE(first.state().line.currentPort, 1);
    vshell::InstanceLock third(first.lockPath());
    QVERIFY(!third.held());
}

void TestShellStartup::staleLockIsTakenOver()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lock"));
    {
        // A lock file left by a process that is gone.
        QFile stale(path);
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.write("999999\nvuvazuvevov\n\n");
    }
    vshell::InstanceLock lock(path);
    QVERIFY(lock.held());
    lock.release();
    QVERIFY(!lock.held());
    vshell::InstanceLock again(path);
    QVERIFY(again.held());
}

void TestShellStartup::settingsSeedNamesBeforeDiscovery()
{
    StationFixture f;
    f.writeSettings(QStringLiteral("[PortParams]\ncom=  com3 \nSPEED=19200\nComInteger= 4 \n"));
    f.start();
    QCOMPARE(f.state().line.portName, QStringLiteral("com3"));
    QCOMPARE(f.state().line.speedText, QStringLiteral("19200"));
    QCOMPARE(f.state().line.currentPort, 4);
    QVERIFY(!f.state().line.connected);
    QVERIFY(!f.state().line.portOpen);
    QCOMPARE(f.state().hydro.workPressure, 80);
    QCOMPARE(f.state().logos.lastDepotBank, -1);
    QCOMPARE(f.lmx(), QStringLiteral("LMX"));
}

void TestShellStartup::noSettingsFileTriesCom2First()
{
    StationFixture f;
    f.addDevice(0);
    f.addDevice(1);
    f.start();
    QCOMPARE(f.state().line.currentPort, 1);
    f.window().FormActivate();
    QVERIFY(f.state().line.connected);
    QVERIFY(f.state().line.portOpen);
    QCOMPARE(f.state().line.currentPort, 1);
    QCOMPARE(f.state().line.portName, QStringLiteral("Com2"));
    QCOMPARE(f.state().line.speedText, QStringLiteral("57600"));
    QVERIFY(f.device(0).received().isEmpty());
    QVERIFY(!f.device(1).received().isEmpty());
    // The remembered port answered: no beep, no box.
    QCOMPARE(f.prompts.beeps, 0);
    QCOMPARE(f.prompts.messages, PromptRecorder::ShownList{});
}

void TestShellStartup::rememberedPortUnusable_data()
{
    QTest::addColumn<QString>("comInteger");
    QTest::newRow("no port last time") << "-1";
    QTest::newRow("not a number") << "COM2";
    QTest::newRow("empty") << "";
    QTest::newRow("beyond COM6") << "7";
    QTest::newRow("a port that is absent") << "0";
}

void TestShellStartup::rememberedPortUnusable()
{
    QFETCH(QString, comInteger);
    StationFixture f;
    f.addDevice(2, Kind::Printer, 9600);
    f.writeSettings(QStringLiteral("[PortParams]\nComInteger=%1\n").arg(comInteger));
    f.start();
    f.window().FormActivate();
    // The scan takes the port: one beep, and no box about the unusable value.
    QCOMPARE(f.prompts.messages, PromptRecorder::ShownList{});
    QCOMPARE(f.prompts.beeps, 1);
    QVERIFY(f.state().line.connected);
    QCOMPARE(f.state().line.currentPort, 2);
    QCOMPARE(f.state().line.portName, QStringLiteral("Com3"));
    QCOMPARE(f.state().line.speedText, QStringLiteral("9600"));
}

void TestShellStartup::activationAfterDiscoveryMakesNoTraffic_data()
{
    QTest::addColumn<int>("remembered");
    QTest::addColumn<int>("beeps");
    QTest::newRow("after the remembered port") << 3 << 0;
    QTest::newRow("after a scan") << -1 << 1;
}

void TestShellStartup::activationAfterDiscoveryMakesNoTraffic()
{
    QFETCH(int, remembered);
    QFETCH(int, beeps);
    StationFixture f;
    f.addDevice(3);
    f.writeSettings(QStringLiteral("[PortParams]\nComInteger=%1\n").arg(remembered));
    f.start();
    f.window().FormActivate();
    QCOMPARE(f.prompts.beeps, beeps);
    QVERIFY(f.state().line.connected);

    f.port->clearWritten();
    f.state().logos.depotLogoDialogTop = 10;
    f.window().FormActivate();
    f.window().FormActivate();
    QVERIFY(f.port->written().isEmpty());
    QCOMPARE(f.prompts.beeps, beeps);
    QCOMPARE(f.state().logos.depotLogoDialogTop, 267);
}

void TestShellStartup::nothingAnswersTwoBeepsAndRetries()
{
    StationFixture f;
    f.addDevice(0).faults().silent = true;
    f.addDevice(4).faults().silent = true;
    f.start();
    f.window().FormActivate();
    QCOMPARE(f.prompts.messages, (PromptRecorder::ShownList{{"Device not found", "Error"}}));
    QCOMPARE(f.prompts.beeps, 2);
    QVERIFY(!f.state().line.connected);
    QVERIFY(!f.state().line.portOpen);
    QCOMPARE(f.state().line.currentPort, -1);
    QCOMPARE(f.state().line.portPresent,
             (vlink::PortFlags{true, false, false, false, true, false}));
    QCOMPARE(f.window().findChild<QComboBox *>(QStringLiteral("CBDevice"))->currentText(),
             QString());

    // Every later activation tries again; once the printer is back it is found.
    f.device(4).faults().silent = false;
    f.port->clearWritten();
    f.window().FormActivate();
    QVERIFY(!f.port->written().isEmpty());
    QVERIFY(f.state().line.connected);
    QCOMPARE(f.state().line.currentPort, 4);
    QCOMPARE(f.prompts.beeps, 3);
}

void TestShellStartup::deviceKindShown_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("depotOnly");
    QTest::newRow("printer") << int(Kind::Printer) << "Printer" << false;
    QTest::newRow("printer via depot") << int(Kind::ViaDepot) << "Printer via Depot" << false;
    QTest::newRow("depot only") << int(Kind::Depot) << "Depot only" << true;
}

void TestShellStartup::deviceKindShown()
{
    QFETCH(int, kind);
    QFETCH(QString, shown);
    QFETCH(bool, depotOnly);
    StationFixture f;
    f.addDevice(1, Kind(kind));
    f.start();
    f.window().FormActivate();
    QCOMPARE(f.window().findChild<QComboBox *>(QStringLiteral("CBDevice"))->currentText(), shown);
    QCOMPARE(f.window().findChild<QCheckBox *>(QStringLiteral("CBDepotNow"))->isChecked(),
             depotOnly);
    QCOMPARE(f.state().line.depotOnly, depotOnly);
    // A Depot unit alone takes no printer commands.
    QCOMPARE(f.menu("Commands1")->menuAction()->isEnabled(), !depotOnly);
    QCOMPARE(f.action("DepotLogoRead1")->isEnabled(), depotOnly);
    QCOMPARE(f.action("DepotVersia1")->isEnabled(), depotOnly);
    QCOMPARE(f.action("TbAutoRunStop")->isEnabled(), !depotOnly);
    if (depotOnly)
        QCOMPARE(f.state().line.fontCount, quint8(16));
    if (Kind(kind) != Kind::Printer)
        QCOMPARE(f.state().logos.currentDepotBank, 0);
}

void TestShellStartup::fontCountFromTimeParams()
{
    StationFixture f;
    f.addDevice(1).printer().fontCount = 24;
    f.device(1).printer().markConfig = 0x05;
    f.start();
    f.window().FormActivate();
    QCOMPARE(f.state().line.fontCount, quint8(24));
    QCOMPARE(f.state().line.timeParams[0], quint8(0x05));
}

void TestShellStartup::lowerPortWinsTheScan()
{
    StationFixture f;
    f.addDevice(5);
    f.addDevice(3);
    f.writeSettings(QStringLiteral("[PortParams]\nComInteger=-1\n"));
    f.start();
    f.window().FormActivate();
    QCOMPARE(f.state().line.currentPort, 3);
    QVERIFY(f.device(5).received().isEmpty());
}

QTEST_MAIN(TestShellStartup)
#include "tst_shell_startup.moc"
