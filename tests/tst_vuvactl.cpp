// vuvactl: its argument binding and actions in-process, and build/bin/vuvactl as a shell sees it,
// against the virtual printer on a pseudo-terminal.

#include "app/vuvactl_commands.h"
#include "app/vuvactl_options.h"
#include "graphics/model/logo_store.h"
#include "support/memory_port.h"
#include "support/pty_thread.h"
#include "support/pty_vprinter.h"
#include "support/table_rows.h"
#include "support/vuvactl_run.h"
#include "support/wire_bytes.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using vuvactl::Outcome;

namespace
{

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

// Runs a command in-process on the port; its outcome, with what it printed.
Outcome runIn(vlink::Port &port, bool depot, const QStringList &line, QString *printed = nullptr)
{
    QString problem;
    const vuvactl::Commands commands = vuvactl::allCommands();
    const vuvactl::Command *command = vuvactl::findCommand(commands, line[0]);
    const vuvactl::Action action = command->bind(line.mid(1), problem);
    if (!action || !(problem = command->problemUnder(depot, line.mid(1))).isEmpty())
        return vuvactl::usageError(problem);
    QString out;
    QTextStream stream(&out);
    vlink::Connection connection;
    vuvactl::Context context{port, depot, stream, connection};
    const Outcome outcome = action(context);
    stream.flush();
    if (printed)
        *printed = out;
    return outcome;
}

// socat as a child; start() returns what its log (-d -d) captures for notice, empty if nothing.
struct Socat : QProcess {
    ~Socat() override
    {
        kill();
        waitForFinished();
    }
    QString start(const QStringList &addresses, const QString &notice)
    {
        setReadChannel(QProcess::StandardError);
        QProcess::start("socat", QStringList{"-d", "-d"} + addresses);
        const QRegularExpression pattern(notice);
        QDeadlineTimer deadline(5000);
        while (waitForReadyRead(int(deadline.remainingTime())) || canReadLine())
            while (canReadLine())
                if (const auto m = pattern.match(QString::fromLocal8Bit(readLine())); m.hasMatch())
                    return m.captured(1);
        return {};
    }
};

} // namespace

class TestVuvactl : public QObject
{
    Q_OBJECT

private slots:
    void commandLine_data();
    void commandLine();
    void usageErrorsNeverReachTheLine();
    void actionsPrintDeviceTextEscaped();
    void exitCodesAndLastErrorLine();
    void hydroSetHeldToTheDialogsRanges_data();
    void hydroSetHeldToTheDialogsRanges();
    void commandsHeldToTheDialogsChecks_data();
    void commandsHeldToTheDialogsChecks();
    void logosFileToFile();
    void discoverConnectsOnce();
    void storeSavedAndLoadedBackWhole();
    void clockSyncSetsTimeThenDate();
    void picturesOfTheMark();
    void vuvactlThroughSocat();
    void settingsSetOnlyPortKeys_data();
    void settingsSetOnlyPortKeys();
};

void TestVuvactl::commandLine_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("problem");
    QTest::addColumn<QString>("parsed"); // port|speed index|depot|command|its arguments
    QTest::newRow("all options") << QStringList{"--depot", "--port", "/dev/x",
                                                "--speed", "9600",   "logo-names"}
                                 << ""
                                 << "/dev/x|3|1|logo-names|";
    QTest::newRow("after the command, options are its arguments")
        << QStringList{"--port=/dev/x", "fragment-write", "1", "--depot", "--help"} << ""
        << "/dev/x|-1|0|fragment-write|1 --depot --help";
    QTest::newRow("unknown option") << QStringList{"--bogus", "start"} << "Unknown option 'bogus'."
                                    << "";
    QTest::newRow("no value") << QStringList{"--port"} << "Missing value after '--port'."
                              << "";
    QTest::newRow("empty port") << QStringList{"--port", "", "start"} << "--port needs a value"
                                << "";
    QTest::newRow("speed off the table")
        << QStringList{"--port", "/dev/x", "--speed", "115200", "start"}
        << "--speed must be 9600, 19200, 38400 or 57600"
        << "";
    QTest::newRow("speed without port")
        << QStringList{"--speed", "9600", "start"}
        << "--speed needs --port: discovery detects the speed itself"
        << "";
}

void TestVuvactl::commandLine()
{
    QFETCH(QStringList, args);
    QFETCH(QString, problem);
    QFETCH(QString, parsed);
    vuvactl::Options o;
    QCOMPARE(vuvactl::parseOptions(QStringList{"vuvactl"} + args, o), problem);
    if (problem.isEmpty())
        QCOMPARE(QStringList({o.port, QString::number(o.speedIndex.value_or(-1)),
                              QString::number(o.depot), o.command, o.args.join(u' ')})
                     .join(u'|'),
                 parsed);
}

void TestVuvactl::usageErrorsNeverReachTheLine()
{
    const vuvactl::Commands commands = vuvactl::allCommands();
    QVERIFY(!vuvactl::findCommand(commands, "bogus"));
    const struct {
        const char *name;
        QStringList args;
    } rows[] = {
        {"params-read", {"A"}},
        {"autorun-period", {"12a"}},
        {"fragment-read", {"5", "1"}},
        {"post-date", {"1", "1", "10000", "dd"}},
        {"mark-load", {"256", "1", "1"}},
        {"bank", {"16"}},
        {"max-bank", {"256"}},
    };
    forEachRow(rows, [&](const auto &row) {
        const vuvactl::Command *command = vuvactl::findCommand(commands, row.name);
        QVERIFY(command);
        QString problem;
        QVERIFY2(!command->bind(row.args, problem), qPrintable(row.args.join(u' ')));
        QVERIFY(!problem.isEmpty());
    });
}

// One printer, one mark: what one command writes, the next reads back. What a command prints, and
// the text of a refusal or failure.
void TestVuvactl::actionsPrintDeviceTextEscaped()
{
    const struct {
        const char *name;
        QStringList args;
        QString out;
        Outcome::Kind kind = Outcome::Kind::Ok;
        bool depot = false;
    } rows[] = {
        {"autorun-period", {"255"}, ""},
        {"fragment-write", {"1", "1", "Партия №7"}, ""},
        {"fragment-read", {"1", "1"}, "kind=255 number=0 text=Партия №7\n"},
        {"fragment-write", {"3", "1", "\x1b[2J\a"}, ""},
        {"fragment-read", {"3", "1"}, "kind=255 number=0 text=\\x1B[2J\\x07\n"},
        {"script-read", {}, "Q24N00001\\x1B[mE00000000S0000P0000\n"},
        {"hydro-set", {"pressure", "151"}, ""},
        {"hydro-power", {}, ""},
        {"logo-rename", {"0", "X"}, "renames printer logos only", Outcome::Kind::Usage, true},
        {"fragment-read", {"1", "1"}, "TextFragmentRead Error", Outcome::Kind::Failed, true},
        // The printer's own texts for a failed step name the other direction.
        {"params-step", {"H", "up"}, "ParamsDecrease Error", Outcome::Kind::Failed},
        {"params-step", {"H", "down"}, "ParamsIcrease Error", Outcome::Kind::Failed},
    };
    vp::Device device;
    // No command writes this: the special-function dialog's checks refuse it.
    device.mark().script = "Q24N00001\x1b[mE00000000S0000P0000";
    MemoryPort port(device);
    forEachRow(rows, [&](const auto &row) {
        if (row.kind == Outcome::Kind::Failed)
            device.faults().silent = true;
        QString out;
        const Outcome outcome = runIn(port, row.depot, QStringList{row.name} + row.args, &out);
        QCOMPARE(outcome.kind, row.kind);
        QCOMPARE(out + outcome.text, row.out);
    });
    QCOMPARE(device.printer().autoRunPeriod, QByteArray("255"));
    QCOMPARE(device.hydro().value(0x2F), quint8(75));
    QVERIFY(device.hydro().power && !device.hydro().channelOpen);
}

void TestVuvactl::exitCodesAndLastErrorLine()
{
    const struct {
        const char *name;
        QString printer, args; // split at blanks
        int exitCode;
        QString out, lastErr;
    } rows[] = {
        {"machine", "", "--speed 57600 params-read C", 0, "10\n", ""},
        {"silent printer", "--silent", "--speed 57600 start", 1, "", "Start Command Error"},
        {"nothing answers the probe", "--silent", "status-byte", 1, "", "Device not found"},
        {"mark, echo lost", "--drop-echo-at 3", "--speed 57600 fragment-write 1 1 abc", 1, "",
         "TextFragmentWrite Error"},
        {"every echo garbled at random", "--wrong-echo-rate 1 --echo-seed 9", "--speed 57600 start",
         1, "", "Start Command Error"},
        {"unknown command", "", "bogus", 2, "", "Try 'vuvactl --help'."},
    };
    forEachRow(rows, [](const auto &row) {
        VPrinterProcess vprinter;
        const QString device = vprinter.start(row.printer.split(u' ', Qt::SkipEmptyParts));
        const VuvactlRun run = runVuvactl(QStringList{"--port", device} + row.args.split(u' '));
        QCOMPARE(run.exitCode, row.exitCode);
        QCOMPARE(run.out, row.out);
        QCOMPARE(run.lastErr, row.lastErr);
    });
}

void TestVuvactl::hydroSetHeldToTheDialogsRanges_data()
{
    QTest::addColumn<QString>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("firstErr");
    QTest::addColumn<QByteArray>("wire"); // in hex: open, channel, value, close
    const QByteArray none;
    QTest::newRow("pressure sent halved")
        << "pressure 151" << 0 << "" << QByteArray("070a122a432f122a564b122a5530");
    QTest::newRow("channel number")
        << "47 200" << 0 << "" << QByteArray("070a122a432f122a5664122a5530");
    QTest::newRow("bias 0 as the byte 0")
        << "0x2A 0" << 0 << "" << QByteArray("070a122a432a122a5600122a5530");
    QTest::newRow("threshold") << "threshold 60" << 0 << ""
                               << QByteArray("070a122a432b122a563c122a5530");
    QTest::newRow("pressure over") << "47 255" << 2 << "Max value=200" << none;
    QTest::newRow("pressure under") << "pressure 79" << 2 << "Min value=80" << none;
    QTest::newRow("threshold over") << "threshold 61" << 2 << "Max value=60" << none;
    QTest::newRow("bias signed") << "bias -1" << 2 << "Min value=0" << none;
    QTest::newRow("not a number") << "bias 1e1" << 2 << "Value Convert Error" << none;
    QTest::newRow("no such channel") << "200 255" << 2
                                     << "\"200\" is not one of bias|threshold|pressure (or its "
                                        "channel 42, 43, 47)"
                                     << none;
    QTest::newRow("a menu channel") << "0x28 85" << 2
                                    << "\"0x28\" is not one of bias|threshold|pressure (or its "
                                       "channel 42, 43, 47)"
                                    << none;
}

// A line's script is held to what an operator may enter: nothing refused touches the line.
void TestVuvactl::hydroSetHeldToTheDialogsRanges()
{
    QFETCH(QString, args);
    QFETCH(int, exitCode);
    QFETCH(QString, firstErr);
    QFETCH(QByteArray, wire);
    PtyThread printer({.pace = true});
    const QString device = printer.start();
    const VuvactlRun run = runVuvactl(
        QStringList{"--port", device, "--speed", "57600", "hydro-set"} + args.split(u' '));
    printer.stop();
    QCOMPARE(run.exitCode, exitCode);
    if (!firstErr.isEmpty())
        QCOMPARE(run.errLines.value(0), "vuvactl: hydro-set: " + firstErr);
    QCOMPARE(printer.device().received().toHex(), wire);
}

void TestVuvactl::commandsHeldToTheDialogsChecks_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("err");     // the first line on stderr, after "vuvactl: "
    QTest::addColumn<QByteArray>("wire"); // in hex; none for a refusal
    const QByteArray none;
    const QString text37 = QString(37, u'x');
    const auto row = [](const char *name, const QStringList &args, const QString &err,
                        const QByteArray &wire) {
        const QString command = args.filter(QRegularExpression("^[a-z]+-")).value(0);
        QTest::newRow(name) << args << (err.isEmpty() ? err : command + ": " + err) << wire;
    };
    row("font past the dialog's arrows", {"font-set", "10", "1", "1"},
        "FONT must be a whole number 0..9", none);
    row("empty counter", {"counter-set", "1", "1", ""}, "Counter Initial Value must not be empty",
        none);
    row("counter off the code page", {"counter-set", "1", "1", "1\u2603"},
        "Counter Initial Value holds a character the code page lacks", none);
    row("empty time format", {"time-format", "1", "1", ""}, "DateTimeFormat must not be empty",
        none);
    row("signed post days", {"post-date", "1", "1", "+5", "DD"},
        "Post Day Quantaty [XXXX] must be 1 to 4 digits", none);
    row("empty post format", {"post-date", "1", "1", "5", ""}, "Date Format must not be empty",
        none);
    row("signed counter", {"spec-func-write", "", "-5", "", "", "", "24"},
        "Counter Initial Value must have no sign", none);
    row("long step", {"spec-func-write", "", "1", "", "12345", "", "24"},
        "Counter Step must be at most 4 digits", none);
    row("column 9", {"spec-func-write", "", "1", "", "", "", "19"},
        "FragmentNumber must be a row 1..4 and a column 1..8", none);
    row("counter without a cell", {"spec-func-write", "", "1", "", "", "", ""},
        "FragmentNumber must be >11 ", none);
    row("group of 9", {"spec-func-write", "9", "", "", "", "", ""},
        "Printed Mark Quantaty must be 0..8", none);
    row("period 256", {"autorun-period", "256"}, "Period Value (0-255)", none);
    row("period of four digits", {"autorun-period", "0255"}, "Period Value (0-255)", none);
    row("fragment typed too long", {"fragment-write", "1", "1", text37 + "  "},
        "Fragment text length <=37 symbols", none);
    row("fragment too long", {"fragment-write", "1", "1", text37 + "x"},
        "Maximum Fragment Length=37", none);
    row("printer logo 256", {"logo-read", "256", "x.bmp"}, "Maximum Fragment №=255", none);
    row("Depot logo 250", {"--depot", "logo-delete", "250"}, "Maximum Fragment №=249", none);
    row("period, blanks taken out", {"--speed", "57600", "autorun-period", " 2 5"}, "",
        "0c413032350d");
    row("nine zeros are a zero",
        {"--speed", "57600", "spec-func-write", "", "000000000", "7", "", "", "24"}, "",
        "0151495132344e3030303030303030453030303030303037533030303050303030300d");
}

// What a dialog refuses, its command refuses too, with the dialog's text and before any byte.
void TestVuvactl::commandsHeldToTheDialogsChecks()
{
    QFETCH(QStringList, args);
    QFETCH(QString, err);
    QFETCH(QByteArray, wire);
    PtyThread printer({.pace = true});
    const QString device = printer.start();
    // A refusal has no --speed: a probe of the line's speed would show on the wire too.
    const VuvactlRun run = runVuvactl(QStringList{"--port", device} + args);
    printer.stop();
    QCOMPARE(run.exitCode, err.isEmpty() ? 0 : 2);
    QCOMPARE(run.errLines.value(0), err.isEmpty() ? err : "vuvactl: " + err);
    QCOMPARE(printer.device().received().toHex(), wire);
}

// The bitmap conversion itself is checked where it lives; here the files, the name filter and the
// failure text of a file refused.
void TestVuvactl::logosFileToFile()
{
    QTemporaryDir dir;
    QImage image(40, 10, QImage::Format_Mono);
    image.fill(0);
    QVERIFY(image.save(dir.filePath("logo.bmp")));
    QVERIFY(QImage(8, 8, QImage::Format_RGB888).save(dir.filePath("colour.bmp")));
    for (const QString kind : {"printer", "depot"}) {
        VPrinterProcess vprinter;
        QStringList port{"--port", vprinter.start({"--kind", kind})};
        if (kind == "depot")
            port << "--depot";
        QCOMPARE(runVuvactl(port + QStringList{"logo-write", "249", dir.filePath("logo.bmp"),
                                               "Pat-1 tern"})
                     .exitCode,
                 0);
        // The first eight characters of the name, less the space and the hyphen.
        const QString read = dir.filePath(kind + ".bmp");
        QCOMPARE(runVuvactl(port + QStringList{"logo-read", "249", read}).out, QString("Pat1te\n"));
        QCOMPARE(QImage(read).size(), QSize(40, 16));
        QCOMPARE(runVuvactl(port + QStringList{"logo-names"}).out, QString("249 Pat1te\n"));
        const VuvactlRun refused =
            runVuvactl(port + QStringList{"logo-write", "1", dir.filePath("colour.bmp")});
        QCOMPARE(refused.exitCode, 1);
        QCOMPARE(refused.lastErr, QString("Image is not monochrome..."));
    }
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
    forEachRow(rows, [](const auto &row) {
        PtyThread printer({.kind = row.kind, .pace = true});
        const QString device = printer.start();
        QTemporaryDir dir;
        const VuvactlRun run =
            row.viaSettings
                ? runVuvactl({"discover"},
                             besideSettings(dir, "ComInteger=0\nDevice1=" + device.toLocal8Bit()))
                : runVuvactl({"--port", device, "discover"});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QString("port=%1 speed=57600 kind=%2\n").arg(device).arg(row.shownKind));
        printer.stop();
        QCOMPARE(printer.device().received().toHex(), QByteArray(row.wire).replace(' ', ""));
    });
}

// A replaced device gets every logo back from the folder, byte for byte: blank margins, a name
// a file cannot hold and no name at all included. A write refused stops the load at that logo.
void TestVuvactl::storeSavedAndLoadedBackWhole()
{
    for (const bool depot : {false, true}) {
        const vgfx::LogoStore store = depot ? vgfx::LogoStore::Depot : vgfx::LogoStore::Printer;
        vp::Device old(vp::Kind::ViaDepot);
        MemoryPort oldPort(old);
        vlink::LogoBuffer logo;
        logo.at(0, 0) = 0x01;
        for (const auto &[number, width, height, name] :
             {std::tuple{3, 5, 2, "a/b"}, {17, 1, 1, ""}, {200, 2, 4, "Знак"}}) {
            logo.width = width;
            logo.height = height;
            QVERIFY(vgfx::writeComposedLogo(
                oldPort, store, number, logo,
                vuvactl::stationCodePage().encode(QString::fromUtf8(name))));
        }
        QTemporaryDir dir;
        QString out;
        QCOMPARE(runIn(oldPort, depot, {"store-save", dir.path()}, &out).kind, Outcome::Kind::Ok);
        QCOMPARE(out, QString("3 a/b\n17 \n200 Знак\n3 logos saved\n"));
        QVERIFY(QFile::exists(dir.filePath("3_logo3.bmp")) &&
                QFile::exists(dir.filePath("17_logo17.bmp")));
        // A second save never writes over the first.
        QCOMPARE(runIn(oldPort, depot, {"store-save", dir.path()}).kind, Outcome::Kind::Failed);

        vp::Device fresh(vp::Kind::ViaDepot);
        MemoryPort freshPort(fresh);
        QCOMPARE(runIn(freshPort, depot, {"store-load", dir.path()}, &out).kind, Outcome::Kind::Ok);
        QCOMPARE(out, QString("3 a/b\n17 \n200 Знак\n3 logos written\n"));
        if (depot)
            QVERIFY(fresh.logos().depot[0] == old.logos().depot[0]);
        else
            QVERIFY(fresh.logos().printer == old.logos().printer);

        vp::Device refusing(vp::Kind::ViaDepot);
        MemoryPort refusingPort(refusing);
        refusing.faults().logoWriteReply = 0x00;
        const Outcome refused = runIn(refusingPort, depot, {"store-load", dir.path()}, &out);
        QCOMPARE(refused.kind, Outcome::Kind::Failed);
        QCOMPARE(refused.text, dir.filePath("3_logo3.bmp") + ": Logo Load Error");
        QCOMPARE(out, QString());
    }
    // A copy keeps the name; a read that fails is named by its store.
    vp::Device device(vp::Kind::ViaDepot);
    MemoryPort port(device);
    vlink::LogoBuffer nine;
    nine.at(0, 0) = 0x80;
    nine.width = nine.height = 1;
    QVERIFY(vgfx::writeComposedLogo(port, vgfx::LogoStore::Depot, 9, nine, "NINE"));
    QCOMPARE(runIn(port, false, {"logo-copy", "depot", "printer", "9", "255"}).kind,
             Outcome::Kind::Ok);
    QCOMPARE(device.logos().printer[255], device.logos().depot[0][9]);
    QCOMPARE(runIn(port, false, {"logo-copy", "printer", "depot", "1", "250"}).kind,
             Outcome::Kind::Usage);
    device.faults().silent = true;
    QCOMPARE(runIn(port, false, {"logo-copy", "depot", "printer", "9", "1"}).text,
             QString("DPLogo Read Error"));
}

// A printer a week off is set to this computer's clock, time first, and read back.
void TestVuvactl::clockSyncSetsTimeThenDate()
{
    vp::Device device;
    MemoryPort port(device);
    device.printer().clockOffsetMs = -7 * 24 * 3600 * 1000LL;
    QString out;
    QCOMPARE(runIn(port, false, {"clock-sync"}, &out).kind, Outcome::Kind::Ok);
    const QDateTime shown =
        QDateTime::fromString(out.trimmed(), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    QVERIFY2(qAbs(shown.secsTo(QDateTime::currentDateTime())) <= 2, qPrintable(out));
    const QByteArray wire = device.received();
    QCOMPARE(wire.left(2) + wire.mid(9, 2) + wire.mid(18), bytes({0x1A, 0x54, 0x1A, 0x44, 0x08}));
}

// mark-image: the picture one pixel per dot, and a clear mark.
void TestVuvactl::picturesOfTheMark()
{
    QTemporaryDir dir;
    VPrinterProcess vprinter;
    const QStringList port{"--port", vprinter.start(), "--speed", "57600"};
    const QString png = dir.filePath("mark.png");
    const QString bmp = dir.filePath("mark.BMP");
    const VuvactlRun clear = runVuvactl(port + QStringList{"mark-image", png});
    QCOMPARE(clear.exitCode, 0);
    QCOMPARE(clear.out, QString("Mark is Clear\n"));
    QVERIFY(!QFile::exists(png));

    QCOMPARE(runVuvactl(port + QStringList{"fragment-write", "1", "1", "IH"}).exitCode, 0);
    QCOMPARE(runVuvactl(port + QStringList{"mark-image", png}).out, QString("1*11\n"));
    QCOMPARE(runVuvactl(port + QStringList{"mark-image", bmp}).exitCode, 0);
    const QImage fromPng(png);
    const QImage fromBmp(bmp);
    QCOMPARE(fromBmp.depth(), 1);
    QCOMPARE(fromPng.size(), QSize(11, 8));
    QCOMPARE(fromPng.convertToFormat(QImage::Format_RGB32),
             fromBmp.convertToFormat(QImage::Format_RGB32));
    // The "I" stands on the bottom, 7 dots high; the gap before the "H" is blank.
    for (int y = 0; y < 8; ++y) {
        QCOMPARE(qGray(fromPng.pixel(2, y)) < 128, y > 0);
        QVERIFY(qGray(fromPng.pixel(5, y)) >= 128);
    }
}

// A printer behind a raw-TCP serial server, over loopback: one socat plays the server, which holds
// the printer's line at its fixed speed, the other makes the pseudo-terminal the station opens.
void TestVuvactl::vuvactlThroughSocat()
{
    QTemporaryDir dir;
    VPrinterProcess vprinter;
    const QString printerLine = vprinter.start();
    QVERIFY2(!printerLine.isEmpty(), qPrintable(vprinter.errorText()));
    Socat server, client;
    const QString tcpPort = server.start(
        {"TCP-LISTEN:0,bind=127.0.0.1,reuseaddr", "OPEN:" + printerLine + ",rawer,b57600"},
        "listening on AF=2 127\\.0\\.0\\.1:(\\d+)");
    QVERIFY(!tcpPort.isEmpty());
    const QString line = dir.filePath("printer1");
    QVERIFY(!client
                 .start({"PTY,link=" + line + ",rawer", "TCP:127.0.0.1:" + tcpPort},
                        "(starting data transfer loop)")
                 .isEmpty());

    QImage logo(40, 10, QImage::Format_Mono);
    logo.fill(0);
    QVERIFY(logo.save(dir.filePath("logo.bmp")));
    const struct {
        const char *name;
        QStringList args;
        QString out;
    } rows[] = {
        {"discovery",
         {"--port", line, "discover"},
         QString("port=%1 speed=57600 kind=3\n").arg(line)},
        {"a record each byte echoed, out",
         {"--port", line, "logo-write", "7", dir.filePath("logo.bmp"), "Net"},
         ""},
        {"and back", {"--port", line, "logo-read", "7", dir.filePath("back.bmp")}, "Net\n"},
        // The server's port keeps its own speed: what the station sets stays on its side.
        {"local speed does not travel",
         {"--port", line, "--speed", "9600", "params-read", "C"},
         "10\n"},
    };
    forEachRow(rows, [&](const auto &row) {
        const VuvactlRun run = runVuvactl(row.args);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, row.out);
    });

    QVERIFY(vprinter.terminate());
}

QTEST_GUILESS_MAIN(TestVuvactl)
#include "tst_vuvactl.moc"

void TestVuvactl::settingsSetOnlyPortKeys_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("portParams"); // the section's first two lines afterwards
    QTest::newRow("device replaced") << QStringList{"Device1", "/tmp/vp.tty"} << 0
                                     << QByteArray("CodePage=866\nDevice1=/tmp/vp.tty\n");
    QTest::newRow("remembered port")
        << QStringList{"ComInteger", "3"} << 0 << QByteArray("CodePage=866\nDevice1=/dev/old\n");
    QTest::newRow("no port key") << QStringList{"CodePage", "1251"} << 2
                                 << QByteArray("CodePage=866\nDevice1=/dev/old\n");
    QTest::newRow("control character") << QStringList{"Device2", "/dev/a\nx"} << 2
                                       << QByteArray("CodePage=866\nDevice1=/dev/old\n");
    QTest::newRow("one value missing")
        << QStringList{"Device2"} << 2 << QByteArray("CodePage=866\nDevice1=/dev/old\n");
}

// ./run maps COM1 with it: the station's own settings code, every other line kept.
void TestVuvactl::settingsSetOnlyPortKeys()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, portParams);
    QTemporaryDir dir;
    const QString program = besideSettings(dir, "CodePage=866\nDevice1=/dev/old");
    QVERIFY(!program.isEmpty());
    const VuvactlRun run = runVuvactl(QStringList{"settings-set"} + args, program);
    QCOMPARE(run.exitCode, exitCode);
    QFile file(dir.filePath("vuvazuvevov.dev"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    QVERIFY2(text.startsWith("[PortParams]\n" + portParams), text.constData());
    QCOMPARE(text.contains("ComInteger=3"), args.value(0) == "ComInteger");
    QVERIFY(text.contains("Device6=/dev/vuva-absent"));
}
