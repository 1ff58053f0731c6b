#include "app/vuvactl_commands.h"
#include "job/job_file.h"
#include "job/job_transfer.h"
#include "link/logo_commands.h"
#include "link/machine_commands.h"
#include "link/mark_commands.h"
#include "link/mark_image.h"
#include "support/clocked_port.h"
#include "support/memory_port.h"
#include "support/pty_vprinter.h"
#include "support/vuvactl_run.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

using namespace vlink;
using Outcome = vuvactl::Outcome;

namespace
{

// A command run in-process on the port, as vuvactl runs it; what it printed goes to printed.
Outcome runIn(Port &port, const QStringList &line, QString &printed)
{
    QString problem;
    const vuvactl::Action action =
        vuvactl::findCommand(vuvactl::allCommands(), line[0])->bind(line.mid(1), problem);
    if (!action)
        return vuvactl::usageError(problem);
    QTextStream stream(&printed);
    Connection connection;
    vuvactl::Context context{port, false, stream, connection};
    const Outcome outcome = action(context);
    stream.flush();
    return outcome;
}

LogoBuffer logo(int width, int height, const QByteArray &name, quint8 seed)
{
    LogoBuffer l;
    l.width = width;
    l.height = height;
    l.name = name;
    for (int c = 0; c < width; ++c)
        for (int k = 0; k < height; ++k)
            l.at(c, k) = quint8(seed + c * 7 + k * 3);
    return l;
}

using Part = std::function<bool(Port &)>;
// The parts of a mark the round trip rows put together; the dates have no clock digit that runs.
const Part fonts = [](Port &p) {
    return TextFragmentWrite(p, 1, 1, "Font0") && TextFragmentWrite(p, 1, 2, "Font3") &&
           FontSet(p, 3, 1, 2) && TextFragmentWrite(p, 1, 3, "Font15") && FontSet(p, 15, 1, 3);
};
const Part counters = [](Port &p) {
    return RunningNumberForward(p) && CounterSet(p, 2, 1, "0007") && RunningNumberBack(p) &&
           CounterSet(p, 2, 2, "0099") && FontSet(p, 2, 2, 2);
};
const Part clocks = [](Port &p) {
    return TimeFormatSet(p, 3, 1, "DD.MM.YY") && PostDateSet(p, 3, 2, "0030", "DD/MM/YYYY");
};
const Part special = [](Port &p) {
    return TextFragmentWrite(p, 4, 1, "S") &&
           SpecFuncWrite(p, {"3", "00000001", "00000090", "0002", "0001", "41"});
};
const Part logos = [](Port &p) {
    return PrinterLogoWrite(p, 5, logo(20, 2, "ARROW", 1)) &&
           PrinterLogoWrite(p, 9, logo(7, 4, "BOX", 40)) && MarkLoad(p, 5, 7, 1) &&
           MarkLoad(p, 9, 7, 2);
};
const QStringList placed = {"1,7=5", "2,7=9"};

QByteArray imageOf(Port &port)
{
    MarkImage image;
    return MarkImageRead(port, image)
               ? QByteArray(reinterpret_cast<const char *>(image.bytes.data()), 4 * image.width)
               : QByteArray();
}

// A saved job with everything in it, as a JSON object for the hostile rows to spoil.
QJsonObject savedJob(vp::Device &device)
{
    MemoryPort port(device);
    for (const Part &part : {fonts, counters, clocks, special, logos})
        part(port);
    vjob::Job job;
    QString failure;
    vjob::readPrinterJob(port, {{6, 5}, {14, 9}}, job, failure);
    return QJsonDocument::fromJson(vjob::jobToJson(job)).object();
}

using Spoil = std::function<QByteArray(QJsonObject &)>;
QByteArray json(const QJsonObject &o)
{
    return QJsonDocument(o).toJson();
}
Spoil cellField(int index, const char *key, const QJsonValue &value)
{
    return [=](QJsonObject &o) {
        QJsonArray cells = o["cells"].toArray();
        QJsonObject cell = cells[index].toObject();
        cell[key] = value;
        cells[index] = cell;
        o["cells"] = cells;
        return json(o);
    };
}
Spoil logoField(const char *key, const QJsonValue &value)
{
    return [=](QJsonObject &o) {
        QJsonArray logos = o["logos"].toArray();
        QJsonObject l = logos[0].toObject();
        l[key] = value;
        logos[0] = l;
        o["logos"] = logos;
        return json(o);
    };
}

} // namespace

Q_DECLARE_METATYPE(Part)
Q_DECLARE_METATYPE(Spoil)

class TestJobs : public QObject
{
    Q_OBJECT

private slots:
    void roundTripIntoAFreshPrinter_data();
    void roundTripIntoAFreshPrinter();
    void hostileFilesWriteNothing_data();
    void hostileFilesWriteNothing();
    void failedWriteStopsAndListsWhatWasWritten_data();
    void failedWriteStopsAndListsWhatWasWritten();
    void throughThePseudoTerminal();
    void batchOnABaseJob_data();
    void batchOnABaseJob();

private:
    QTemporaryDir dir_;
};

void TestJobs::roundTripIntoAFreshPrinter_data()
{
    QTest::addColumn<QList<Part>>("parts");
    QTest::addColumn<QStringList>("logoArgs");
    QTest::newRow("texts in three fonts") << QList<Part>{fonts} << QStringList();
    QTest::newRow("an up and a down counter") << QList<Part>{counters} << QStringList();
    QTest::newRow("a time and date, a post date") << QList<Part>{clocks} << QStringList();
    QTest::newRow("a special function") << QList<Part>{special} << QStringList();
    QTest::newRow("two logos") << QList<Part>{logos} << placed;
    QTest::newRow("all of them") << QList<Part>{fonts, counters, clocks, special, logos} << placed;
}

// Saved, loaded into a fresh printer, verified: both printers then hold the same cells, logos,
// script and day count, and print the same dots.
void TestJobs::roundTripIntoAFreshPrinter()
{
    QFETCH(QList<Part>, parts);
    QFETCH(QStringList, logoArgs);
    vp::Device source, fresh;
    source.printer().markConfig = vjob::MirrorHorizontal | vjob::MirrorVertical;
    MemoryPort sourcePort(source), freshPort(fresh);
    for (const Part &part : parts)
        QVERIFY(part(sourcePort));
    const QString file = dir_.filePath("job.json");
    QString out;
    QCOMPARE(runIn(sourcePort, QStringList{"job-save", file} + logoArgs, out).kind,
             Outcome::Kind::Ok);
    QCOMPARE(runIn(freshPort, {"job-load", file}, out = {}).text, QString());
    QCOMPARE(out, QString("Job loaded and verified\n"));
    QCOMPARE(runIn(freshPort, {"job-diff", file}, out = {}).kind, Outcome::Kind::Ok);
    QCOMPARE(fresh.mark().cells, source.mark().cells);
    QCOMPARE(fresh.mark().script, source.mark().script);
    QCOMPARE(fresh.logos().printer, source.logos().printer);
    QCOMPARE(fresh.printer().markConfig, source.printer().markConfig);
    QCOMPARE(fresh.printer().postDateDays, source.printer().postDateDays);
    QCOMPARE(imageOf(freshPort), imageOf(sourcePort));
}

void TestJobs::hostileFilesWriteNothing_data()
{
    QTest::addColumn<Spoil>("spoil");
    QTest::addColumn<QString>("refusal");
    QTest::addColumn<bool>("lineUntouched");
    QTest::newRow("a text over 37 characters")
        << cellField(0, "text", QString(38, 'x')) << "cell 1,1: text of 38 characters, at most 37"
        << true;
    QTest::newRow("a character beyond a byte")
        << cellField(0, "text", QString::fromUtf8("Ж"))
        << "cell 1,1: text holds a character beyond one byte" << true;
    QTest::newRow("a logo wider than a record")
        << logoField("width", 255) << "logo 5: 255 columns of 2 bands do not fit a logo record"
        << true;
    QTest::newRow("a logo wider than a byte")
        << logoField("width", 256) << "logo 5: width must be a whole number 1..255" << true;
    QTest::newRow("dots that are no dots")
        << logoField("dots", QJsonArray{"#x"})
        << "logo 5: dots must be 16 lines of 20 \"#\" or \".\"" << true;
    QTest::newRow("a placed logo the job lacks") << Spoil([](QJsonObject &o) {
        o["logos"] = QJsonArray();
        return json(o);
    }) << "cell 1,7 places logo 5, which the job does not hold"
                                                 << true;
    QTest::newRow("a cell twice") << cellField(1, "column", 1) << "cell 1,1 appears twice" << true;
    QTest::newRow("a kind unknown")
        << cellField(0, "kind", "wave") << "cell 1,1: unknown kind \"wave\"" << true;
    QTest::newRow("a newer version") << Spoil([](QJsonObject &o) {
        o["version"] = 2;
        return json(o);
    }) << "a job file of version 2; this station reads version 1"
                                     << true;
    QTest::newRow("truncated") << Spoil([](QJsonObject &o) { return json(o).left(3000); })
                               << "refused: not a job file (unterminated" << true;
    QTest::newRow("oversized") << Spoil([](QJsonObject &o) {
        return json(o) + QByteArray(vjob::JobFileMax, ' ');
    }) << "larger than 8388608 bytes"
                               << true;
    QTest::newRow("a graphic whose logo is unknown")
        << cellField(6, "logo", "unknown")
        << "Cell 1,7 is a graphic whose logo the job does not know" << false;
    QTest::newRow("the cells missing") << Spoil([](QJsonObject &o) {
        o["cells"] = QJsonObject();
        return json(o);
    }) << "cells must list all 32 cells of the mark"
                                       << true;
}

// Refused before anything goes to the printer: the mark and the logos stay as they were.
void TestJobs::hostileFilesWriteNothing()
{
    QFETCH(Spoil, spoil);
    QFETCH(QString, refusal);
    QFETCH(bool, lineUntouched);
    vp::Device device;
    QJsonObject job = savedJob(device);
    const QString file = dir_.filePath("hostile.json");
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write(spoil(job)) >= 0);
    f.close();
    MemoryPort port(device);
    QVERIFY(TextFragmentWrite(port, 1, 1, "KEPT"));
    const auto cells = device.mark().cells;
    const auto stored = device.logos().printer;
    device.clearReceived();
    QString out;
    const Outcome outcome = runIn(port, {"job-load", file}, out);
    QCOMPARE(outcome.kind, Outcome::Kind::Failed);
    QVERIFY2(outcome.text.contains(refusal), qPrintable(outcome.text));
    QCOMPARE(device.mark().cells, cells);
    QCOMPARE(device.logos().printer, stored);
    QCOMPARE(device.received().isEmpty(), lineUntouched);
}

void TestJobs::failedWriteStopsAndListsWhatWasWritten_data()
{
    QTest::addColumn<QByteArray>("command"); // the echo of its last byte goes missing
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("written");
    QTest::newRow("the first logo") << QByteArray("\x07\x89\x05") << "Logo Load Error"
                                    << " nothing\n";
    QTest::newRow("the second cell's font")
        << QByteArray("\x1B\x31\x32\x33\r") << "Font Set Error"
        << "\n  logo 5\n  logo 9\n  cell 1,1: text\n  cell 1,1: font 0\n  cell 1,2: text\n";
}

// The load stops at the command whose echo went missing and names what went through before it.
void TestJobs::failedWriteStopsAndListsWhatWasWritten()
{
    QFETCH(QByteArray, command);
    QFETCH(QString, failure);
    QFETCH(QString, written);
    vp::Device source, clean, target;
    const QString file = dir_.filePath("job.json");
    QString out;
    {
        MemoryPort port(source);
        QVERIFY(fonts(port) && logos(port));
        QCOMPARE(runIn(port, QStringList{"job-save", file} + placed, out).kind, Outcome::Kind::Ok);
        MemoryPort cleanPort(clean);
        QCOMPARE(runIn(cleanPort, {"job-load", file}, out).kind, Outcome::Kind::Ok);
    }
    const qsizetype at = clean.received().indexOf(command);
    QVERIFY(at > 0);
    MemoryPort port(target);
    port.expectProtocolErrors(-1);
    target.faults().dropEchoAt = at + command.size() - 1;
    const Outcome outcome = runIn(port, {"job-load", file}, out = {});
    QCOMPARE(outcome.text, failure);
    QCOMPARE(out, "Written before the failure:" + written);
}

// A job saved through vuvactl names the cell changed since, and loads back verified.
void TestJobs::throughThePseudoTerminal()
{
    VPrinterProcess vprinter;
    const QStringList port{"--port", vprinter.start(), "--speed", "57600"};
    const QString file = dir_.filePath("pty.json");
    QCOMPARE(runVuvactl(port + QStringList{"fragment-write", "2", "3", "LOT 7"}).exitCode, 0);
    QCOMPARE(runVuvactl(port + QStringList{"job-save", file}).out, "Job saved to " + file + '\n');
    QCOMPARE(runVuvactl(port + QStringList{"fragment-write", "2", "3", "LOT 8"}).exitCode, 0);
    const VuvactlRun diff = runVuvactl(port + QStringList{"job-diff", file});
    QCOMPARE(diff.exitCode, 1);
    QCOMPARE(diff.out, QString("cell 2,3: job text number 0 \"LOT 7\", printer text number 0 "
                               "\"LOT 8\"\npicture: the dots differ from column 24\n"));
    const VuvactlRun load = runVuvactl(port + QStringList{"job-load", file});
    QCOMPARE(load.out, QString("Job loaded and verified\n"));
    QCOMPARE(load.exitCode, 0);
}

void TestJobs::batchOnABaseJob_data()
{
    QTest::addColumn<bool>("sameFonts"); // the job was saved on a printer like this one
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QStringList>("printed");
    QTest::newRow("each record beside the job's text")
        << true << QString() << QStringList{"A LOT 7", "B LOT 7"};
    QTest::newRow("a job this printer cannot take: no record")
        << false << "The job was saved on a printer with 9 fonts; this one has 16" << QStringList();
}

// vuvactl batch --job: the job goes in, verified, before the first record.
void TestJobs::batchOnABaseJob()
{
    QFETCH(bool, sameFonts);
    QFETCH(QString, failure);
    QFETCH(QStringList, printed);
    qputenv("XDG_DATA_HOME", dir_.filePath("data").toLocal8Bit());
    const QString data = dir_.filePath(QString("records%1.csv").arg(sameFonts));
    QFile csv(data);
    QVERIFY(csv.open(QIODevice::WriteOnly) && csv.write("A\r\nB\r\n") > 0);
    csv.close();
    const QString file = dir_.filePath("base.json");
    vp::Device source, target;
    source.printer().fontCount = sameFonts ? target.printer().fontCount : 9;
    MemoryPort sourcePort(source);
    QString out;
    QVERIFY(TextFragmentWrite(sourcePort, 1, 2, "LOT 7"));
    QCOMPARE(runIn(sourcePort, {"job-save", file}, out).kind, Outcome::Kind::Ok);
    ClockedMemoryPort port(target);
    QVERIFY(StartCommand(port));
    const Outcome outcome =
        runIn(port, {"batch", data, "--cell", "1,1", "--trigger", "--job", file}, out = {});
    QCOMPARE(outcome.text, failure);
    QStringList texts;
    for (const vp::PrintedMark &p : target.takePrinted())
        texts << QString::fromLatin1(p.texts.join(' '));
    QCOMPARE(texts, printed);
}

QTEST_GUILESS_MAIN(TestJobs)
#include "tst_jobs.moc"
