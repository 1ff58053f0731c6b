// The batch windows and their menu: what the operator sets, what is refused before a run, and a
// run started by the Start button through the event loop.

#include "job/job_file.h"
#include "job/job_transfer.h"
#include "link/mark_commands.h"
#include "shell/card_print_form.h"
#include "shell/excel_print_form.h"
#include "support/memory_port.h"
#include "support/prompt_recorder.h"
#include "support/station_fixture.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTest>

using namespace vshell;

namespace
{

// The in-memory line, the printer's prints on the real clock, as the event loop runs them.
class RealTimePort : public MemoryPort
{
public:
    explicit RealTimePort(vp::Device &device) : MemoryPort(device), device_(device)
    {
        clock_.start();
    }
    bool writeByte(quint8 byte) override
    {
        device_.advanceTo(clock_.elapsed());
        return MemoryPort::writeByte(byte);
    }
    bool readByte(quint8 &byte) override
    {
        device_.advanceTo(clock_.elapsed());
        return MemoryPort::readByte(byte);
    }

private:
    vp::Device &device_;
    QElapsedTimer clock_;
};

// The main window as the batch windows see it: it takes their messages.
class MessageSink : public QWidget
{
public:
    bool event(QEvent *e) override
    {
        if (const std::optional<vui::Message> m = vui::messageOf(e->type())) {
            received.append(*m);
            return true;
        }
        return QWidget::event(e);
    }
    QList<vui::Message> received;
};

struct Rig {
    QTemporaryDir dir;
    vp::Device device;
    RealTimePort port{device};
    vui::LineState line{port};
    PromptRecorder prompts;
    MessageSink main;
    BatchSetting setting{line, prompts, vlink::CodePage(), dir.filePath("journal.db")};

    Rig() { vui::registerMessages(); }
    // The texts of the prints, in order.
    QStringList printed()
    {
        QStringList texts;
        for (const vp::PrintedMark &p : device.takePrinted())
            texts << QString::fromLatin1(p.texts.join(' '));
        return texts;
    }
};

template <typename Widget> Widget *child(QWidget &window, const char *name)
{
    return window.findChild<Widget *>(QString::fromLatin1(name));
}

void runToTheEnd(BatchWindow &window)
{
    child<QComboBox>(window, "Pacing")->setCurrentIndex(1); // station triggers
    QTest::mouseClick(window.panel().startButton(), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!window.panel().running(), 10000);
}

} // namespace

class TestBatchWindows : public QObject
{
    Q_OBJECT

private slots:
    void menuFollowsTheLine_data();
    void menuFollowsTheLine();
    void cardNumbersRun();
    void cardNumbersRefusedBeforeTheRun();
    void unfinishedRunGoesOnWhenTheOperatorSays_data();
    void unfinishedRunGoesOnWhenTheOperatorSays();
    void fileRowsMappedAndRun();
    void aLineWithoutProductsSaysSo();
    void baseJobGoesInBeforeTheFirstRecord_data();
    void baseJobGoesInBeforeTheFirstRecord();
};

void TestBatchWindows::menuFollowsTheLine_data()
{
    QTest::addColumn<bool>("connected");
    QTest::addColumn<bool>("depotOnly");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("connected") << true << false << true;
    QTest::newRow("nothing connected") << false << false << false;
    QTest::newRow("Depot only") << true << true << false;
}

void TestBatchWindows::menuFollowsTheLine()
{
    QFETCH(bool, connected);
    QFETCH(bool, depotOnly);
    QFETCH(bool, enabled);
    StationFixture f;
    f.start();
    f.state().line.connected = connected;
    f.window().setDepotNow(depotOnly);
    f.open("Batch1");
    QCOMPARE(f.action("CardNumbers1")->isEnabled(), enabled);
    QCOMPARE(f.action("PrintFromFile1")->isEnabled(), enabled);
}

void TestBatchWindows::cardNumbersRun()
{
    Rig rig;
    QVERIFY(vlink::StartCommand(rig.port));
    TCardPrint window(rig.setting, &rig.main);
    child<QLineEdit>(window, "FirstNumber")->setText("7");
    child<QSpinBox>(window, "NumberCount")->setValue(4);
    child<QSpinBox>(window, "NumberDigits")->setValue(3);
    child<QLineEdit>(window, "NumberPrefix")->setText("N");
    QCOMPARE(child<QLabel>(window, "CardPreview")->text(),
             QStringLiteral("First: \"N007\"   Last: \"N010\""));
    runToTheEnd(window);
    QCOMPARE(window.panel().run()->phase(), batch::RunPhase::Finished);
    QCOMPARE(rig.printed(), (QStringList{"N007", "N008", "N009", "N010"}));
    QCoreApplication::sendPostedEvents(&rig.main);
    QCOMPARE(rig.main.received,
             (QList<vui::Message>{vui::Message::SendToPrinter, vui::Message::PrinterFound}));
    QVERIFY(rig.prompts.messages.isEmpty());
    const QString exported = rig.dir.filePath("journal.csv");
    rig.prompts.chooseFiles({exported});
    QTest::mouseClick(child<QPushButton>(window, "ExportJournal"), Qt::LeftButton);
    QFile csv(exported);
    QVERIFY(csv.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = csv.readAll().split('\n');
    QCOMPARE(lines.size(), 6); // the header, four records, the empty end
    QVERIFY2(lines[4].startsWith("4,N010,printed,"), lines[4].constData());
}

void TestBatchWindows::cardNumbersRefusedBeforeTheRun()
{
    Rig rig;
    TCardPrint window(rig.setting, &rig.main);
    child<QSpinBox>(window, "NumberCount")->setValue(200);
    child<QSpinBox>(window, "NumberDigits")->setValue(2);
    rig.port.clearWritten();
    QTest::mouseClick(window.panel().startButton(), Qt::LeftButton);
    QCOMPARE(rig.prompts.messages.size(), 1);
    QVERIFY2(rig.prompts.messages[0].first.startsWith("Record 100, cell 1,1:"),
             qPrintable(rig.prompts.messages[0].first));
    QVERIFY(rig.port.written().isEmpty());
    QVERIFY(!window.panel().run());
}

void TestBatchWindows::unfinishedRunGoesOnWhenTheOperatorSays_data()
{
    QTest::addColumn<bool>("goOn");
    QTest::addColumn<QStringList>("printed");
    QTest::newRow("Yes, then Enter prints the uncertain record again")
        << true << QStringList{"001", "002", "003"};
    QTest::newRow("No starts nothing") << false << QStringList();
}

// The station died after loading the first number. Start asks before the run goes on; the
// uncertain record's box then defaults (Enter) to printing it again.
void TestBatchWindows::unfinishedRunGoesOnWhenTheOperatorSays()
{
    QFETCH(bool, goOn);
    QFETCH(QStringList, printed);
    Rig rig;
    rig.prompts.answer(goOn);
    QVERIFY(vlink::StartCommand(rig.port));
    TCardPrint window(rig.setting, &rig.main);
    child<QSpinBox>(window, "NumberCount")->setValue(3);
    child<QSpinBox>(window, "NumberDigits")->setValue(3);
    {
        batch::SqliteJournal journal(rig.setting.journalPath);
        const auto run = journal.startRun(batch::cardRunKey(*window.cards()), "Card numbers", 3);
        QVERIFY(run && journal.setState(run->id, 0, batch::RecordState::Loaded, {"001"}));
    }
    runToTheEnd(window);
    QCOMPARE(rig.prompts.questions.value(0).first,
             QString("The run of Card numbers did not finish: 0 of 3 records are done.\n"
                     "Go on from record 1?"));
    QCOMPARE(rig.prompts.questions.size(), goOn ? 2 : 1);
    if (goOn)
        QVERIFY(rig.prompts.questions[1].first.startsWith("Record 1 was loaded"));
    QCOMPARE(rig.printed(), printed);
    QCOMPARE(window.panel().run() != nullptr, goOn);
}

void TestBatchWindows::fileRowsMappedAndRun()
{
    Rig rig;
    QVERIFY(vlink::StartCommand(rig.port));
    const QString path = rig.dir.filePath("lots.csv");
    QFile csv(path);
    QVERIFY(csv.open(QIODevice::WriteOnly));
    csv.write("lot;serial\nA1;S001\nA2;S002\nA3;S003\n");
    csv.close();
    TExcelPrintForm window(rig.setting, &rig.main);
    QVERIFY(window.openFile(path));
    QCOMPARE(window.tableView()->model()->rowCount(), 4);
    child<QCheckBox>(window, "HeaderRow")->setChecked(true);
    window.tableView()->setCurrentIndex(window.tableView()->model()->index(2, 1));
    child<QSpinBox>(window, "MapRow")->setValue(2);
    child<QSpinBox>(window, "MapColumn")->setValue(3);
    QTest::mouseClick(child<QPushButton>(window, "MapCell"), Qt::LeftButton);
    QCOMPARE(child<QLabel>(window, "RecordPreview")->text(),
             QStringLiteral("Record 2 of 3 (row 3):\n2,3: \"S002\""));
    runToTheEnd(window);
    QCOMPARE(window.panel().run()->phase(), batch::RunPhase::Finished);
    QCOMPARE(rig.printed(), (QStringList{"S001", "S002", "S003"}));
}

// No product passes the sensor: the state line says what the run waits for.
void TestBatchWindows::aLineWithoutProductsSaysSo()
{
    Rig rig;
    QVERIFY(vlink::StartCommand(rig.port));
    TCardPrint window(rig.setting, &rig.main);
    QTest::mouseClick(window.panel().startButton(), Qt::LeftButton);
    QTRY_COMPARE(child<QLabel>(window, "RunState")->text(),
                 QString("Waiting for a product to print record 1"));
    window.panel().run()->stop();
    QTRY_VERIFY(!window.panel().running());
}

void TestBatchWindows::baseJobGoesInBeforeTheFirstRecord_data()
{
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QStringList>("printed");
    QTest::newRow("Yes: each number beside the job's text")
        << true << QStringList{"001 LOT 7", "002 LOT 7"};
    QTest::newRow("No: nothing starts") << false << QStringList();
}

void TestBatchWindows::baseJobGoesInBeforeTheFirstRecord()
{
    QFETCH(bool, yes);
    QFETCH(QStringList, printed);
    Rig rig;
    const QString job = rig.dir.filePath("lot.json");
    {
        vp::Device source;
        MemoryPort port(source);
        vjob::Job saved;
        QString failure;
        QVERIFY(vlink::TextFragmentWrite(port, 1, 2, "LOT 7") &&
                vjob::readPrinterJob(port, {}, saved, failure) &&
                vjob::writeJobFile(job, saved, failure));
    }
    QVERIFY(vlink::StartCommand(rig.port));
    TCardPrint window(rig.setting, &rig.main);
    child<QSpinBox>(window, "NumberCount")->setValue(2);
    child<QSpinBox>(window, "NumberDigits")->setValue(3);
    window.setBaseJob(job);
    rig.prompts.answer(yes);
    runToTheEnd(window);
    QCOMPARE(rig.prompts.questions.value(0).first,
             QString("Mark overwrite with the job \"lot\". Are You Sure?"));
    QCOMPARE(rig.printed(), printed);
    // No box to wait on: products passing meanwhile would get the job without a record.
    QCOMPARE(rig.prompts.messages, PromptRecorder::ShownList());
}

QTEST_MAIN(TestBatchWindows)
#include "tst_batch_windows.moc"
