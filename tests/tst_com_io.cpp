// The QSerialPort port through real pseudo-terminals, against the virtual printer.

#include "link/com_io.h"
#include "link/discovery.h"
#include "link/exchange.h"
#include "link/logo_commands.h"
#include "link/machine_commands.h"
#include "support/pty_thread.h"
#include "support/pty_vprinter.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <sys/resource.h>

using namespace vlink;

namespace
{

// The working read time-out is 405 ms; a loaded machine may add some.
constexpr qint64 ReadTimeoutLowMs = 350;
constexpr qint64 ReadTimeoutHighMs = 700;
constexpr int Speed57600 = 6;

DeviceMap mapWith(const QString &device)
{
    DeviceMap map;
    map[0] = device;
    return map;
}

// Opens COM1 on the device at a speed, as discovery leaves it.
bool openAt(ComIo &port, int speedIndex)
{
    port.openCom(0);
    port.setTimeouts();
    return port.setBaud(speedIndex);
}

QString exComText(ComIo &port, int index)
{
    try {
        port.openCom(index);
    } catch (const ExCom &e) {
        return QString::fromStdString(e.what());
    }
    return {};
}

qint64 cpuMicroseconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return qint64(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000000 +
           usage.ru_utime.tv_usec + usage.ru_stime.tv_usec;
}

} // namespace

class TestComIo : public QObject
{
    Q_OBJECT

private slots:
    void silentLineTimesOut_data();
    void silentLineTimesOut();
    void missingDevice_data();
    void missingDevice();
    void secondOpenOfHeldPortFails();
    void reopenAfterClose();
    void hangUpFailsFastWithoutSpinning_data();
    void hangUpFailsFastWithoutSpinning();
    void machineCommandsRoundTrip();
    void blockWrite();
    void blockLeavesTheLineBeforeTheReplyIsRead();
    void lastBytesLeaveBeforeTheLineIsReset();
    void wrongSpeedFails();
    void resetIsCommittedAfterQuietLine();
    void detectSpeed_data();
    void detectSpeed();
    void pacedLineTakesLineTime();
    void linkIsMadeAndRemoved();
};

void TestComIo::silentLineTimesOut_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("silent printer") << QStringList{"--silent"};
    QTest::newRow("printer at another speed") << QStringList{"--speed", "9600"};
}

void TestComIo::silentLineTimesOut()
{
    QFETCH(QStringList, args);
    VPrinterProcess printer;
    const QString device = printer.start(args);
    QVERIFY2(!device.isEmpty(), qPrintable(printer.errorText()));
    printer.expectProtocolErrors(-1); // at another speed the 0x17 arrives garbled
    ComIo port(mapWith(device));
    QVERIFY(openAt(port, Speed57600));

    QElapsedTimer timer;
    timer.start();
    quint8 byte = 0xAA;
    QVERIFY(!port.readByte(byte));
    qint64 elapsed = timer.restart();
    QCOMPARE(byte, quint8(0));
    QVERIFY2(elapsed >= ReadTimeoutLowMs && elapsed <= ReadTimeoutHighMs,
             qPrintable(QString::number(elapsed)));

    QVERIFY(!SendByte(port, 0x17));
    elapsed = timer.elapsed();
    QVERIFY2(elapsed >= ReadTimeoutLowMs && elapsed <= ReadTimeoutHighMs,
             qPrintable(QString::number(elapsed)));
    QVERIFY(port.isOpen());
}

void TestComIo::missingDevice_data()
{
    QTest::addColumn<QString>("device");
    QTest::addColumn<QString>("secondLine");
    QTest::newRow("no such file") << "/dev/vuva-no-such-tty"
                                  << "/dev/vuva-no-such-tty";
    QTest::newRow("not a terminal") << "/dev/null"
                                    << "/dev/null";
    QTest::newRow("no device file") << ""
                                    << "no device file";
}

void TestComIo::missingDevice()
{
    QFETCH(QString, device);
    QFETCH(QString, secondLine);
    ComIo port(mapWith(device));
    QVERIFY(!port.testCom(0));
    const QStringList lines = exComText(port, 0).split(u'\n');
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[0], QString("open_com error"));
    QVERIFY2(lines[1].contains(secondLine), qPrintable(lines[1]));
    QVERIFY(!port.isOpen());
    // A port index outside COM1..COM6 has no device file either.
    QVERIFY(exComText(port, PortCount).startsWith("open_com error\n"));
}

void TestComIo::secondOpenOfHeldPortFails()
{
    VPrinterProcess printer;
    const QString device = printer.start();
    QVERIFY2(!device.isEmpty(), qPrintable(printer.errorText()));
    ComIo first(mapWith(device));
    QVERIFY(openAt(first, Speed57600));

    ComIo second(mapWith(device));
    QVERIFY(!second.testCom(0));
    const QStringList lines = exComText(second, 0).split(u'\n');
    QCOMPARE(lines.value(0), QString("open_com error"));
    QVERIFY2(lines.value(1).startsWith(device + ": "), qPrintable(lines.value(1)));
    QVERIFY(!second.isOpen());
    // The holder is not disturbed.
    QVERIFY(SendByte(first, 0x0D));

    first.closeCom();
    QVERIFY(openAt(second, Speed57600));
    QVERIFY(SendByte(second, 0x0D));
}

void TestComIo::reopenAfterClose()
{
    VPrinterProcess printer;
    const QString device = printer.start();
    QVERIFY2(!device.isEmpty(), qPrintable(printer.errorText()));
    ComIo port(mapWith(device));
    // Opening the open port again closes the old handle first.
    QVERIFY(openAt(port, Speed57600));
    QVERIFY(openAt(port, Speed57600));
    QVERIFY(SendByte(port, 0x0D));
    QCOMPARE(port.deviceName(), device);
    // The station closing its side must not hang the printer's line up.
    port.closeCom();
    QVERIFY(port.deviceName().isEmpty());
    QVERIFY(openAt(port, Speed57600));
    QVERIFY(SendByte(port, 0x0D));
}

void TestComIo::hangUpFailsFastWithoutSpinning_data()
{
    QTest::addColumn<bool>("killProcess");
    QTest::newRow("printer process killed") << true;
    QTest::newRow("master closed") << false;
}

void TestComIo::hangUpFailsFastWithoutSpinning()
{
    QFETCH(bool, killProcess);
    VPrinterProcess process;
    PtyThread thread;
    const QString device = killProcess ? process.start() : thread.start();
    QVERIFY(!device.isEmpty());
    ComIo port(mapWith(device));
    QVERIFY(openAt(port, Speed57600));
    QVERIFY(SendByte(port, 0x0D));

    if (killProcess)
        process.kill();
    else
        thread.close();
    // Reported once, however often the dead line is used afterwards.
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^line hung up: \"/dev/pts/\\d+\" "));
    QTest::failOnWarning(QRegularExpression("hung up"));

    QElapsedTimer timer;
    timer.start();
    QVERIFY(!StartCommand(port));
    QVERIFY2(timer.elapsed() < 100, qPrintable(QString::number(timer.elapsed())));
    QVERIFY(port.hungUp());
    QVERIFY(!port.isOpen());
    for (int i = 0; i < 3; ++i) {
        timer.restart();
        quint8 value = 0;
        QVERIFY(!ParamsRead(port, 'C', value));
        QVERIFY(!SendByte(port, 0x0D));
        QVERIFY2(timer.elapsed() < 20, qPrintable(QString::number(timer.elapsed())));
    }

    // With the event loop running, nothing may keep reporting the dead line.
    const qint64 cpuBefore = cpuMicroseconds();
    timer.restart();
    QTest::qWait(300);
    const qint64 cpuUs = cpuMicroseconds() - cpuBefore;
    QVERIFY2(cpuUs < timer.elapsed() * 1000 / 5, qPrintable(QString::number(cpuUs)));
}

void TestComIo::machineCommandsRoundTrip()
{
    PtyThread thread;
    const QString device = thread.start();
    QVERIFY2(!device.isEmpty(), qPrintable(thread.errorText()));
    ComIo port(mapWith(device));
    QVERIFY(openAt(port, Speed57600));

    TimeParams params{};
    params.fill(0xEE);
    int filled = 0;
    QVERIFY(TimeParamsRead(port, params, filled));
    QCOMPARE(filled, TimeParamCount);
    QCOMPARE(params[13], quint8(16)); // the font count
    QCOMPARE(params[11] * 256 + params[12], 0x0123);

    quint8 value = 0;
    QVERIFY(ParamsRead(port, 'C', value));
    QCOMPARE(value, quint8(10));
    QVERIFY(ParamsIncrease(port, 'C', value));
    QCOMPARE(value, quint8(11));
    QVERIFY(ParamsRead(port, 'C', value));
    QCOMPARE(value, quint8(11));
    QVERIFY(ByteStatusRead(port, value));
    QVERIFY(MarkRotateOn(port));
    QVERIFY(StartCommand(port));

    thread.stop();
    const QByteArray wire = QByteArray::fromHex("08"
                                                "0c430512"
                                                "0c431505000d"
                                                "0c430512"
                                                "0c0912"
                                                "1e440d"
                                                "17");
    QCOMPARE(thread.device().received().toHex(' '), wire.toHex(' '));
    QCOMPARE(thread.device().printer().params['C'], quint8(11));
    QCOMPARE(thread.device().printer().markConfig, quint8(0x04));
    QVERIFY(thread.device().printer().running);
}

// A logo record goes out as one block, straight after echoed bytes; nothing may overtake it.
void TestComIo::blockWrite()
{
    PtyThread thread;
    const QString device = thread.start();
    QVERIFY2(!device.isEmpty(), qPrintable(thread.errorText()));
    ComIo port(mapWith(device));
    QVERIFY(openAt(port, Speed57600));
    QVERIFY(SendByte(port, 0x0D));
    const QByteArray block(512, '\x0D');
    int written = -1;
    QVERIFY(port.writeBlock(block, written));
    QCOMPARE(written, 512);
    // The printer echoes what it takes for commands of their own: all of them, in order.
    for (int i = 0; i < block.size(); ++i) {
        quint8 echo = 0;
        QVERIFY(port.readByte(echo));
        QCOMPARE(echo, quint8(0x0D));
    }
    QVERIFY(SendByte(port, 0x17));
    thread.stop();
    QCOMPARE(thread.device().received(), QByteArray("\x0D") + block + QByteArray("\x17"));

    // After a hang-up the block fails at once and nothing counts as written.
    thread.close();
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^line hung up: "));
    QElapsedTimer timer;
    timer.start();
    QVERIFY(!port.writeBlock(block, written));
    QCOMPARE(written, 0);
    QVERIFY(port.hungUp());
    QVERIFY(timer.elapsed() < 100);
}

// 510 bytes take 531 ms at 9600 bit/s; a read of the reply started sooner is spent waiting.
void TestComIo::blockLeavesTheLineBeforeTheReplyIsRead()
{
    PtyThread thread({.speed = 9600, .pace = true}); // each byte takes 1.04 ms
    const QString device = thread.start();
    QVERIFY2(!device.isEmpty(), qPrintable(thread.errorText()));
    ComIo port(mapWith(device));
    QVERIFY(openAt(port, 3));
    QElapsedTimer timer;
    timer.start();
    int written = 0;
    QVERIFY(port.writeBlock(QByteArray(510, '\x0D'), written));
    QVERIFY2(timer.elapsed() >= 510 * 10 * 1000 / 9600,
             qPrintable(QString::number(timer.elapsed())));
}

// The port's old settings come back at close: a last byte still on the line would arrive at the
// wrong speed, which the printer counts.
void TestComIo::lastBytesLeaveBeforeTheLineIsReset()
{
    const struct {
        const char *name;
        bool (*command)(Port &);
    } rows[] = {
        {"bare 0x12 of a parameter read",
         [](Port &p) {
             quint8 value = 0;
             return ParamsRead(p, 'C', value);
         }},
        {"echo of a logo write's \"s\"", [](Port &p) { return PrinterLogoDelete(p, 5); }},
    };
    for (const auto &row : rows) {
        PtyThread thread({.speed = 9600, .pace = true});
        const QString device = thread.start();
        QVERIFY2(!device.isEmpty(), qPrintable(thread.errorText()));
        ComIo port(mapWith(device));
        QVERIFY(openAt(port, 3));
        QVERIFY2(row.command(port), row.name);
        port.closeCom();
        thread.stop();
        QVERIFY2(thread.device().protocolErrors().isEmpty(), row.name);
    }
}

void TestComIo::wrongSpeedFails()
{
    VPrinterProcess printer;
    const QString device = printer.start({"--speed", "19200"});
    QVERIFY2(!device.isEmpty(), qPrintable(printer.errorText()));
    printer.expectProtocolErrors(1); // the first 0x0C, garbled at 38400 bit/s
    ComIo port(mapWith(device));
    QVERIFY(openAt(port, 5));
    QElapsedTimer timer;
    timer.start();
    quint8 value = 0;
    QVERIFY(!ParamsRead(port, 'C', value));
    QVERIFY(timer.elapsed() >= ReadTimeoutLowMs);
    QVERIFY(port.setBaud(4));
    QVERIFY(ParamsRead(port, 'C', value));
    QCOMPARE(value, quint8(10));
}

// A lone 0x12 is echoed once the line goes quiet, and counts as a reset once it stays quiet: the
// front end must tell the device how long the line has been quiet.
void TestComIo::resetIsCommittedAfterQuietLine()
{
    PtyThread thread;
    const QString device = thread.start();
    QVERIFY2(!device.isEmpty(), qPrintable(thread.errorText()));
    ComIo port(mapWith(device));
    QVERIFY(openAt(port, Speed57600));
    QVERIFY(Reset(port));
    Delay(vp::Device::CommitQuietMs + 100);
    thread.stop();
    QCOMPARE(thread.device().printer().resetCount, 1);
    QVERIFY(thread.device().settled());
}

void TestComIo::detectSpeed_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("speedText");
    QTest::addColumn<int>("failedProbes");
    QTest::newRow("57600 at the first probe") << QStringList{} << "57600" << 0;
    QTest::newRow("38400") << QStringList{"--speed", "38400"} << "38400" << 1;
    QTest::newRow("9600 after three failed probes")
        << QStringList{"--speed", "9600", "--kind", "depot"} << "9600" << 3;
    QTest::newRow("nothing answers") << QStringList{"--silent"} << "" << 4;
}

void TestComIo::detectSpeed()
{
    QFETCH(QStringList, args);
    QFETCH(QString, speedText);
    QFETCH(int, failedProbes);
    VPrinterProcess printer;
    const QString device = printer.start(args);
    QVERIFY2(!device.isEmpty(), qPrintable(printer.errorText()));
    ComIo port(mapWith(device));
    port.openCom(0);
    port.setTimeouts();

    QElapsedTimer timer;
    timer.start();
    QString text;
    QCOMPARE(DetectSpeed(port, text), !speedText.isEmpty());
    const qint64 elapsed = timer.elapsed();
    QCOMPARE(text, speedText);
    // Each failed probe costs one read time-out; an answered probe almost nothing.
    QVERIFY2(elapsed >= failedProbes * ReadTimeoutLowMs && elapsed <= failedProbes * 450 + 250,
             qPrintable(QString::number(elapsed)));
    QVERIFY(port.isOpen());
    if (!speedText.isEmpty())
        QVERIFY(SendByte(port, 0x0D));
}

void TestComIo::pacedLineTakesLineTime()
{
    constexpr int Exchanges = 40;
    // At 9600 bit/s a byte takes 1.04 ms each way: an echoed byte at least 2.08 ms.
    constexpr qint64 PacedNs = Exchanges * 2 * 10 * 1000000000LL / 9600;
    qint64 elapsedNs[2] = {};
    for (bool pace : {false, true}) {
        VPrinterProcess printer;
        printer.paced = pace;
        const QString device = printer.start({"--speed", "9600"});
        QVERIFY2(!device.isEmpty(), qPrintable(printer.errorText()));
        ComIo port(mapWith(device));
        QVERIFY(openAt(port, 3));
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < Exchanges; ++i)
            QVERIFY(SendByte(port, 0x0D));
        elapsedNs[pace] = timer.nsecsElapsed();
    }
    QVERIFY2(elapsedNs[true] >= PacedNs, qPrintable(QString::number(elapsedNs[true])));
    QVERIFY2(elapsedNs[false] < elapsedNs[true], qPrintable(QString::number(elapsedNs[false])));
}

void TestComIo::linkIsMadeAndRemoved()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString link = dir.filePath("ttyVuva");
    {
        // A stale file in its place is replaced.
        QFile stale(link);
        QVERIFY(stale.open(QIODevice::WriteOnly));
    }
    VPrinterProcess printer;
    const QString device = printer.start({"--link", link});
    QVERIFY2(!device.isEmpty(), qPrintable(printer.errorText()));
    QCOMPARE(QFileInfo(link).symLinkTarget(), device);
    ComIo port(mapWith(link));
    QVERIFY(openAt(port, Speed57600));
    QVERIFY(SendByte(port, 0x0D));
    port.closeCom();
    QVERIFY(printer.terminate());
    QVERIFY(!QFileInfo::exists(link) && !QFileInfo(link).isSymLink());
}

QTEST_GUILESS_MAIN(TestComIo)
#include "tst_com_io.moc"
