// Jobs from the main window: saved with the logos the operator names, loaded after asking,
// verified, and kept in the recent list.

#include "job/job_file.h"
#include "link/logo_commands.h"
#include "link/mark_commands.h"
#include "shell/job_difference_form.h"
#include "shell/recent_jobs.h"
#include "support/memory_port.h"
#include "support/station_fixture.h"

#include <QComboBox>
#include <QMenu>
#include <QTest>

namespace
{

struct Station : StationFixture {
    Station()
    {
        addDevice(0);
        startConnected();
    }
    QString job() const { return dir.filePath("lot.json"); }
    // A text and logo 5 placed in 1,2; then the job saved with the operator naming logo 5.
    void saveJob()
    {
        vlink::LogoBuffer arrow;
        arrow.width = 6;
        arrow.height = 1;
        arrow.name = "ARROW";
        for (int c = 0; c < arrow.width; ++c)
            arrow.at(c, 0) = quint8(0x11 * c);
        MemoryPort p(device(0));
        QVERIFY(vlink::TextFragmentWrite(p, 1, 1, "LOT 7") &&
                vlink::PrinterLogoWrite(p, 5, arrow) && vlink::MarkLoad(p, 5, 2, 1));
        prompts.chooseFiles({dir.filePath("lot")});
        driver.whenOpen([](QDialog &d) {
            auto *cell = d.findChild<QComboBox *>("Cell1");
            cell->setCurrentIndex(cell->findData(5));
            QTest::keyClick(&d, Qt::Key_Return);
        });
        action("SaveJobAs1")->trigger();
    }
    void clearMark()
    {
        MemoryPort p(device(0));
        QVERIFY(vlink::TextFragmentDelete(p, 1, 1) && vlink::TextFragmentDelete(p, 1, 2));
        prompts.clear();
    }
};

} // namespace

class TestJobWindow : public QObject
{
    Q_OBJECT

private slots:
    void savedClearedOpenedVerified();
    void openAsksBeforeItWrites_data();
    void openAsksBeforeItWrites();
    void recentKeepsEightNewestOnce();
};

void TestJobWindow::savedClearedOpenedVerified()
{
    Station f;
    f.saveJob();
    QCOMPARE(f.prompts.messages.value(0).first, "Job saved to " + f.job());
    QString problem;
    const std::optional<vjob::Job> job = vjob::readJobFile(f.job(), problem);
    QVERIFY2(job, qPrintable(problem));
    QCOMPARE(job->cell(1, 2).logo, 5);
    const auto saved = f.device(0).mark().cells;
    f.clearMark();
    f.open("File1");
    QAction *recent = f.menu("RecentJobs1")->findChild<QAction *>("RecentJob1");
    QVERIFY(recent);
    QCOMPARE(recent->statusTip(), f.job());
    f.prompts.answer(true);
    recent->trigger();
    QCOMPARE(f.prompts.questions.value(0).first,
             QString("Mark overwrite with the job \"lot\". Are You Sure?"));
    QCOMPARE(f.prompts.messages,
             PromptRecorder::ShownList({{"Job loaded and verified", "Information"}}));
    QCOMPARE(f.device(0).mark().cells, saved);
}

void TestJobWindow::openAsksBeforeItWrites_data()
{
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<QString>("otherLogo"); // logo 5's name in the printer before the load
    QTest::addColumn<bool>("spoilPicture");
    QTest::addColumn<bool>("written");
    QTest::newRow("No to the overwrite") << QList<bool>{false} << "" << false << false;
    QTest::newRow("No to replacing another logo")
        << QList<bool>{true, false} << "STAR" << false << false;
    QTest::newRow("Yes to both") << QList<bool>{true, true} << "STAR" << false << true;
    QTest::newRow("a dot that differs") << QList<bool>{true} << "" << true << true;
}

// Every question comes before the first byte of the job; a picture that differs opens the
// difference window with the columns marked.
void TestJobWindow::openAsksBeforeItWrites()
{
    QFETCH(QList<bool>, answers);
    QFETCH(QString, otherLogo);
    QFETCH(bool, spoilPicture);
    QFETCH(bool, written);
    Station f;
    f.saveJob();
    if (spoilPicture) {
        QString problem;
        std::optional<vjob::Job> job = vjob::readJobFile(f.job(), problem);
        job->picture->at(3, 0) ^= 0x01;
        QVERIFY(vjob::writeJobFile(f.job(), *job, problem));
    }
    f.clearMark();
    if (!otherLogo.isEmpty()) {
        MemoryPort p(f.device(0));
        vlink::LogoBuffer other;
        QVERIFY(vlink::PrinterLogoRename(p, 5, otherLogo.toLatin1(), other).ok);
    }
    const auto cleared = f.device(0).mark().cells;
    for (bool a : answers)
        f.prompts.answer(a);
    QImage shown;
    f.driver.whenOpen([&shown](QDialog &d) {
        shown = static_cast<vshell::TJobDifferenceForm &>(d).shown();
        QTest::keyClick(&d, Qt::Key_Return);
    });
    f.window().jobFlow().openJob(f.job());
    QCOMPARE(f.prompts.questions.size(), answers.size());
    QCOMPARE(f.device(0).mark().cells != cleared, written);
    QCOMPARE(f.driver.openedModal.contains("JobDifferenceForm"), spoilPicture);
    if (spoilPicture)
        QCOMPARE(shown.pixel(3 * vshell::TJobDifferenceForm::Zoom, shown.height() / 2),
                 vshell::TJobDifferenceForm::Marked);
}

void TestJobWindow::recentKeepsEightNewestOnce()
{
    QTemporaryDir dir;
    const vshell::RecentJobs recent(dir.filePath("station.dev"));
    QString reason;
    for (int i = 1; i <= 9; ++i)
        QVERIFY(recent.add(dir.filePath(QString("job%1.json").arg(i)), reason));
    QVERIFY(recent.add(dir.filePath("job5.json"), reason));
    QStringList expected;
    for (int i : {5, 9, 8, 7, 6, 4, 3, 2})
        expected << dir.filePath(QString("job%1.json").arg(i));
    QCOMPARE(recent.paths(), expected);
}

QTEST_MAIN(TestJobWindow)
#include "tst_job_window.moc"
