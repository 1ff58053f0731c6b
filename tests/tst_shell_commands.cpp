#include "shell/answer_watch.h"
#include "shell/auto_run_repeat.h"
#include "support/station_fixture.h"
#include "support/test_widgets.h"

#include <QGuiApplication>
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

// Garbles the first echoes of a line: the printer answers, but wrongly.
class WrongEchoes : public vshell::AnswerWatch
{
public:
    WrongEchoes(vlink::Port &port, int wrong) : AnswerWatch(port), wrong_(wrong) {}
    bool readByte(quint8 &byte) override
    {
        const bool ok = AnswerWatch::readByte(byte);
        if (ok && wrong_ > 0) {
            --wrong_;
            byte ^= 0xFF;
        }
        return ok;
    }

private:
    int wrong_;
};

} // namespace

class TestShellCommands : public QObject
{
    Q_OBJECT

private slots:
    void commandsMenu_data();
    void commandsMenu();
    void commandsMenuFailures_data();
    void commandsMenuFailures();
    void startAndStopSayNothingOnSuccess();
    void autoRunStopAnswersOnFifthAttempt();
    void autoRunStopGivesUpOnDeadLine();
    void autoRunStopRetriesWrongAnswers();
    void autoRunStopButtonTriesOnce();
    void markDeleteAsksFirst_data();
    void markDeleteAsksFirst();
    void configSubmenusFollowThePrinter_data();
    void configSubmenusFollowThePrinter();
    void configReadFailure_data();
    void configReadFailure();
    void configItemsSend_data();
    void configItemsSend();
    void loadDateTimeFromTheComputerClock();
    void loadDateTimeFailure();
    void helpAboutOpen();
    void testButtons();
    void busyCursorWhileTheLineIsWaitedFor();
};

void TestShellCommands::commandsMenu_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QByteArray>("wire");
    QTest::newRow("RunningNumbers Reset") << "RunningNumberReset" << bytes({0x1F});
    QTest::newRow("Print Start") << "PrintStart" << bytes({0x17});
    QTest::newRow("HighVoltage Turn") << "HighVoltageTurn" << bytes({0x02});
    QTest::newRow("Reset") << "Reset" << bytes({0x12});
    QTest::newRow("Forward") << "Forward1" << bytes({0x0C, 0x4E, 0x14});
    QTest::newRow("Back") << "Back" << bytes({0x0C, 0x4E, 0x13});
    QTest::newRow("AutoRun Stop") << "AutoRunStop1" << bytes({0x0B, 0x41});
    QTest::newRow("RunningNumberReset button") << "TbRunningNumberReset" << bytes({0x1F});
    QTest::newRow("HighVoltageTurn button") << "TbHighVoltageTurn" << bytes({0x02});
}

void TestShellCommands::commandsMenu()
{
    QFETCH(QString, item);
    QFETCH(QByteArray, wire);
    StationFixture f;
    f.addDevice(0);
    f.startConnected();
    f.action(item.toLatin1())->trigger();
    QCOMPARE(f.port->written(), wire);
    QCOMPARE(f.prompts.messages, (PromptRecorder::ShownList{{"Ok", "Information"}}));
}

void TestShellCommands::commandsMenuFailures_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("text");
    QTest::newRow("RunningNumbers Reset") << "RunningNumberReset"
                                          << "RunningNumberReset Error";
    QTest::newRow("Print Start") << "PrintStart"
                                 << "PrintStart Error";
    QTest::newRow("HighVoltage Turn") << "HighVoltageTurn"
                                      << "HighVoltageTurn Error";
    QTest::newRow("Reset") << "Reset"
                           << "Reset Error";
    QTest::newRow("Forward") << "Forward1"
                             << "RunningNumberDirectionSet Error";
    QTest::newRow("Back") << "Back"
                          << "RunningNumberDirectionSet Error";
    QTest::newRow("Start") << "Start"
                           << "Start Command Error";
    QTest::newRow("Start button") << "TbStart"
                                  << "Start Command Error";
    QTest::newRow("Stop") << "Halt1"
                          << "Stop Command Error";
    QTest::newRow("AutoRunStop button") << "TbAutoRunStop"
                                        << "AutoRun Stop Error";
}

void TestShellCommands::commandsMenuFailures()
{
    QFETCH(QString, item);
    QFETCH(QString, text);
    StationFixture f;
    f.addDevice(0);
    f.startConnected();
    f.device(0).faults().silent = true;
    const bool connected = f.state().line.connected;
    f.action(item.toLatin1())->trigger();
    QCOMPARE(f.prompts.messages, (PromptRecorder::ShownList{{text, "Error"}}));
    QCOMPARE(f.state().line.connected, connected);
}

void TestShellCommands::startAndStopSayNothingOnSuccess()
{
    StationFixture f;
    f.addDevice(0);
    f.startConnected();
    f.action("TbStart")->trigger();
    QVERIFY(f.device(0).printer().running);
    f.action("Halt1")->trigger();
    QVERIFY(!f.device(0).printer().running);
    f.action("Start")->trigger();
    QCOMPARE(f.port->written(), bytes({0x17, 0x02, 0x17}));
    QCOMPARE(f.device(0).printer().startCount, 2);
    QCOMPARE(f.prompts.messages, PromptRecorder::ShownList{});
}

void TestShellCommands::autoRunStopAnswersOnFifthAttempt()
{
    StationFixture f;
    f.addDevice(0);
    f.startConnected();
    f.port->holdReads(4); // four attempts find nothing on the line
    f.action("AutoRunStop1")->trigger();
    QCOMPARE(f.prompts.messages, (PromptRecorder::ShownList{{"Ok", "Information"}}));
    QCOMPARE(f.port->written(), bytes({0x0B, 0x0B, 0x0B, 0x0B, 0x0B, 0x41}));
    QVERIFY(f.device(0).printer().autoRunStopped);
}

void TestShellCommands::autoRunStopGivesUpOnDeadLine()
{
    StationFixture f;
    f.addDevice(0);
    f.startConnected();
    f.device(0).faults().silent = true;
    f.action("AutoRunStop1")->trigger();
    QCOMPARE(f.prompts.messages, (PromptRecorder::ShownList{{"AutoRun Stop Error", "Error"}}));
    QCOMPARE(f.port->written(), QByteArray(10, char(0x0B)));
}

void TestShellCommands::autoRunStopRetriesWrongAnswers()
{
    vp::Device device;
    MemoryPort memory(device);
    memory.expectProtocolErrors(12); // each attempt given up is a command cut off
    // Twelve wrong echoes: more attempts than a dead line is given, yet the printer answers.
    WrongEchoes line(memory, 12);
    int attempts = 0;
    QVERIFY(vshell::AutoRunStopRepeated(line, &attempts));
    QCOMPARE(attempts, 13);
    QVERIFY(device.printer().autoRunStopped);

    vp::Device garbling;
    MemoryPort memory2(garbling);
    memory2.expectProtocolErrors(-1);
    WrongEchoes always(memory2, 1 << 30);
    QVERIFY(!vshell::AutoRunStopRepeated(always, &attempts));
    QCOMPARE(attempts, vshell::AutoRunStopAttempts);
}

void TestShellCommands::autoRunStopButtonTriesOnce()
{
    StationFixture f;
    f.addDevice(0);
    f.startConnected();
    f.port->holdReads(1);
    f.action("TbAutoRunStop")->trigger();
    QCOMPARE(f.prompts.messages, (PromptRecorder::ShownList{{"AutoRun Stop Error", "Error"}}));
    QCOMPARE(f.port->written(), bytes({0x0B}));
}

void TestShellCommands::markDeleteAsksFirst_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<bool>("yes");
    QTest::newRow("menu, Yes") << "MarkDelete1" << true;
    QTest::newRow("menu, No") << "MarkDelete1" << false;
    QTest::newRow("button, Yes") << "TbMarkDelete" << true;
}

void TestShellCommands::markDeleteAsksFirst()
{
    QFETCH(QString, item);
    QFETCH(bool, yes);
    StationFixture f;
    f.addDevice(0);
    f.startConnected();
    f.prompts.answer(yes);
    f.action(item.toLatin1())->trigger();
    QCOMPARE(f.prompts.questions,
             (PromptRecorder::ShownList{{"Mark delete. Are You Sure?", "Confirm"}}));
    QCOMPARE(f.port->written(), yes ? bytes({0x0B, 0x4D, 0x0D}) : QByteArray());
    QCOMPARE(f.device(0).printer().markDeleted, yes);
    const PromptRecorder::ShownList shown =
        yes ? PromptRecorder::ShownList{{"Ok", "Information"}} : PromptRecorder::ShownList{};
    QCOMPARE(f.prompts.messages, shown);

    f.prompts.clear();
    f.prompts.answer(true);
    f.device(0).faults().silent = true;
    f.action(item.toLatin1())->trigger();
    QCOMPARE(f.prompts.messages, (PromptRecorder::ShownList{{"Mark not delete", "Error"}}));
}

void TestShellCommands::configSubmenusFollowThePrinter_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<int>("config");
    QTest::addColumn<bool>("onEnabled");
    QTest::newRow("horizontal set") << "MirrorHorizontally1" << 0x01 << false;
    QTest::newRow("horizontal clear") << "MirrorHorizontally1" << 0x06 << true;
    QTest::newRow("vertical set") << "MirrorVertically1" << 0x04 << false;
    QTest::newRow("vertical clear") << "MirrorVertically1" << 0x03 << true;
    QTest::newRow("break point set") << "BreakPointCorrection1" << 0x02 << false;
    QTest::newRow("break point clear") << "BreakPointCorrection1" << 0x05 << true;
}

void TestShellCommands::configSubmenusFollowThePrinter()
{
    QFETCH(QString, menu);
    QFETCH(int, config);
    QFETCH(bool, onEnabled);
    StationFixture f;
    f.addDevice(0);
    f.startConnected();
    f.device(0).printer().markConfig = quint8(config);
    f.open(menu.toLatin1());
    QCOMPARE(f.port->written(), bytes({0x08}));
    QCOMPARE(f.action((menu + "On").toLatin1())->isEnabled(), onEnabled);
    QCOMPARE(f.action((menu + "Off").toLatin1())->isEnabled(), !onEnabled);
    QCOMPARE(f.prompts.messages, PromptRecorder::ShownList{});
}

void TestShellCommands::configReadFailure_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("text");
    QTest::newRow("horizontal") << "MirrorHorizontally1"
                                << " Read Error";
    QTest::newRow("vertical") << "MirrorVertically1"
                              << "Read Error";
    QTest::newRow("break point") << "BreakPointCorrection1"
                                 << " Read Error";
}

void TestShellCommands::configReadFailure()
{
    QFETCH(QString, menu);
    QFETCH(QString, text);
    StationFixture f;
    f.addDevice(0).printer().markConfig = 0x07;
    f.startConnected();
    f.device(0).faults().silent = true;
    f.open(menu.toLatin1());
    QCOMPARE(f.prompts.messages, (PromptRecorder::ShownList{{text, "Error"}}));
    // The byte read at discovery still steers the items.
    QVERIFY(!f.action((menu + "On").toLatin1())->isEnabled());
    QVERIFY(f.action((menu + "Off").toLatin1())->isEnabled());
}

void TestShellCommands::configItemsSend_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("before");
    QTest::addColumn<QByteArray>("wire");
    QTest::addColumn<int>("after");
    QTest::addColumn<QString>("failure");
    QTest::newRow("MirrorHorizontally On")
        << "MirrorHorizontally1On" << 0 << bytes({0x1E, 0x13, 0x0D}) << 1
        << "MarkPrintDirection Set Error";
    QTest::newRow("MirrorHorizontally Off")
        << "MirrorHorizontally1Off" << 7 << bytes({0x1E, 0x14, 0x0D}) << 6
        << "MarkPrintDirection Set Error";
    QTest::newRow("MirrorVertically On")
        << "MirrorVertically1On" << 0 << bytes({0x1E, 0x44, 0x0D}) << 4 << "MarkRotateOn Set Error";
    QTest::newRow("MirrorVertically Off")
        << "MirrorVertically1Off" << 7 << bytes({0x1E, 0x55, 0x0D}) << 3
        << "MarkRotateOn Set Error";
    QTest::newRow("BreakPointCorrection On")
        << "BreakPointCorrection1On" << 0 << bytes({0x1E, 0x15, 0x0D}) << 2
        << "MarkBreakPointCorr On Error";
    QTest::newRow("BreakPointCorrection Off")
        << "BreakPointCorrection1Off" << 7 << bytes({0x1E, 0x16, 0x0D}) << 5
        << "MarkBreakPointCorr On Error";
    QTest::newRow("__MarkPrint Direction On")
        << "MarkPrintDirection1On" << 0 << bytes({0x1E, 0x13, 0x0D}) << 1
        << "MarkPrintDirection Set Error";
    QTest::newRow("__MarkBreakPointCorrection Off")
        << "MarkBreakPointCorrection1Off" << 2 << bytes({0x1E, 0x16, 0x0D}) << 0
        << "MarkBreakPointCorr On Error";
    QTest::newRow("__MarkRotation On")
        << "MarkRotation1On" << 0 << bytes({0x1E, 0x44, 0x0D}) << 4 << "MarkRotateOn Set Error";
}

void TestShellCommands::configItemsSend()
{
    QFETCH(QString, item);
    QFETCH(int, before);
    QFETCH(QByteArray, wire);
    QFETCH(int, after);
    QFETCH(QString, failure);
    StationFixture f;
    f.addDevice(0).printer().markConfig = quint8(before);
    f.startConnected();
    f.action(item.toLatin1())->trigger();
    QCOMPARE(f.port->written(), wire);
    QCOMPARE(int(f.device(0).printer().markConfig), after);
    QCOMPARE(f.prompts.messages, (PromptRecorder::ShownList{{"Ok", "Information"}}));
    f.prompts.clear();
    f.device(0).faults().silent = true;
    f.action(item.toLatin1())->trigger();
    QCOMPARE(f.prompts.messages, (PromptRecorder::ShownList{{failure, "Error"}}));
}

void TestShellCommands::loadDateTimeFromTheComputerClock()
{
    StationFixture f;
    f.addDevice(0);
    f.startConnected();
    f.state().clock.fix(QDateTime(QDate(2026, 3, 7), QTime(13, 45, 2)));
    f.action("LoadDateTimeM")->trigger();
    QCOMPARE(f.port->written(), QByteArray("\x1A"
                                           "T134502\r"
                                           "\x1A"
                                           "D070326\r"));
    QCOMPARE(f.prompts.messages, (PromptRecorder::ShownList{{"Ok", "Information"}}));
    const QDateTime printer = f.device(0).printer().now();
    QCOMPARE(printer.date(), QDate(2026, 3, 7));
    QCOMPARE(printer.time().hour(), 13);
    QVERIFY(!f.state().line.clockError);
}

void TestShellCommands::loadDateTimeFailure()
{
    StationFixture f;
    f.addDevice(0);
    f.startConnected();
    f.device(0).faults().silent = true;
    f.action("LoadDateTimeM")->trigger();
    QCOMPARE(f.prompts.messages, (PromptRecorder::ShownList{{"Time Set Error", "Error"}}));
    QVERIFY(f.state().line.clockError);
    // The date is not sent after a failed time.
    QCOMPARE(f.port->written(), bytes({0x1A}));
}

void TestShellCommands::helpAboutOpen()
{
    StationFixture f;
    f.addDevice(0);
    f.startConnected();
    f.action("HelpItem")->trigger();
    const QString help = QDir(f.workDir()).filePath("help.html");
    QCOMPARE(f.prompts.documents, QStringList{help});
    f.action("About1")->trigger();
    QCOMPARE(f.driver.openedModal, QStringList{"AboutBox"});
    f.prompts.chooseFiles({QStringLiteral("/tmp/anything")});
    f.action("FileOpen1")->trigger();
    QCOMPARE(f.prompts.fileRequests.size(), 1);
    QCOMPARE(f.prompts.fileRequests[0].filter, QStringLiteral("All Files (*)"));
    f.action("FileSave1")->trigger();
    f.action("FileSaveAs1")->trigger();
    QCOMPARE(f.prompts.fileRequests.size(), 1);
    QVERIFY(f.port->written().isEmpty());
    QCOMPARE(f.prompts.messages, PromptRecorder::ShownList{});
    // Without a viewer the operator is told, rather than nothing happening.
    f.prompts.documentOpens = false;
    f.action("HelpItem")->trigger();
    QCOMPARE(f.prompts.messages,
             (PromptRecorder::ShownList{{"No program was found to open " + help, "Error"}}));
}

void TestShellCommands::testButtons()
{
    StationFixture f;
    f.addDevice(0);
    f.addDevice(4, vp::Kind::Printer, 19200);
    f.writeSettings(QStringLiteral("[PortParams]\nComInteger=0\n"));
    f.startConnected();
    f.port->expectProtocolErrors(-1); // the test buttons send half commands and odd frames
    f.action("TbTest3")->trigger();
    QCOMPARE(f.port->written(), bytes({0x0C}));
    f.port->clearWritten();
    f.action("TbTest2")->trigger();
    QVERIFY(f.port->written().isEmpty());
    f.action("TbTest1")->trigger();
    // COM5 at 19200 bit/s, RTS low then high, the four bytes without echo.
    QCOMPARE(f.port->deviceName(), QStringLiteral("memory:COM5"));
    QCOMPARE(f.port->lineSpeed(), 19200);
    QCOMPARE(f.port->rtsChanges(), (QList<bool>{false, true}));
    QCOMPARE(f.port->written(), bytes({0x12, 0x02, 0x04, 0xE8}));
    QCOMPARE(f.prompts.beeps, 0);
}

// Whatever waits for the line shows the busy cursor; a box shown meanwhile, the normal one.
void TestShellCommands::busyCursorWhileTheLineIsWaitedFor()
{
    const struct {
        const char *item; // triggered; else the menu opened; else the search runs
        const char *menu;
        QString box;
    } rows[] = {
        {nullptr, nullptr, "Device not found"},
        {nullptr, "MirrorVertically1", "Read Error"},
        {"AutoRunStop1", nullptr, "AutoRun Stop Error"},
        {"Read2", nullptr, "Logo Read Error"}, // the read is the dialog's own
    };
    const auto busy = [] {
        const QCursor *c = QGuiApplication::overrideCursor();
        return c && c->shape() == Qt::WaitCursor;
    };
    for (const auto &row : rows) {
        StationFixture f;
        f.addDevice(0);
        f.startConnected();
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
        QVERIFY2(f.prompts.messages.contains({row.box, "Error"}), qPrintable(row.box));
        QVERIFY(reads > 0 && busyReads == reads && busyBoxes == 0);
        QVERIFY(!QGuiApplication::overrideCursor());
    }
}

QTEST_MAIN(TestShellCommands)
#include "tst_shell_commands.moc"
