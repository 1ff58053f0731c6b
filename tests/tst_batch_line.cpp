// Batch runs end to end: vuvactl against the paced virtual printer with its product line, the
// print log as the witness of what every product got.

#include "support/pty_vprinter.h"
#include "support/vuvactl_run.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

namespace
{

QString recordLine(int i)
{
    return QStringLiteral("LOT%1\tSN%2").arg(i + 1).arg(1000 + i);
}

// The texts of every print that carried a record, in the order printed.
QStringList printedRecords(const QString &log)
{
    QFile file(log);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() > 2 && fields[2].startsWith("LOT"))
            lines << QString::fromLatin1(fields.mid(2).join('\t'));
    }
    return lines;
}

// The prints a summary says mixed two records or repeated the one before.
int toldWrong(const QString &summary)
{
    static const QRegularExpression told(
        QStringLiteral("; (\\d+) prints (began, or may have begun|came, or may have come) unseen"));
    int count = 0;
    for (const QRegularExpressionMatch &m : told.globalMatch(summary))
        count += m.captured(1).toInt();
    return count;
}

// The records' own prints, each once: a print that mixed two records, or the same record again
// right after its print, left out.
QStringList wholeOnce(const QStringList &printed, const QStringList &records)
{
    QStringList lines;
    for (const QString &line : printed)
        if (records.contains(line) && (lines.isEmpty() || lines.last() != line))
            lines << line;
    return lines;
}

struct Line {
    QTemporaryDir dir;
    VPrinterProcess printer;
    QString device;
    QString data = dir.filePath("lots.csv");
    QString log = dir.filePath("prints.log");

    Line(int records, const QStringList &printerArgs)
    {
        qputenv("XDG_DATA_HOME", dir.filePath("data").toLocal8Bit());
        QFile csv(data);
        if (!csv.open(QIODevice::WriteOnly))
            QTest::qFail("no data file", __FILE__, __LINE__);
        for (int i = 0; i < records; ++i)
            csv.write(recordLine(i).replace(u'\t', u',').toLatin1() + "\r\n");
        csv.close();
        device = printer.start(printerArgs + QStringList{"--print-log", log});
    }
    VuvactlRun vuvactl(const QStringList &args, int timeoutMs = 30000)
    {
        return runVuvactl(QStringList{"--port", device} + args, {}, timeoutMs);
    }
    QStringList batchArgs(const QStringList &more = {}) const
    {
        return QStringList{"batch", data, "--cell", "1,1", "--cell", "2,3"} + more;
    }
};

// Goes on after a failure or a crash as an operator would: an uncertain record is skipped when
// the log shows it printed, else printed again.
VuvactlRun resume(Line &line, const QStringList &more)
{
    VuvactlRun run = line.vuvactl(line.batchArgs(more + QStringList{"--resume"}), 120000);
    static const QRegularExpression uncertain(QStringLiteral("^Record (\\d+) was loaded"));
    const QRegularExpressionMatch m = uncertain.match(run.lastErr);
    if (run.exitCode != 1 || !m.hasMatch())
        return run;
    QThread::msleep(200); // a print still going on ends and is logged
    const bool printed = printedRecords(line.log).contains(recordLine(m.captured(1).toInt() - 1));
    return line.vuvactl(
        line.batchArgs(more + QStringList{"--resume", "--uncertain", printed ? "skip" : "reprint"}),
        120000);
}

} // namespace

class TestBatchLine : public QObject
{
    Q_OBJECT

private slots:
    void productSensorPrintsEachRecordOnce();
    void killedStationResumes();
    void droppedEchoesStopAndResume();
};

void TestBatchLine::productSensorPrintsEachRecordOnce()
{
    // Prints of 30 to 40 ms: a station busy for longer than that cannot tell a print was missed.
    Line line(300, {"--products-per-minute", "600", "--print-speed", "1000"});
    QVERIFY2(!line.device.isEmpty(), qPrintable(line.printer.errorText()));
    QCOMPARE(line.vuvactl({"fragment-write", "1", "1", "READY"}).exitCode, 0);
    QCOMPARE(line.vuvactl({"start"}).exitCode, 0);
    const VuvactlRun run = line.vuvactl(line.batchArgs(), 90000);
    QVERIFY2(run.exitCode == 0, qPrintable(run.lastErr));
    // A look held up by a loaded machine for longer than a print counts as a possibly mixed print,
    // which the summary then adds; the log below is the exact check.
    QVERIFY2(run.out.startsWith(QStringLiteral("300 printed, 0 skipped, 0 left")),
             qPrintable(run.out));
    QStringList expected;
    for (int i = 0; i < 300; ++i)
        expected << recordLine(i);
    // A station held up for longer than the gap to the next product cannot keep that product
    // from carrying the last record again, but it must tell each such print.
    const QStringList printed = printedRecords(line.log);
    QCOMPARE(wholeOnce(printed, expected), expected);
    QVERIFY2(printed.size() - 300 <= toldWrong(run.out), qPrintable(run.out));
    if (printed.size() > 300)
        qWarning("%d products got a wrong mark, each told: %s", int(printed.size() - 300),
                 qPrintable(run.out));
    const VuvactlRun journal = runVuvactl({"batch", line.data, "--journal"});
    QCOMPARE(journal.out.count(QStringLiteral("\tprinted\t")), 300);
    QVERIFY(line.printer.terminate());
}

// With station triggers nothing prints while the station is down, so the log must show every
// record exactly once however the run was broken.
void TestBatchLine::killedStationResumes()
{
    constexpr int Records = 200;
    Line line(Records, {});
    QVERIFY2(!line.device.isEmpty(), qPrintable(line.printer.errorText()));
    QCOMPARE(line.vuvactl({"start"}).exitCode, 0);
    QProcess station;
    station.start(VPrinterProcess::binary("vuvactl"),
                  QStringList{"--port", line.device} + line.batchArgs({"--trigger"}));
    QDeadlineTimer deadline(60000);
    while (printedRecords(line.log).size() < 100 && !deadline.hasExpired())
        QThread::msleep(5);
    station.kill();
    QVERIFY(station.waitForFinished(5000));
    QThread::msleep(1200); // the line goes quiet: what the station cut off is given up
    line.printer.expectProtocolErrors(-1);
    const VuvactlRun run = resume(line, {"--trigger"});
    QVERIFY2(run.exitCode == 0, qPrintable(run.lastErr));
    QStringList expected;
    for (int i = 0; i < Records; ++i)
        expected << recordLine(i);
    QCOMPARE(printedRecords(line.log), expected);
}

void TestBatchLine::droppedEchoesStopAndResume()
{
    constexpr int Records = 15;
    Line line(Records, {"--drop-echo-rate", "0.01", "--echo-seed", "3"});
    QVERIFY2(!line.device.isEmpty(), qPrintable(line.printer.errorText()));
    int failures = 0;
    while (line.vuvactl({"start"}).exitCode != 0)
        QVERIFY(++failures < 20);
    VuvactlRun run = line.vuvactl(line.batchArgs({"--trigger"}), 60000);
    for (int attempt = 0; run.exitCode != 0 && attempt < 300; ++attempt) {
        QVERIFY2(run.exitCode == 1, qPrintable(run.lastErr));
        ++failures;
        QThread::msleep(1100); // the printer gives up the command cut off
        run = resume(line, {"--trigger"});
    }
    QVERIFY2(run.exitCode == 0, qPrintable(run.lastErr));
    QVERIFY(failures > 0);
    QStringList expected;
    for (int i = 0; i < Records; ++i)
        expected << recordLine(i);
    QCOMPARE(printedRecords(line.log), expected);
}

QTEST_GUILESS_MAIN(TestBatchLine)
#include "tst_batch_line.moc"
