// build/bin/vuvactl as a shell sees it, against the virtual printer on a pseudo-terminal.

#include "support/pty_thread.h"
#include "support/pty_vprinter.h"
#include "support/vuvactl_run.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace
{

using Run = VuvactlRun;

// "@" stands for the printer's device file.
QStringList withDevice(QStringList args, const QString &device)
{
    for (QString &a : args)
        if (a == QLatin1String("@"))
            a = device;
    return args;
}

// A copy of vuvactl beside a settings file with these "PortParams" lines; empty on failure. The
// ports the lines leave out map to no device, so no real port is probed.
QString besideSettings(const QTemporaryDir &dir, const QByteArray &portParams)
{
    const QString program = dir.filePath("vuvactl");
    QFile settings(dir.filePath("vuvazuvevov.dev"));
    QByteArray text = "[PortParams]\n" + portParams + '\n';
    for (int i = 1; i <= 6; ++i)
        if (!portParams.contains("Device" + QByteArray::number(i)))
            text += "Device" + QByteArray::number(i) + "=/dev/vuva-absent\n";
    if (!QFile::copy(VPrinterProcess::binary("vuvactl"), program) ||
        !settings.open(QIODevice::WriteOnly) || settings.write(text) != text.size())
        return {};
    return program;
}

} // namespace

class TestVuvactl : public QObject
{
    Q_OBJECT

private slots:
    void commands_data();
    void commands();
    void timeParamsPrintsTheBytes();
    void helpListsEveryCommand();
    void missingDevice();
    void discoveryThroughSettingsFile();
    void discoverConnectsOnce();
};

void TestVuvactl::commands_data()
{
    QTest::addColumn<QStringList>("printer");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("lastErr");

    const QStringList none;
    const QStringList at57600{"--port", "@", "--speed", "57600"};
    QTest::newRow("params-read") << none << at57600 + QStringList{"params-read", "C"} << 0 << "10\n"
                                 << "";
    QTest::newRow("params-read, letter in lower case")
        << none << at57600 + QStringList{"params-read", "z"} << 0 << "120\n"
        << "";
    QTest::newRow("params-step up prints the new value")
        << none << at57600 + QStringList{"params-step", "C", "up"} << 0 << "11\n"
        << "";
    QTest::newRow("params-step down")
        << none << at57600 + QStringList{"params-step", "D", "down"} << 0 << "19\n"
        << "";
    QTest::newRow("status-byte") << none << at57600 + QStringList{"status-byte"} << 0 << "0\n"
                                 << "";
    QTest::newRow("start, speed detected")
        << QStringList{"--speed", "19200"} << QStringList{"--port", "@", "start"} << 0 << ""
        << "";
    QTest::newRow("reset") << none << at57600 + QStringList{"reset"} << 0 << ""
                           << "";
    QTest::newRow("autorun-period")
        << none << at57600 + QStringList{"autorun-period", " 5"} << 0 << ""
        << "";
    // The dialog's range is not the command's: every digit goes out.
    QTest::newRow("autorun-period beyond 255")
        << none << at57600 + QStringList{"autorun-period", "1234"} << 0 << ""
        << "";

    // Usage errors never reach the line: exit 2.
    for (const QStringList &bad : QList<QStringList>{{"params-read"},
                                                     {"params-read", "A"},
                                                     {"params-step", "C", "sideways"},
                                                     {"rotate", "maybe"},
                                                     {"start", "now"},
                                                     {"autorun-period", "12a"},
                                                     {"autorun-period", "-1"},
                                                     {"time-set", "240000"},
                                                     {"date-set", "300223"},
                                                     {"bogus"},
                                                     {}}) {
        QTest::addRow("usage: %s", qPrintable(bad.join(u' '))) << none << at57600 + bad << 2 << ""
                                                               << "";
    }
    QTest::newRow("usage: bad speed")
        << none << QStringList{"--port", "@", "--speed", "4800", "start"} << 2 << ""
        << "";
    QTest::newRow("usage: unknown option") << none << QStringList{"--fast", "start"} << 2 << ""
                                           << "";

    // Failures: exit 1, the station's own text last on stderr.
    QTest::newRow("silent printer")
        << QStringList{"--silent"} << at57600 + QStringList{"start"} << 1 << ""
        << "Start Command Error";
    QTest::newRow("nothing answers the speed probe")
        << QStringList{"--silent"} << QStringList{"--port", "@", "status-byte"} << 1 << ""
        << "Device not found";
    // The parameter window pairs these texts crosswise; the tool keeps them as the station shows.
    QTest::newRow("params-step up at a wrong speed")
        << QStringList{"--speed", "9600"} << at57600 + QStringList{"params-step", "C", "up"} << 1
        << ""
        << "ParamsDecrease Error";
    QTest::newRow("params-step down at a wrong speed")
        << QStringList{"--speed", "9600"} << at57600 + QStringList{"params-step", "C", "down"} << 1
        << ""
        << "ParamsIcrease Error";
    QTest::newRow("wrong echo of the second byte")
        << QStringList{"--wrong-echo-at", "1"} << at57600 + QStringList{"mark-print", "back"} << 1
        << ""
        << "MarkPrintDirection Set Error";
    QTest::newRow("dropped echo, rotate off")
        << QStringList{"--drop-echo-at", "2"} << at57600 + QStringList{"rotate", "off"} << 1 << ""
        << "MarkRotateOn Set Error";
    QTest::newRow("autorun-period") << QStringList{"--drop-echo-at", "3"}
                                    << at57600 + QStringList{"autorun-period", "42"} << 1 << ""
                                    << "Error";
    QTest::newRow("params-read value missing")
        << QStringList{"--kind", "depot"} << at57600 + QStringList{"params-read", "S"} << 1 << ""
        << "ParamsRead Error";
    QTest::newRow("time-params") << QStringList{"--kind", "none"}
                                 << at57600 + QStringList{"time-params"} << 1 << ""
                                 << "TimeParamsRead Error";
}

void TestVuvactl::commands()
{
    QFETCH(QStringList, printer);
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, lastErr);
    VPrinterProcess vprinter;
    const QString device = vprinter.start(printer);
    QVERIFY2(!device.isEmpty(), qPrintable(vprinter.errorText()));
    if (printer.startsWith("--speed") && exitCode == 1)
        vprinter.expectProtocolErrors(1); // the tool's first byte, garbled at its own speed

    const Run run = runVuvactl(withDevice(args, device));
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(run.out, out);
    if (exitCode == 0)
        QVERIFY2(run.errLines.isEmpty(), qPrintable(run.errLines.join(u'\n')));
    else if (exitCode == 1)
        QCOMPARE(run.errLines.value(run.errLines.size() - 1), lastErr);
    else
        QVERIFY(run.errLines.value(0).startsWith("vuvactl: "));
}

void TestVuvactl::timeParamsPrintsTheBytes()
{
    VPrinterProcess vprinter;
    const QString device = vprinter.start();
    QVERIFY2(!device.isEmpty(), qPrintable(vprinter.errorText()));
    QVERIFY(runVuvactl({"--port", device, "rotate", "on"}).exitCode == 0);
    const Run run = runVuvactl({"--port", device, "time-params"});
    QCOMPARE(run.exitCode, 0);
    const QStringList bytes = run.out.chopped(1).split(u' ');
    // Decimal, single spaces, one line.
    QVERIFY2(QRegularExpression("^(\\d{1,3} ){13}\\d{1,3}\\n$").match(run.out).hasMatch(),
             qPrintable(run.out));
    QCOMPARE(bytes.value(0), QString("4"));   // the configuration byte: vertical mirroring
    QCOMPARE(bytes.value(11), QString("1"));  // "A x L=" 0x0123, high byte
    QCOMPARE(bytes.value(12), QString("35")); // low byte
    QCOMPARE(bytes.value(13), QString("16")); // the font count
}

void TestVuvactl::helpListsEveryCommand()
{
    const Run run = runVuvactl({"--help"});
    QCOMPARE(run.exitCode, 0);
    for (const char *line : {"  start ",
                             "  stop ",
                             "  print-start ",
                             "  high-voltage ",
                             "  reset ",
                             "  running-number-reset ",
                             "  autorun-stop ",
                             "  mark-delete ",
                             "  autorun-period TEXT ",
                             "  running-number forward|back ",
                             "  mark-print forward|back ",
                             "  break-point-corr on|off ",
                             "  rotate on|off ",
                             "  params-read LETTER ",
                             "  params-step LETTER up|down ",
                             "  status-byte ",
                             "  time-set HHMMSS ",
                             "  date-set DDMMYY ",
                             "  time-params ",
                             "  --port DEVICE ",
                             "  --speed BPS ",
                             "  --depot "})
        QVERIFY2(run.out.contains(QLatin1String(line)), line);
}

void TestVuvactl::missingDevice()
{
    const Run run = runVuvactl({"--port", "/dev/vuva-absent", "--speed", "57600", "start"});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.errLines.value(0), QString("open_com error"));
    QVERIFY(run.errLines.value(1).startsWith("/dev/vuva-absent: "));
}

// Without --port the station's discovery runs over the ports its settings file maps, the
// remembered port ("ComInteger") first.
void TestVuvactl::discoveryThroughSettingsFile()
{
    VPrinterProcess vprinter;
    const QString device = vprinter.start({"--speed", "38400"});
    QVERIFY2(!device.isEmpty(), qPrintable(vprinter.errorText()));
    QTemporaryDir dir;
    const QString program = besideSettings(dir, "ComInteger=2\nDevice1=/dev/vuva-absent\n"
                                                "Device3=" +
                                                    device.toLocal8Bit());
    QVERIFY(!program.isEmpty());
    const Run run = runVuvactl({"params-read", "H"}, program);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, QString("40\n"));
}

// discover takes the line as the station connects, once: the speed probe, the Depot's version,
// the printer probe, and for a printer the time parameters (behind a Depot also the U0 again).
void TestVuvactl::discoverConnectsOnce()
{
    const struct {
        const char *name;
        vp::Kind kind;
        bool viaSettings; // the start-up discovery over the settings file's ports, not --port
        const char *wire; // in hex; Depot U0 is 12235300 1223553012
        int shownKind;
    } rows[] = {
        {"printer", vp::Kind::Printer, false, "0d 12235630 07010073 08", 3},
        {"printer via Depot", vp::Kind::ViaDepot, false,
         "0d 12235630 07010173 12235300 1223553012 08 12235300 1223553012", 2},
        {"start-up discovery", vp::Kind::Printer, true, "0d 12235630 07010073 08", 3},
    };
    for (const auto &row : rows) {
        PtyThread printer({.kind = row.kind, .pace = true});
        const QString device = printer.start();
        QVERIFY2(!device.isEmpty(), qPrintable(printer.errorText()));
        QTemporaryDir dir;
        const Run run =
            row.viaSettings
                ? runVuvactl({"discover"},
                             besideSettings(dir, "ComInteger=0\nDevice1=" + device.toLocal8Bit()))
                : runVuvactl({"--port", device, "discover"});
        QVERIFY2(run.exitCode == 0, row.name);
        QCOMPARE(run.out, QString("port=%1 speed=57600 kind=%2\n").arg(device).arg(row.shownKind));
        printer.stop();
        QCOMPARE(printer.device().received().toHex(), QByteArray(row.wire).replace(' ', ""));
    }
}

QTEST_GUILESS_MAIN(TestVuvactl)
#include "tst_vuvactl.moc"
