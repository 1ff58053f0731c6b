#include "batch/journal_summary.h"
#include "batch/sqlite_journal.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace batch;
using States = QList<std::pair<int, RecordState>>;
Q_DECLARE_METATYPE(States)

namespace
{

const RunKey Key{"0f0f", "rows 1-5; 1,1=column 1 font 1"};

States statesOf(const QList<JournalEntry> &entries)
{
    States states;
    for (const JournalEntry &entry : entries)
        states.append({entry.index, entry.state});
    return states;
}

// A station that records its states and dies without closing anything, as under SIGKILL.
void recordAndDie(const QString &path, const States &states)
{
    const pid_t child = fork();
    if (child == 0) {
        SqliteJournal journal(path);
        const auto run = journal.startRun(Key, "lots.csv", 5);
        for (const auto &[index, state] : states)
            if (!run || !journal.setState(run->id, index, state, {"L" + QString::number(index)}))
                _exit(1);
        raise(SIGKILL);
    }
    int status = 0;
    waitpid(child, &status, 0);
    QVERIFY(WIFSIGNALED(status));
}

} // namespace

class TestBatchJournal : public QObject
{
    Q_OBJECT

private slots:
    void survivesTheProcess_data();
    void survivesTheProcess();
    void unwritableJournal_data();
    void unwritableJournal();
    void finishedRunIsNotResumed();
    void csvExport();
};

void TestBatchJournal::survivesTheProcess_data()
{
    QTest::addColumn<States>("written");
    QTest::addColumn<States>("latest");
    QTest::addColumn<int>("resume");
    QTest::addColumn<QList<int>>("uncertain");
    using S = RecordState;
    QTest::newRow("killed between a record's load and its print")
        << States{{0, S::Loaded}, {0, S::Printed}, {1, S::Loaded}}
        << States{{0, S::Printed}, {1, S::Loaded}} << 1 << QList<int>{1};
    QTest::newRow("a skipped record is passed, a failed one is not")
        << States{{0, S::Loaded}, {0, S::Printed}, {1, S::Loaded}, {1, S::Skipped}, {2, S::Failed}}
        << States{{0, S::Printed}, {1, S::Skipped}, {2, S::Failed}} << 2 << QList<int>();
    QTest::newRow("reprinted after the operator's choice")
        << States{{0, S::Loaded}, {0, S::Loaded}, {0, S::Printed}} << States{{0, S::Printed}} << 1
        << QList<int>();
    QTest::newRow("every record printed") << States{{0, S::Printed},
                                                    {1, S::Printed},
                                                    {2, S::Printed},
                                                    {3, S::Skipped},
                                                    {4, S::Printed}}
                                          << States{{0, S::Printed},
                                                    {1, S::Printed},
                                                    {2, S::Printed},
                                                    {3, S::Skipped},
                                                    {4, S::Printed}}
                                          << 5 << QList<int>();
}

void TestBatchJournal::survivesTheProcess()
{
    QFETCH(States, written);
    QFETCH(States, latest);
    QFETCH(int, resume);
    QFETCH(QList<int>, uncertain);
    QTemporaryDir dir;
    const QString path = dir.filePath("data/journal.sqlite");
    recordAndDie(path, written);
    SqliteJournal journal(path);
    QVERIFY2(journal.isOpen(), qPrintable(journal.error()));
    const auto run = journal.unfinishedRun(Key);
    QVERIFY(run.has_value());
    QCOMPARE(run->sourceName, "lots.csv");
    QCOMPARE(run->recordCount, 5);
    QVERIFY(!journal.unfinishedRun({Key.sourceHash, Key.description + " "}));
    const QList<JournalEntry> entries = journal.entries(run->id);
    QCOMPARE(statesOf(entries), latest);
    QCOMPARE(entries.last().texts, QStringList{"L" + QString::number(latest.last().first)});
    QVERIFY(qAbs(entries.last().time.secsTo(QDateTime::currentDateTimeUtc())) < 60);
    QCOMPARE(resumePoint(entries, run->recordCount), resume);
    QCOMPARE(uncertainRecords(entries), uncertain);
}

void TestBatchJournal::unwritableJournal_data()
{
    QTest::addColumn<bool>("opens");
    QTest::addColumn<QString>("error");
    // Root writes to any file whatever its mode, so these faults hold for every user.
    QTest::newRow("folder is a file") << false << "its folder cannot be made";
    QTest::newRow("another writer holds it") << true << "database is locked";
}

void TestBatchJournal::unwritableJournal()
{
    QFETCH(bool, opens);
    QFETCH(QString, error);
    QTemporaryDir dir;
    QFile blocker(dir.filePath("file"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    const QString path = opens ? dir.filePath("journal.sqlite") : dir.filePath("file/j.sqlite");
    SqliteJournal journal(path, 50);
    QCOMPARE(journal.isOpen(), opens);
    std::optional<RunInfo> run;
    if (opens) {
        run = journal.startRun(Key, "lots.csv", 5);
        QVERIFY(run.has_value());
        QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other");
        other.setDatabaseName(path);
        QVERIFY(other.open());
        QVERIFY(QSqlQuery(other).exec("BEGIN EXCLUSIVE"));
    }
    QVERIFY(!journal.setState(run ? run->id : 1, 0, RecordState::Loaded, {"L0"}));
    QVERIFY2(journal.error().startsWith("The journal " + path + " cannot"),
             qPrintable(journal.error()));
    QVERIFY2(journal.error().contains(error), qPrintable(journal.error()));
    QSqlDatabase::removeDatabase("other");
}

void TestBatchJournal::finishedRunIsNotResumed()
{
    QTemporaryDir dir;
    SqliteJournal journal(dir.filePath("j.sqlite"));
    const auto first = journal.startRun(Key, "a.csv", 5);
    QVERIFY(first && journal.finishRun(first->id));
    QVERIFY(!journal.unfinishedRun(Key));
    const auto second = journal.startRun(Key, "renamed.csv", 5);
    QVERIFY(second && second->id != first->id);
    QCOMPARE(journal.unfinishedRun(Key)->id, second->id);
    QVERIFY(journal.entries(second->id).isEmpty());
}

void TestBatchJournal::csvExport()
{
    const QDateTime time(QDate(2026, 12, 7), QTime(21, 5, 3, 250), Qt::UTC);
    const QByteArray csv = journalCsv({{0, RecordState::Printed, time, {"L1", "Bolt, \"M6\""}},
                                       {1, RecordState::Loaded, time, {"L2"}}});
    QCOMPARE(csv, "\xEF\xBB\xBFrecord,texts,state,time\r\n"
                  "1,\"L1\nBolt, \"\"M6\"\"\",printed,2026-12-07T21:05:03.250Z\r\n"
                  "2,L2,loaded,2026-12-07T21:05:03.250Z\r\n");
}

QTEST_GUILESS_MAIN(TestBatchJournal)
#include "tst_batch_journal.moc"
