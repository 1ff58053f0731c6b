// vuvactl's mark and fragment commands against the virtual printer on a pseudo-terminal.

#include "support/pty_vprinter.h"
#include "support/vuvactl_run.h"

#include <QTest>

namespace
{

using Run = VuvactlRun;

Run vuvactl(const QString &device, const QStringList &args)
{
    return runVuvactl(QStringList{"--port", device, "--speed", "57600"} + args);
}

} // namespace

class TestVuvactlMark : public QObject
{
    Q_OBJECT

private slots:
    void session();
    void usageErrors_data();
    void usageErrors();
    void failures_data();
    void failures();
};

// One printer, one mark: what one command writes, the next reads back.
void TestVuvactlMark::session()
{
    VPrinterProcess vprinter;
    const QString device = vprinter.start();
    QVERIFY2(!device.isEmpty(), qPrintable(vprinter.errorText()));
    const struct {
        QStringList args;
        QString out;
    } steps[] = {
        {{"fragment-write", "1", "1", "Партия №7"}, ""},
        {{"font-set", "3", "1", "1"}, ""},
        {{"fragment-read", "1", "1"}, "kind=255 number=3 text=Партия №7\n"},
        {{"running-number", "back"}, ""},
        {{"counter-set", "2", "3", "0100"}, ""},
        {{"fragment-read", "2", "3"}, "kind=5 number=0 text=0100\n"},
        {{"time-format", "1", "2", "hh:mm"}, ""},
        {{"fragment-read", "1", "2"}, "kind=0 number=0 text=hh:mm\n"},
        {{"post-date", "1", "3", "7", "dd.mm"}, ""},
        {{"fragment-read", "1", "3"}, "kind=2 number=0 text=dd.mm\n"},
        {{"post-date", "1", "3", "-1", "mm"}, ""},
        {{"spec-func-write", "3", "1", "99", "1", "1", "23"}, ""},
        {{"spec-func-read"}, "Q23N00000001E00000099S0001P0001G3\n"},
        {{"script-read"}, "Q23N00000001E00000099S0001P0001G3\n"},
        {{"fragment-read", "2", "3"}, "kind=7 number=0 text=0100\n"},
        {{"stored-mark", "2", "10"}, ""},
        {{"fragment-write", "1", "1", ""}, ""},
        {{"fragment-read", "1", "1"}, "kind=255 number=0 text=\n"},
        {{"stored-mark", "1", "10"}, ""},
        {{"fragment-read", "1", "1"}, "kind=255 number=3 text=Партия №7\n"},
        {{"mark-load", "12", "8", "4"}, ""},
        {{"fragment-read", "4", "8"}, "kind=255 number=16 text=\n"},
        // Device text reaches the terminal with its control characters escaped.
        {{"fragment-write", "3", "1", "\x1b[2J\a"}, ""},
        {{"fragment-read", "3", "1"}, "kind=255 number=0 text=\\x1B[2J\\x07\n"},
        {{"spec-func-write", "", "1\x1b[m", "", "", "", "24"}, ""},
        {{"script-read"}, "Q24N00001\\x1B[mE00000000S0000P0000\n"},
    };
    for (const auto &step : steps) {
        const Run run = vuvactl(device, step.args);
        QVERIFY2(run.exitCode == 0, qPrintable(step.args.join(u' ') + ": " + run.lastErr));
        QCOMPARE(run.out, step.out);
    }
    // The post date's days reach the time parameters' second and third bytes.
    const QStringList params = vuvactl(device, {"time-params"}).out.split(u' ');
    QCOMPARE(params.mid(1, 2), (QStringList{"7", "0"}));
}

void TestVuvactlMark::usageErrors_data()
{
    QTest::addColumn<QStringList>("args");
    for (const QStringList &bad : QList<QStringList>{
             {"fragment-read", "5", "1"},
             {"fragment-read", "1", "9"},
             {"fragment-read", "0", "1"},
             {"fragment-read", "1"},
             {"fragment-write", "1", "1"},
             {"font-set", "x", "1", "1"},
             {"counter-set", "1", "1"},
             {"post-date", "1", "1", "10000", "dd"},
             {"post-date", "1", "1", "-2", "dd"},
             {"spec-func-write", "x", "", "", "", "", ""},
             {"spec-func-write", "", "", "", "", ""},
             {"spec-func-read", "now"},
             {"stored-mark", "3", "1"},
             {"stored-mark", "0", "64"},
             {"mark-load", "256", "1", "1"},
             {"mark-load", "1", "9", "1"},
             {"mark-load", "1", "1", "5"},
         })
        QTest::addRow("%s", qPrintable(bad.join(u' '))) << bad;
}

// Refused before anything touches the line.
void TestVuvactlMark::usageErrors()
{
    QFETCH(QStringList, args);
    VPrinterProcess vprinter;
    const QString device = vprinter.start({"--silent"});
    QVERIFY2(!device.isEmpty(), qPrintable(vprinter.errorText()));
    const Run run = vuvactl(device, args);
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.out, QString());
}

void TestVuvactlMark::failures_data()
{
    QTest::addColumn<QStringList>("printer");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("lastErr");
    const QStringList noReply{"--kind", "none"};
    const QStringList lostEcho{"--drop-echo-at", "3"};
    QTest::newRow("fragment-read")
        << noReply << QStringList{"fragment-read", "1", "1"} << "TextFragmentRead Error";
    QTest::newRow("spec-func-read") << noReply << QStringList{"spec-func-read"} << "Read Error";
    QTest::newRow("script-read") << noReply << QStringList{"script-read"} << "ScriptRead Error";
    QTest::newRow("fragment-write")
        << lostEcho << QStringList{"fragment-write", "1", "1", "abc"} << "TextFragmentWrite Error";
    QTest::newRow("fragment delete")
        << lostEcho << QStringList{"fragment-write", "1", "1", ""} << "TextFragmentDeleteError";
    QTest::newRow("font-set") << lostEcho << QStringList{"font-set", "1", "1", "1"}
                              << "Font Set Error";
    QTest::newRow("counter-set") << lostEcho << QStringList{"counter-set", "1", "1", "9"}
                                 << "Counter Set Error";
    QTest::newRow("time-format") << lostEcho << QStringList{"time-format", "1", "1", "hh"}
                                 << "Time Format Set Error";
    QTest::newRow("post-date offset frame")
        << QStringList{"--drop-echo-at", "7"} << QStringList{"post-date", "1", "1", "5", "dd"}
        << "Post Date Set Error";
    QTest::newRow("spec-func-write")
        << lostEcho << QStringList{"spec-func-write", "1", "", "", "", "", ""} << "Write Error";
    QTest::newRow("stored-mark") << lostEcho << QStringList{"stored-mark", "0", "1"} << "Error";
    QTest::newRow("mark-load") << lostEcho << QStringList{"mark-load", "1", "1", "1"}
                               << "Mark Load Error";
}

// Exit 1 with the station's own text last on stderr. The speed is set, so byte 0 is the
// command's first.
void TestVuvactlMark::failures()
{
    QFETCH(QStringList, printer);
    QFETCH(QStringList, args);
    QFETCH(QString, lastErr);
    VPrinterProcess vprinter;
    const QString device = vprinter.start(printer);
    QVERIFY2(!device.isEmpty(), qPrintable(vprinter.errorText()));
    const Run run = vuvactl(device, args);
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.lastErr, lastErr);
}

QTEST_GUILESS_MAIN(TestVuvactlMark)
#include "tst_vuvactl_mark.moc"
