#include "support/station_fixture.h"
#include "support/table_rows.h"
#include "support/test_widgets.h"
#include "support/wire_bytes.h"

#include <QGuiApplication>
#include <QTest>

namespace
{

struct Station : StationFixture {
    Station()
    {
        addDevice(0);
        startConnected();
    }
};

} // namespace

class TestShellCommands : public QObject
{
    Q_OBJECT

private slots:
    void itemsRunTheirCommand();
    void autoRunStopRetries();
    void markDeleteAsksFirst();
    void configSubmenusFollowThePrinter();
    void helpWithoutAViewer();
    void busyCursorWhileTheLineIsWaitedFor();
    void itemsOpenEachEditorAnew();
};

// Each item sends its command and tells how it went; the wire bytes are the commands' own tests.
void TestShellCommands::itemsRunTheirCommand()
{
    const struct {
        const char *name; // the item
        QByteArray sent;  // bytes only its command sends
        bool saysOk;
        QString failure;
    } rows[] = {
        {"RunningNumberReset", "\x1F", true, "RunningNumberReset Error"},
        {"PrintStart", "\x17", true, "PrintStart Error"},
        {"HighVoltageTurn", "\x02", true, "HighVoltageTurn Error"},
        {"Reset", "\x12", true, "Reset Error"},
        {"Forward1", "\x14", true, "RunningNumberDirectionSet Error"},
        {"Start", "\x17", false, "Start Command Error"},
        {"Halt1", "\x02", false, "Stop Command Error"},
        {"MirrorHorizontally1On", "\x13", true, "MarkPrintDirection Set Error"},
        {"MirrorVertically1Off", "\x55", true, "MarkRotateOn Set Error"},
        {"BreakPointCorrection1On", "\x15", true, "MarkBreakPointCorr On Error"},
        {"LoadDateTimeM", "T134502\r" + bytes({0x1A}) + "D070326\r", true, "Time Set Error"},
    };
    forEachRow(rows, [](const auto &row) {
        Station f;
        f.state().clock.fix(QDateTime(QDate(2026, 3, 7), QTime(13, 45, 2)));
        f.action(row.name)->trigger();
        QVERIFY(f.port->written().contains(row.sent));
        const auto ok = PromptRecorder::ShownList{{"Ok", "Information"}};
        QCOMPARE(f.prompts.messages, row.saysOk ? ok : PromptRecorder::ShownList{});
        f.prompts.clear();
        f.device(0).faults().silent = true;
        f.action(row.name)->trigger();
        QCOMPARE(f.prompts.messages, (PromptRecorder::ShownList{{row.failure, "Error"}}));
    });
}

// The menu item tries up to ten times while the line is empty; the button once.
void TestShellCommands::autoRunStopRetries()
{
    const struct {
        const char *name;
        const char *item;
        int emptyReads;
        bool silent;
        QByteArray written;
        QString shown;
    } rows[] = {
        {"fifth attempt answers", "AutoRunStop1", 4, false, "\x0B\x0B\x0B\x0B\x0B\x41", "Ok"},
        {"dead line", "AutoRunStop1", 0, true, QByteArray(10, 0x0B), "AutoRun Stop Error"},
        {"button", "TbAutoRunStop", 1, false, "\x0B", "AutoRun Stop Error"},
    };
    forEachRow(rows, [](const auto &row) {
        Station f;
        f.port->holdReads(row.emptyReads);
        f.device(0).faults().silent = row.silent;
        f.action(row.item)->trigger();
        QCOMPARE(f.port->written(), row.written);
        QCOMPARE(f.prompts.messages.value(0).first, row.shown);
    });
}

void TestShellCommands::markDeleteAsksFirst()
{
    const struct {
        const char *name;
        const char *item;
        bool yes;
    } rows[] = {{"menu, No", "MarkDelete1", false}, {"button, Yes", "TbMarkDelete", true}};
    forEachRow(rows, [](const auto &row) {
        Station f;
        f.prompts.answer(row.yes);
        f.action(row.item)->trigger();
        QCOMPARE(f.prompts.questions,
                 (PromptRecorder::ShownList{{"Mark delete. Are You Sure?", "Confirm"}}));
        QCOMPARE(f.device(0).printer().markDeleted, row.yes);
        QCOMPARE(f.prompts.messages.size(), row.yes ? 1 : 0);
        f.prompts.clear();
        f.prompts.answer(true);
        f.device(0).faults().silent = true;
        f.action(row.item)->trigger();
        QCOMPARE(f.prompts.messages, (PromptRecorder::ShownList{{"Mark not delete", "Error"}}));
    });
}

// Opening a submenu reads the printer's configuration; the item for the state it is in is off.
// A failed read keeps what discovery read, and says so in each submenu's own words.
void TestShellCommands::configSubmenusFollowThePrinter()
{
    const struct {
        const char *name; // the submenu
        int setBit;
        QString failure;
    } rows[] = {
        {"MirrorHorizontally1", 0x01, " Read Error"},
        {"MirrorVertically1", 0x04, "Read Error"},
        {"BreakPointCorrection1", 0x02, " Read Error"},
    };
    forEachRow(rows, [](const auto &row) {
        const QByteArray menu(row.name);
        for (const int config : {row.setBit, 0x07 ^ row.setBit}) {
            Station f;
            f.device(0).printer().markConfig = quint8(config);
            f.open(row.name);
            QCOMPARE(f.port->written(), bytes({0x08}));
            QCOMPARE(f.action(menu + "On")->isEnabled(), config != row.setBit);
            QCOMPARE(f.action(menu + "Off")->isEnabled(), config == row.setBit);
            QVERIFY(f.prompts.messages.isEmpty());
        }
        StationFixture f;
        f.addDevice(0).printer().markConfig = 0x07;
        f.startConnected();
        f.device(0).faults().silent = true;
        f.open(row.name);
        QCOMPARE(f.prompts.messages, (PromptRecorder::ShownList{{row.failure, "Error"}}));
        QVERIFY(!f.action(menu + "On")->isEnabled() && f.action(menu + "Off")->isEnabled());
    });
}

void TestShellCommands::helpWithoutAViewer()
{
    Station f;
    const QString help = QDir(f.workDir()).filePath("help.html");
    // Without a viewer the operator is told, rather than nothing happening.
    f.prompts.documentOpens = false;
    f.action("HelpItem")->trigger();
    QCOMPARE(f.prompts.messages,
             (PromptRecorder::ShownList{{"No program was found to open " + help, "Error"}}));
}

// Whatever waits for the line shows the busy cursor; a box shown meanwhile, the normal one.
void TestShellCommands::busyCursorWhileTheLineIsWaitedFor()
{
    const struct {
        const char *name; // the box
        const char *item; // triggered; else the menu opened; else the search runs
        const char *menu;
    } rows[] = {
        {"Device not found", nullptr, nullptr},
        {"Read Error", nullptr, "MirrorVertically1"},
        {"AutoRun Stop Error", "AutoRunStop1", nullptr},
        {"Logo Read Error", "Read2", nullptr}, // the read is the dialog's own
    };
    const auto busy = [] {
        const QCursor *c = QGuiApplication::overrideCursor();
        return c && c->shape() == Qt::WaitCursor;
    };
    forEachRow(rows, [&busy](const auto &row) {
        Station f;
        f.device(0).faults().silent = true;
        f.state().line.connected = false;
        int reads = 0, busyReads = 0, busyBoxes = 0;
        f.port->onRead = [&] {
            ++reads;
            busyReads += busy();
        };
        f.prompts.onMessage = [&](const PromptRecorder::Shown &) { busyBoxes += busy(); };
        f.driver.whenOpen([](QDialog &d) {
            click(d, "BtOk");
            d.reject();
        });
        row.item   ? f.action(row.item)->trigger()
        : row.menu ? f.open(row.menu)
                   : f.window().FormActivate();
        QVERIFY(f.prompts.messages.contains({row.name, "Error"}));
        QVERIFY(reads > 0 && busyReads == reads && busyBoxes == 0);
        QVERIFY(!QGuiApplication::overrideCursor());
    });
}

// The counter, time and date, and post-date editors open anew: on cell (1, 1) wherever the last
// one was left.
void TestShellCommands::itemsOpenEachEditorAnew()
{
    const struct {
        const char *name;
        const char *dialog;
        QStringList items;
    } rows[] = {
        {"counter", "TCounterForm", {"Counter2", "FKeyCounter", "TbCounter"}},
        {"time and date", "TTimeForm", {"ime1", "FKeyTimeDate", "TbTimeDate"}},
        {"post date", "TPostDateForm", {"PDate2", "FKeyPostDate"}},
    };
    forEachRow(rows, [](const auto &row) {
        Station f;
        vp::Device &printer = f.device(0);
        for (const QString &item : row.items) {
            f.driver.whenOpen([](QDialog &dialog) {
                click(dialog, "RowUp");
                dialog.reject();
            });
            printer.clearReceived();
            f.action(item.toLatin1().constData())->trigger();
            QCOMPARE(printer.received().left(3), bytes({0x11, '1', '1'}));
            QVERIFY(printer.received().contains(bytes({0x11, '2', '1'})));
        }
        QCOMPARE(f.driver.openedModal, QStringList(row.items.size(), row.dialog));
    });
}

QTEST_MAIN(TestShellCommands)
#include "tst_shell_commands.moc"
