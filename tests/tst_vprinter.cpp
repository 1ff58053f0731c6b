// The virtual printer as a protocol checker: what it counts against the station.

#include "support/pty_thread.h"
#include "support/wire_bytes.h"
#include "vprinter/command_line.h"

#include <QFile>
#include <QTest>
#include <fcntl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

class TestVprinter : public QObject
{
    Q_OBJECT

private slots:
    void commandLine_data();
    void commandLine();
    void protocolErrors();
    void pacedByteTakesTheSettingsItEndsIn();
    void randomEchoFaultsFollowTheSeed();
};

void TestVprinter::commandLine_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("error");
    // kind|printers|speed|drop-echo-at|wrong-echo-rate|names fault|pace|silent|link
    QTest::addColumn<QString>("parsed");
    QTest::newRow("defaults") << QStringList{} << ""
                              << "0|1|57600|-1|0|0|0|0|";
    QTest::newRow("every kind of value") << QStringList{"--kind",
                                                        "via-depot",
                                                        "--printers",
                                                        "3",
                                                        "--speed",
                                                        "9600",
                                                        "--drop-echo-at",
                                                        "7",
                                                        "--wrong-echo-rate",
                                                        "0.5",
                                                        "--names-fault",
                                                        "truncated",
                                                        "--pace",
                                                        "--silent",
                                                        "--link",
                                                        "/tmp/p"}
                                         << ""
                                         << "1|3|9600|7|0.5|2|1|1|/tmp/p";
    QTest::newRow("speed no line has")
        << QStringList{"--speed", "1000"} << "--speed: bad value \"1000\""
        << "";
    QTest::newRow("seventh printer")
        << QStringList{"--printers", "7"} << "--printers: bad value \"7\""
        << "";
    QTest::newRow("chance above one")
        << QStringList{"--drop-echo-rate", "1.5"} << "--drop-echo-rate: bad value \"1.5\""
        << "";
    QTest::newRow("negative byte")
        << QStringList{"--wrong-echo-at", "-1"} << "--wrong-echo-at: bad value \"-1\""
        << "";
    QTest::newRow("unknown kind") << QStringList{"--kind", "laser"} << "--kind: bad value \"laser\""
                                  << "";
    QTest::newRow("empty link") << QStringList{"--link", ""} << "--link: bad value \"\""
                                << "";
    QTest::newRow("no value") << QStringList{"--echo-seed"} << "Missing value after '--echo-seed'."
                              << "";
    QTest::newRow("a bare word") << QStringList{"printer"} << "unknown argument \"printer\""
                                 << "";
}

void TestVprinter::commandLine()
{
    QFETCH(QStringList, args);
    QFETCH(QString, error);
    QFETCH(QString, parsed);
    vp::FrontendOptions o;
    QString problem;
    const vp::Parsed result = vp::parseCommandLine(QStringList{"vprinter"} + args, o, problem);
    QCOMPARE(problem, error);
    QCOMPARE(result, error.isEmpty() ? vp::Parsed::Run : vp::Parsed::Bad);
    if (error.isEmpty())
        QCOMPARE(QStringList({QString::number(int(o.kind)), QString::number(o.printers),
                              QString::number(o.speed), QString::number(o.faults.dropEchoAt),
                              QString::number(o.faults.wrongEchoRate),
                              QString::number(int(o.faults.names)), QString::number(o.pace),
                              QString::number(o.faults.silent), o.linkPath})
                     .join(u'|'),
                 parsed);
}

void TestVprinter::protocolErrors()
{
    // The station's side of an exchange with a printer at 57600 bit/s whose script is "AB";
    // the byte at garbled goes at 38400 bit/s (or, with eightN1 false, at 7E1).
    const struct {
        const char *name;
        QByteArray sent;
        int errors;
        qint64 at = -1;    // where the first error shows
        QString what = {}; // how its text starts
        int garbled = -1;
        bool eightN1 = true;
    } rows[] = {
        {"parameter read, no bare 0x12", bytes({0x0C, 0x43, 0x05}), 1, 3, "no bare 0x12"},
        {"status read, next command instead of 0x12", bytes({0x0C, 0x09, 0x17}), 1, 2,
         "bare 0x12 after the status byte 0x12 expected, 0x17 came"},
        {"special-function read, plain reads", bytes({0x01, 0x05}), 0},
        {"script read, last echo missing", bytes({0x01, 0x05, 0x02, 0x41}), 1, 4,
         "no echo of a script byte"},
        {"logo read, no closing \"s\"", bytes({0x07, 0x01, 0x00}), 1, 3, "no closing \"s\""},
        {"logo write, no echo of its \"s\"", bytes({0x07, 0x89, 0x05, 1, 1}) + ff(510), 1, 515,
         "no echo of the write's answer"},
        {"speed probe at another speed", bytes({0x0D}), 0, -1, {}, 0},
        {"last byte at another speed", bytes({0x0C, 0x43, 0x05, 0x12}), 1, 3,
         "0x12 arrived garbled", 3},
        {"command in another format", bytes({0x17}), 1, 0, "0x17 arrived garbled", 0, false},
        {"no such command", bytes({0x42}), 1, 0, "0x42 starts no command"},
        {"command cut off", bytes({0x1E, 0x14}), 1, 2, "command 0x1e cut off after 2 bytes"},
        {"wrong end, next command", bytes({0x1E, 0x14, 0x17}), 1, 2, "0x0d expected, 0x17 came"},
    };
    for (const auto &row : rows) {
        vp::Device device;
        device.mark().script = "AB";
        for (int i = 0; i < row.sent.size(); ++i) {
            const bool garbled = i == row.garbled;
            device.receive(quint8(row.sent[i]), garbled && row.eightN1 ? 38400 : 57600,
                           !garbled || row.eightN1);
        }
        device.finish();
        const QList<vp::ProtocolError> &errors = device.protocolErrors();
        QVERIFY2(errors.size() == row.errors, row.name);
        if (row.errors > 0) {
            QVERIFY2(errors[0].at == row.at, row.name);
            QVERIFY2(errors[0].what.startsWith(row.what), qPrintable(errors[0].what));
        }
    }
}

// Paced, a byte counts with the line settings in force when its last bit arrives: a station that
// resets the line while bytes are still on their way (a hundred starts take 104 ms) garbles the
// rest of them, even those the printer had already read from the pseudo-terminal.
void TestVprinter::pacedByteTakesTheSettingsItEndsIn()
{
    constexpr int Sent = 100;
    for (const int waitMs : {300, 10}) {
        PtyThread thread({.speed = 9600, .pace = true});
        const QString device = thread.start();
        QVERIFY2(!device.isEmpty(), qPrintable(thread.errorText()));
        thread.expectProtocolErrors(waitMs > 100 ? 0 : -1);
        const int fd = ::open(QFile::encodeName(device).constData(), O_RDWR | O_NOCTTY);
        termios tio{};
        QVERIFY(fd >= 0 && tcgetattr(fd, &tio) == 0);
        cfmakeraw(&tio);
        cfsetspeed(&tio, B9600);
        QVERIFY(tcsetattr(fd, TCSANOW, &tio) == 0);
        QCOMPARE(::write(fd, QByteArray(Sent, '\x17').constData(), Sent), Sent);
        std::this_thread::sleep_for(std::chrono::milliseconds(waitMs));
        cfsetspeed(&tio, B38400);
        QVERIFY(tcsetattr(fd, TCSANOW, &tio) == 0);
        thread.stop();
        ::close(fd);
        const int started = thread.device().printer().startCount;
        QCOMPARE(started + thread.device().protocolErrors().size(), Sent);
        QVERIFY2(waitMs > 100 ? started == Sent : started < Sent,
                 qPrintable(QString::number(started)));
        // A flood of starts prints over its own prints; those warnings are not this test's.
        thread.device().takeProtocolWarnings();
    }
}

// Each echo dropped or wrong by its own chance, the same bytes again for the same seed, each fault
// counted once although the command is replayed for every byte.
void TestVprinter::randomEchoFaultsFollowTheSeed()
{
    constexpr int Sent = 20000;
    const vp::Faults faults{.dropEchoRate = 0.01, .wrongEchoRate = 0.01, .echoSeed = 7};
    vp::Device device;
    device.faults() = faults;
    int drops = 0;
    int wrongs = 0;
    for (qint64 i = 0; i < Sent; ++i) {
        device.receive(0x0D, 57600);
        const QByteArray out = device.takeOutput();
        const vp::EchoFault fault = vp::RandomEchoFault(faults, i);
        drops += fault == vp::EchoFault::Drop;
        wrongs += fault == vp::EchoFault::Wrong;
        const QByteArray expected = fault == vp::EchoFault::Drop    ? QByteArray()
                                    : fault == vp::EchoFault::Wrong ? bytes({0x0D ^ 0x5A})
                                                                    : bytes({0x0D});
        QVERIFY2(out == expected, qPrintable(QString::number(i)));
    }
    QVERIFY2(drops > 150 && drops < 250 && wrongs > 150 && wrongs < 250,
             qPrintable(QStringLiteral("%1 %2").arg(drops).arg(wrongs)));
    QCOMPARE(device.echoFaultsInjected(), drops + wrongs);
    vp::Faults other = faults;
    other.echoSeed = 8;
    int same = 0;
    for (qint64 i = 0; i < Sent; ++i)
        same += vp::RandomEchoFault(faults, i) != vp::EchoFault::None &&
                vp::RandomEchoFault(other, i) == vp::RandomEchoFault(faults, i);
    QVERIFY(same < (drops + wrongs) / 4);
}

QTEST_GUILESS_MAIN(TestVprinter)
#include "tst_vprinter.moc"
