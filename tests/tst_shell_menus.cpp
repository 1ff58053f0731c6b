#include "support/station_fixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QToolBar>

using vp::Kind;

namespace
{

// Opens a submenu as the operator does: a click on the menu bar, then the pointer rests on each
// submenu's item until Qt pops it up.
void openByMouse(StationFixture &f, const QList<const char *> &path)
{
    const qsizetype shown = f.prompts.messages.size();
    QMenuBar *bar = f.window().menuBar();
    QMenu *menu = f.menu(path.first());
    const QPoint entry = bar->actionGeometry(menu->menuAction()).center();
    QTest::mouseMove(bar, entry);
    QTest::mouseClick(bar, Qt::LeftButton, {}, entry);
    QTRY_VERIFY(menu->isVisible());
    for (const char *name : path.mid(1)) {
        QMenu *sub = f.menu(name);
        QTest::mouseMove(menu, menu->actionGeometry(sub->menuAction()).center());
        QTRY_VERIFY(sub->isVisible() || f.prompts.messages.size() > shown);
        menu = sub;
    }
}

} // namespace

class TestShellMenus : public QObject
{
    Q_OBJECT

private slots:
    void itemsCaptionsShortcutsStates_data();
    void itemsCaptionsShortcutsStates();
    void toolBarLeftToRight();
    void editCutShortcutNeverFires();
    void comItemsNameTheirDeviceFiles();
    void refusedDevicePathIsNamedInThePortMenu();
    void enableRules_data();
    void enableRules();
    void printerItemsFollowPortOpen();
    void selectPortWithNoCurrentPort();
    void selectPortDisablesCurrentPort();
    void selectPortRecheckFailureRediscovers();
    void portChoice();
    void portChoiceFailure();
    void boxOfAMenuOpeningWaitsForTheMenu();
};

void TestShellMenus::itemsCaptionsShortcutsStates_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("shortcut");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<bool>("enabled");
    auto row = [](const char *name, const char *caption, const char *key = "", bool visible = true,
                  bool enabled = true) {
        QTest::newRow(name) << name << caption << key << visible << enabled;
    };
    row("Com11", "Com1");
    row("Com61", "Com6");
    row("Printer11", "Printer 1");
    row("Printer61", "Printer 6");
    row("LoadDateTimeM", "LoadDateTime", "", false);
    row("Start", "Start", "F12");
    row("Halt1", "Stop", "F11", false);
    row("FileExitItem", "Exit");
    row("FKeyFragEdit", "FragEdit", "F1");
    row("FKeyPostDate", "Post Date", "F6");
    row("FragEdit1", "FragEdit", "F1");
    row("Counter2", "Counter", "F2");
    row("ime1", "TimeDate", "F3");
    row("PDate2", "PostDate", "F4");
    row("LogoToMarkAction1", "PrinterLogoPaste", "F5");
    row("DepotLogoPaste1", "DepotLogoPaste", "", false);
    row("ScriptRead1", "Read", "F8");
    row("Write1", "Write", "F9");
    row("Load1", "LogoLoad", "Ctrl+L");
    row("Read2", "LogoRead", "Ctrl+R");
    row("LogosView1", "LogosView", "Ctrl+X");
    row("MarkRead1", "MarkRead", "Ctrl+Y");
    row("ReadMSWordtextviaClipBoard1", "Read MS Word text via ClipBoard", "Ctrl+Z");
    row("DepotLogoLoad1", "DepotLogoLoad", "Ctrl+Alt+W", true, false);
    row("DepotLogoRead1", "DepotLogoRead", "Ctrl+Alt+R", true, false);
    row("DepotLogosView1", "DepotLogosView", "Ctrl+Alt+V", true, false);
    row("MarkWriteToStorage_", "Store", "Ctrl+A");
    row("MarkReadFromStorage_", "Restore", "Ctrl+B");
    row("MarkDelete1", "Delete", "Ctrl+C");
    row("MirrorHorizontally1On", "On");
    row("BreakPointCorrection1Off", "Off");
    row("MarkRead2", "__MarkRead", "", false);
    row("AutoRunStop1", "AutoRun Stop");
    row("RunningNumberReset", "RunningNumbers Reset");
    row("PrintStart", "Print Start", "", false);
    row("HighVoltageTurn", "HighVoltage Turn");
    row("Reset", "Reset", "", false);
    row("Forward1", "Forward");
    row("Back", "Back");
    row("AutoRunPeriod", "AutoRun Period");
    row("ParamsValue1", "ParamsValue");
    row("ByteStatus1", "ByteStatus", "", false);
    row("DepotBankMaxNum1", "DepotBankMaxNum", "", false);
    row("DepotVersia1", "DepotVersia", "", true, false);
    row("HelpItem", "Help", "F7");
    row("About1", "About ");
    // Submenus, by their menu items.
    row("Selectport1Item", "Select  Port");
    row("Printer1Item", "Printer");
    row("SpecFunc1Item", "SpecFunc");
    row("Config1Item", "Config");
    row("MirrorHorizontally1Item", "MirrorHorizontally");
    row("MirrorVertically1Item", "MirrorVertically");
    row("BreakPointCorrection1Item", "BreakPointCorrection");
    row("MarkPrintDirection1Item", "__MarkPrint Direction", "", false);
    row("MarkBreakPointCorrection1Item", "__MarkBreakPointCorrection", "", false);
    row("MarkRotation1Item", "__MarkRotation", "", false);
    row("RunningNumberDirection1Item", "RunningNumber Direction", "", false);
    row("FKey1Item", "FKey", "", false);
    row("HydroSystem1Item", "HydroSystem", "", false);
    row("Commands1Item", "Commands");
}

void TestShellMenus::itemsCaptionsShortcutsStates()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, shortcut);
    QFETCH(bool, visible);
    QFETCH(bool, enabled);
    StationFixture f;
    f.start();
    QAction *a = f.window().findChild<QAction *>(name);
    QVERIFY2(a, qPrintable(name));
    QCOMPARE(a->text(), caption);
    QCOMPARE(a->shortcut().toString(), shortcut);
    QCOMPARE(a->isVisible(), visible);
    if (visible)
        QCOMPARE(a->isEnabled(), enabled);
}

void TestShellMenus::toolBarLeftToRight()
{
    StationFixture f;
    f.start();
    const auto *bar = f.window().findChild<QToolBar *>(QStringLiteral("ToolBar1"));
    QStringList hints;
    QStringList hidden;
    for (QAction *a : bar->actions()) {
        if (a->isSeparator())
            continue;
        (a->isVisible() ? hints : hidden).append(a->toolTip());
        QCOMPARE(a->statusTip(), a->toolTip()); // the status bar shows the hint
    }
    QCOMPARE(hints, (QStringList{"Start", "Text Fragment Read&Write", "Counter", "TimeDate",
                                 "SpecFuncWrite", "LogoLoad", "LogoRead", "LogosView", "MarkRead",
                                 "Load MS Word text fragment via ClipBoard", "MarkStore",
                                 "MarkRestore", "MarkDelete", "AutoRunStop", "RunningNumberReset",
                                 "HighVoltageTurn", "ParamsValue"}));
    QCOMPARE(hidden, (QStringList{"HydroSystemParams", "ByteStatus", "", "", ""}));
}

void TestShellMenus::editCutShortcutNeverFires()
{
    StationFixture f;
    f.start();
    QAction *cut = f.action("EditCut1");
    QCOMPARE(cut->shortcut(), QKeySequence(QStringLiteral("Ctrl+X")));
    QVERIFY(cut->associatedObjects().isEmpty());
    // Triggered anyhow, it shows the port settings dialog.
    cut->trigger();
    QCOMPARE(f.driver.opened, QStringList{"PortForms"});
    QVERIFY(f.window().portForms()->isVisible());
}

void TestShellMenus::comItemsNameTheirDeviceFiles()
{
    StationFixture f;
    f.start();
    QCOMPARE(f.action("Com11")->statusTip(), QStringLiteral("/dev/vuva-test0"));
    QCOMPARE(f.action("Com41")->statusTip(), QStringLiteral("/dev/vuva-test3"));
    QVERIFY(f.menu("Selectport1")->menuAction()->statusTip().isEmpty());
}

// A device path the settings file garbled is refused; the port menu says which and why.
void TestShellMenus::refusedDevicePathIsNamedInThePortMenu()
{
    StationFixture f;
    f.deviceFiles[2] = QStringLiteral("/dev/null") + QChar(0x1B) + QStringLiteral("[2J");
    f.start();
    const QString why =
        QStringLiteral("/dev/null\\x1B[2J: the device path holds a control character");
    QCOMPARE(f.action("Com31")->statusTip(), why);
    QCOMPARE(f.menu("Selectport1")->menuAction()->statusTip(), QStringLiteral("Com3: ") + why);
}

void TestShellMenus::enableRules_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("depotOnly");
    // Expected states, in this order: PrinterLogoPaste, DepotLogoPaste, SpecFunc, LogoRead,
    // LogosView, MarkRead, DepotLogoLoad, DepotLogoRead, DepotLogosView, Config, DepotBankMaxNum,
    // DepotVersia, Commands menu, ParamsValue.
    QTest::addColumn<QList<bool>>("states");
    const bool T = true, F = false;
    QTest::newRow("kind 1, Depot only")
        << 1 << true << QList<bool>{F, T, F, F, F, F, T, T, T, F, T, T, F, F};
    QTest::newRow("kind 2") << 2 << false << QList<bool>{T, T, T, T, T, T, T, T, T, T, T, T, T, T};
    QTest::newRow("kind 2, Depot only")
        << 2 << true << QList<bool>{T, T, F, T, T, T, T, T, T, F, T, T, F, F};
    QTest::newRow("kind 3") << 3 << false << QList<bool>{T, F, T, T, T, T, F, F, F, T, F, F, T, T};
    QTest::newRow("kind 0") << 0 << false << QList<bool>{F, F, T, T, T, T, F, F, F, T, F, F, T, T};
}

void TestShellMenus::enableRules()
{
    QFETCH(int, kind);
    QFETCH(bool, depotOnly);
    QFETCH(QList<bool>, states);
    StationFixture f;
    f.start();
    f.state().line.deviceKind = vlink::DeviceKind(kind);
    f.window().setDepotNow(depotOnly);
    for (const char *menu : {"Tools1", "Graphics1", "Mark1", "Params1"})
        f.open(menu);
    const QList<QAction *> actions = {f.action("LogoToMarkAction1"),
                                      f.action("DepotLogoPaste1"),
                                      f.menu("SpecFunc1")->menuAction(),
                                      f.action("Read2"),
                                      f.action("LogosView1"),
                                      f.action("MarkRead1"),
                                      f.action("DepotLogoLoad1"),
                                      f.action("DepotLogoRead1"),
                                      f.action("DepotLogosView1"),
                                      f.menu("Config1")->menuAction(),
                                      f.action("DepotBankMaxNum1"),
                                      f.action("DepotVersia1"),
                                      f.menu("Commands1")->menuAction(),
                                      f.action("ParamsValue1")};
    QList<bool> actual;
    for (QAction *a : actions) {
        // A hidden item reports disabled; shown, it tells the state the rules gave it.
        a->setVisible(true);
        actual.append(a->isEnabled());
    }
    QCOMPARE(actual, states);
    // The tool buttons a Depot unit alone cannot serve.
    for (const char *name :
         {"TbLogoRead", "TbLogosView", "TbMarkRead", "TbSpecFuncWrite", "TbAutoRunStop",
          "TbRunningNumberReset", "TbHighVoltageTurn", "TbParamsValue"})
        QCOMPARE(f.action(name)->isEnabled(), !depotOnly);
    QVERIFY(f.action("TbStart")->isEnabled());
}

void TestShellMenus::printerItemsFollowPortOpen()
{
    StationFixture f;
    f.addDevice(0).faults().silent = true;
    f.startConnected();
    f.open("Printer1");
    for (int k = 1; k <= 6; ++k)
        QVERIFY(!f.action((QStringLiteral("Printer%1").arg(k) + u'1').toLatin1())->isEnabled());
    f.device(0).faults().silent = false;
    f.window().FormActivate();
    QVERIFY(f.state().line.portOpen);
    f.open("Printer1");
    for (int k = 1; k <= 6; ++k)
        QVERIFY(f.action((QStringLiteral("Printer%1").arg(k) + u'1').toLatin1())->isEnabled());
}

void TestShellMenus::selectPortWithNoCurrentPort()
{
    StationFixture f;
    f.addDevice(0).faults().silent = true;
    f.addDevice(2).faults().silent = true;
    f.startConnected();
    QCOMPARE(f.state().line.currentPort, -1);
    f.open("Selectport1");
    // The re-check of port -1 fails, the search runs again and finds nothing again.
    QCOMPARE(f.prompts.messages, (PromptRecorder::ShownList{{"Device not found", "Error"}}));
    QCOMPARE(f.prompts.beeps, 2);
    const QList<bool> visible = {true, false, true, false, false, false};
    for (int i = 0; i < 6; ++i) {
        QAction *item = f.action((QStringLiteral("Com%1").arg(i + 1) + u'1').toLatin1());
        QCOMPARE(item->isVisible(), visible[i]);
        if (visible[i])
            QVERIFY(item->isEnabled());
    }
}

void TestShellMenus::selectPortDisablesCurrentPort()
{
    StationFixture f;
    f.addDevice(1);
    f.addDevice(3);
    f.startConnected();
    QCOMPARE(f.state().line.currentPort, 1);
    f.open("Selectport1");
    // The current port answered the re-check: no box, no beep, the port kept.
    QCOMPARE(f.prompts.messages, PromptRecorder::ShownList{});
    QCOMPARE(f.prompts.beeps, 0);
    QCOMPARE(f.state().line.currentPort, 1);
    QVERIFY(!f.port->written().isEmpty());
    QVERIFY(!f.action("Com11")->isVisible());
    QVERIFY(!f.action("Com21")->isEnabled());
    QVERIFY(f.action("Com41")->isEnabled());
}

void TestShellMenus::selectPortRecheckFailureRediscovers()
{
    StationFixture f;
    f.addDevice(1);
    f.addDevice(4);
    f.startConnected();
    QCOMPARE(f.state().line.currentPort, 1);
    f.device(1).faults().silent = true; // the printer on COM2 went away
    f.open("Selectport1");
    // The search took COM5: one beep.
    QCOMPARE(f.state().line.currentPort, 4);
    QVERIFY(f.state().line.connected);
    QVERIFY(f.state().line.portOpen);
    QCOMPARE(f.prompts.beeps, 1);
    QVERIFY(f.action("Com21")->isEnabled());
    QVERIFY(!f.action("Com51")->isEnabled());
}

void TestShellMenus::portChoice()
{
    StationFixture f;
    f.addDevice(0);
    f.addDevice(3, Kind::Printer, 19200);
    f.writeSettings(QStringLiteral("[PortParams]\nComInteger=0\n"));
    f.startConnected();
    f.action("Com41")->trigger();
    QCOMPARE(f.prompts.messages, (PromptRecorder::ShownList{{"Ok", "Info"}}));
    QCOMPARE(f.state().line.currentPort, 3);
    QCOMPARE(f.state().line.portName, QStringLiteral("Com4"));
    QCOMPARE(f.state().line.speedText, QStringLiteral("19200"));
    QCOMPARE(f.lmx(), QStringLiteral("Wait Please"));
}

void TestShellMenus::portChoiceFailure()
{
    StationFixture f;
    f.addDevice(0);
    f.addDevice(3).faults().silent = true;
    f.writeSettings(QStringLiteral("[PortParams]\nComInteger=0\n"));
    f.startConnected();
    f.action("Com41")->trigger();
    QCOMPARE(f.prompts.messages,
             (PromptRecorder::ShownList{
                 {" Wait Please. After 5-10 seconds Programm select Initial Port", "Error"}}));
    // The search ran again at once and the port in use before answered first: no beep.
    QCOMPARE(f.state().line.currentPort, 0);
    QVERIFY(f.state().line.connected);
    QVERIFY(f.state().line.portOpen);
    QCOMPARE(f.prompts.beeps, 0);
}

// A box raised while a submenu opens must not take Qt's menu code down with it; and when the
// port is given up, the panel shows that nothing is connected.
void TestShellMenus::boxOfAMenuOpeningWaitsForTheMenu()
{
    const struct {
        QList<const char *> path;
        Kind kind;
        QString shown;
        QString deviceAfter;
    } rows[] = {
        {{"Mark1", "Config1", "MirrorHorizontally1"}, Kind::Printer, " Read Error", "Printer"},
        {{"File1", "Selectport1"}, Kind::Depot, "Device not found", ""},
    };
    for (const auto &row : rows) {
        StationFixture f;
        vp::Device &device = f.addDevice(0, row.kind);
        f.startConnected();
        f.window().show();
        QVERIFY(QTest::qWaitForWindowActive(&f.window()));
        // A real box with its own event loop, closed as soon as it runs.
        f.prompts.onMessage = [&f](const PromptRecorder::Shown &shown) {
            QMessageBox box(QMessageBox::Critical, shown.second, shown.first, QMessageBox::Ok,
                            &f.window());
            QTimer::singleShot(0, &box, &QMessageBox::accept);
            box.exec();
        };
        device.faults().silent = true;
        openByMouse(f, row.path);
        QTRY_COMPARE(f.prompts.messages, (PromptRecorder::ShownList{{row.shown, "Error"}}));
        QCOMPARE(f.window().findChild<QComboBox *>("CBDevice")->currentText(), row.deviceAfter);
        QVERIFY(!f.window().findChild<QCheckBox *>("CBDepotNow")->isChecked());
        QVERIFY(f.menu("Commands1")->menuAction()->isEnabled());
        // Coming back from the box is no new activation: no second search, no second box.
        f.window().activateWindow();
        QTRY_VERIFY(f.window().isActiveWindow() || f.prompts.messages.size() > 1);
        QCoreApplication::processEvents();
        QCOMPARE(f.prompts.messages.size(), 1);
        // The station lives on, and the menu opens again once the device answers.
        device.faults().silent = false;
        openByMouse(f, row.path);
        QTRY_VERIFY(f.menu(row.path.last())->isVisible());
        QCOMPARE(f.prompts.messages.size(), 1);
    }
}

QTEST_MAIN(TestShellMenus)
#include "tst_shell_menus.moc"
