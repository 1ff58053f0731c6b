#include "support/station_fixture.h"
#include "support/table_rows.h"

#include <QCheckBox>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

using vp::Kind;
using Shown = PromptRecorder::ShownList;

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
    void keysOperatorsRelyOn();
    void refusedDevicePathIsNamedInThePortMenu();
    void enableRules();
    void portMenuRechecksThePort();
    void portChoice();
    void boxOfAMenuOpeningWaitsForTheMenu();
};

void TestShellMenus::keysOperatorsRelyOn()
{
    const struct {
        const char *name;
        const char *shortcut;
        bool visible;
    } rows[] = {
        {"FragEdit1", "F1", true},      {"FKeyFragEdit", "F1", true}, {"Start", "F12", true},
        {"LogosView1", "Ctrl+X", true}, {"EditCut1", "Ctrl+X", true}, {"FKey1Item", "", false},
        {"Font1", "Ctrl+F", true},
    };
    StationFixture f;
    f.start();
    forEachRow(rows, [&f](const auto &row) {
        QCOMPARE(f.action(row.name)->shortcut().toString(), QString::fromLatin1(row.shortcut));
        QCOMPARE(f.action(row.name)->isVisible(), row.visible);
    });
    // Ctrl+X is the logos view's: "Cut" never fires on it.
    QVERIFY(f.action("EditCut1")->associatedObjects().isEmpty());
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
    QCOMPARE(f.action("Com41")->statusTip(), QStringLiteral("/dev/vuva-test3"));
}

void TestShellMenus::enableRules()
{
    const struct {
        const char *name;
        int kind;
        bool depotOnly;
        // PrinterLogoPaste, DepotLogoPaste, SpecFunc, LogoRead, DepotLogoLoad, Config, Commands
        QList<bool> states;
    } rows[] = {
        {"kind 0", 0, false, {0, 0, 1, 1, 0, 1, 1}},
        {"kind 1, Depot only", 1, true, {0, 1, 0, 0, 1, 0, 0}},
        {"kind 2", 2, false, {1, 1, 1, 1, 1, 1, 1}},
        {"kind 2, Depot only", 2, true, {1, 1, 0, 1, 1, 0, 0}},
        {"kind 3", 3, false, {1, 0, 1, 1, 0, 1, 1}},
    };
    forEachRow(rows, [](const auto &row) {
        StationFixture f;
        f.start();
        f.state().line.deviceKind = vlink::DeviceKind(row.kind);
        f.window().setDepotNow(row.depotOnly);
        for (const char *menu : {"Tools1", "Graphics1", "Mark1", "Params1"})
            f.open(menu);
        QList<bool> actual;
        for (QAction *a :
             {f.action("LogoToMarkAction1"), f.action("DepotLogoPaste1"),
              f.menu("SpecFunc1")->menuAction(), f.action("Read2"), f.action("DepotLogoLoad1"),
              f.menu("Config1")->menuAction(), f.menu("Commands1")->menuAction()}) {
            a->setVisible(true); // a hidden item reports disabled
            actual.append(a->isEnabled());
        }
        QCOMPARE(actual, row.states);
        // The tool buttons a Depot unit alone cannot serve.
        for (const char *name : {"TbLogoRead", "TbAutoRunStop", "TbParamsValue", "Font1"})
            QCOMPARE(f.action(name)->isEnabled(), !row.depotOnly);
    });
}

// Opening the port menu re-checks the port in use; one that went away is searched for again.
void TestShellMenus::portMenuRechecksThePort()
{
    const struct {
        const char *name;
        QList<int> devices;
        int gone; // falls silent before the menu opens
        int port;
        int beeps;
        Shown shown;
    } rows[] = {
        {"answers", {1, 3}, -1, 1, 0, {}},
        {"went away", {1, 4}, 1, 4, 1, {}},
        {"none at all", {0, 2}, 0, -1, 2, {{"Device not found", "Error"}}},
    };
    forEachRow(rows, [](const auto &row) {
        StationFixture f;
        for (int port : row.devices)
            f.addDevice(port).faults().silent = row.port < 0;
        f.startConnected();
        if (row.gone >= 0)
            f.device(row.gone).faults().silent = true;
        f.open("Selectport1");
        QCOMPARE(f.state().line.currentPort, row.port);
        QCOMPARE(f.prompts.beeps, row.beeps);
        QCOMPARE(f.prompts.messages, row.shown);
        // Only ports with a device are offered, the one in use disabled.
        for (int i = 0; i < vlink::PortCount; ++i) {
            QAction *item = f.action(QByteArray("Com") + char('1' + i) + '1');
            QCOMPARE(item->isVisible(), row.devices.contains(i));
            QCOMPARE(item->isEnabled(), row.devices.contains(i) && i != row.port);
        }
    });
}

void TestShellMenus::portChoice()
{
    for (const bool answers : {true, false}) {
        StationFixture f;
        f.addDevice(0);
        f.addDevice(3).faults().silent = !answers;
        f.writeSettings(QStringLiteral("[PortParams]\nComInteger=0\n"));
        f.startConnected();
        f.action("Com41")->trigger();
        const QString failed = " Wait Please. After 5-10 seconds Programm select Initial Port";
        QCOMPARE(f.prompts.messages.value(0),
                 (answers ? Shown::value_type{"Ok", "Info"} : Shown::value_type{failed, "Error"}));
        // A failed choice searches again at once; the port in use before answers: no beep.
        QCOMPARE(f.state().line.currentPort, answers ? 3 : 0);
        QVERIFY(f.state().line.connected && f.state().line.portOpen);
        QCOMPARE(f.prompts.beeps, 0);
    }
}

// A box raised while a submenu opens must not take Qt's menu code down with it; and when the
// port is given up, the panel shows that nothing is connected.
void TestShellMenus::boxOfAMenuOpeningWaitsForTheMenu()
{
    const QList<const char *> mirror{"Mark1", "Config1", "MirrorHorizontally1"};
    const struct {
        const char *name;
        QList<const char *> path;
        Kind kind;
        QString shown;
        QString deviceAfter;
    } rows[] = {
        {"config read", mirror, Kind::Printer, " Read Error", "Printer"},
        {"port lost", {"File1", "Selectport1"}, Kind::Depot, "Device not found", ""},
    };
    forEachRow(rows, [](const auto &row) {
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
        QTRY_COMPARE(f.prompts.messages, (Shown{{row.shown, "Error"}}));
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
    });
}

QTEST_MAIN(TestShellMenus)
#include "tst_shell_menus.moc"
