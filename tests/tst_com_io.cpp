// The QSerialPort port through real pseudo-terminals, against the virtual printer.

#include "link/com_io.h"
#include "link/discovery.h"
#include "link/exchange.h"
#include "link/logo_commands.h"
#include "link/machine_commands.h"
#include "support/pty_thread.h"
#include "support/pty_vprinter.h"
#include "support/table_rows.h"
#include "support/wire_bytes.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTest>
#include <sys/resource.h>

using namespace vlink;

namespace
{

// The working read time-out is 405 ms; a loaded machine may add some.
constexpr qint64 ReadTimeoutLowMs = 350;
constexpr qint64 ReadTimeoutHighMs = 700;

// Opens COM1 on the device at a speed (57600 unless said), as discovery leaves it.
bool openAt(ComIo &port, int speedIndex = 6)
{
    port.openCom(0);
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

// The CPU time the process takes while the event loop runs for `ms`, in thousandths of the time.
qint64 cpuPerMilleWaiting(int ms)
{
    const auto cpuUs = [] {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        return qint64(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000000 +
               usage.ru_utime.tv_usec + usage.ru_stime.tv_usec;
    };
    const qint64 before = cpuUs();
    QElapsedTimer timer;
    timer.start();
    QTest::qWait(ms);
    return (cpuUs() - before) / std::max<qint64>(timer.elapsed(), 1);
}

} // namespace

class TestComIo : public QObject
{
    Q_OBJECT

private slots:
    void silentLineTimesOut();
    void openFailures();
    void hangUpFailsFastWithoutSpinning();
    void hangUpBetweenCommandsClosesOnce();
    void hangUpAwaitingAnEchoClosesAtOnce();
    void bytesAndBlocksReachTheLineInOrder();
    void bytesLeaveTheLineBeforeTheyAreAnsweredOrReset();
    void detectSpeedCostsOneTimeOutPerFailedProbe();
};

void TestComIo::silentLineTimesOut()
{
    for (const QStringList &args : {QStringList{"--silent"}, QStringList{"--speed", "9600"}}) {
        VPrinterProcess printer;
        ComIo port(DeviceMap{printer.start(args)});
        printer.expectProtocolErrors(-1); // at another speed the 0x17 arrives garbled
        QVERIFY(openAt(port));
        QElapsedTimer timer;
        timer.start();
        quint8 byte = 0xAA;
        QVERIFY(!port.readByte(byte));
        QCOMPARE(byte, quint8(0));
        QVERIFY(!SendByte(port, 0x17));
        const qint64 elapsed = timer.elapsed();
        QVERIFY2(elapsed >= 2 * ReadTimeoutLowMs && elapsed <= 2 * ReadTimeoutHighMs,
                 qPrintable(QString::number(elapsed)));
        QVERIFY(port.isOpen());
    }
}

void TestComIo::openFailures()
{
    // No such file, not a terminal, no device file.
    for (const QString device : {"/dev/vuva-no-such-tty", "/dev/null", ""}) {
        ComIo port(DeviceMap{device});
        QVERIFY(!port.testCom(0));
        const QStringList lines = exComText(port, 0).split(u'\n');
        QCOMPARE(lines, (QStringList{"open_com error", lines.value(1)}));
        QVERIFY2(lines[1].contains(device.isEmpty() ? "no device file" : device),
                 qPrintable(lines[1]));
        QVERIFY(!port.isOpen());
    }

    // A port held by another is refused without disturbing the holder, and free once closed.
    VPrinterProcess printer;
    const QString device = printer.start();
    ComIo first(DeviceMap{device});
    QVERIFY(openAt(first) && openAt(first)); // a second open closes the old handle first
    ComIo second(DeviceMap{device});
    QVERIFY(!second.testCom(0));
    QVERIFY(exComText(second, 0).startsWith("open_com error\n" + device + ": "));
    QVERIFY(SendByte(first, 0x0D));
    // The station closing its side must not hang the printer's line up.
    first.closeCom();
    QVERIFY(openAt(second) && SendByte(second, 0x0D));
}

void TestComIo::hangUpFailsFastWithoutSpinning()
{
    for (const bool killProcess : {true, false}) {
        VPrinterProcess process;
        PtyThread thread;
        ComIo port(DeviceMap{killProcess ? process.start() : thread.start()});
        QVERIFY(openAt(port) && SendByte(port, 0x0D));
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
        QVERIFY(port.hungUp() && !port.isOpen());
        for (int i = 0; i < 3; ++i) {
            quint8 value = 0;
            int written = -1;
            QVERIFY(!ParamsRead(port, 'C', value) && !SendByte(port, 0x0D));
            QVERIFY(!port.writeBlock(QByteArray(512, '\x0D'), written) && written == 0);
        }
        QVERIFY2(timer.elapsed() < 150, qPrintable(QString::number(timer.elapsed())));
        // With the event loop running, nothing may keep reporting the dead line.
        const qint64 cpu = cpuPerMilleWaiting(300);
        QVERIFY2(cpu < 200, qPrintable(QString::number(cpu)));
    }
}

// The line hung up while the event loop waits between commands: closed at once, reported once,
// nothing spinning on it, and the port opens again on a new line.
void TestComIo::hangUpBetweenCommandsClosesOnce()
{
    PtyThread thread;
    ComIo port(DeviceMap{thread.start()});
    QVERIFY(openAt(port) && SendByte(port, 0x0D));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^line hung up: \"/dev/pts/\\d+\" "));
    QTest::failOnWarning(QRegularExpression("hung up"));
    thread.close();
    const qint64 cpu = cpuPerMilleWaiting(500);
    QVERIFY2(cpu < 100, qPrintable(QString::number(cpu)));
    QVERIFY(port.hungUp() && !port.isOpen());
    PtyThread next;
    port.setDeviceMap(DeviceMap{next.start()});
    QVERIFY(openAt(port) && SendByte(port, 0x0D));
    QTest::qWait(50);
    QVERIFY(port.isOpen() && !port.hungUp());
}

// The printer's end hangs up while the station waits for the echo of a command's first, second or
// third byte: the command fails and the port is closed before it returns, so the next fails fast.
void TestComIo::hangUpAwaitingAnEchoClosesAtOnce()
{
    for (int at = 1; at <= 3; ++at) {
        PtyThread thread;
        ComIo port(DeviceMap{thread.start()});
        QVERIFY(openAt(port) && SendByte(port, 0x0D));
        thread.hangUpAt(at);
        thread.expectProtocolErrors(-1);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^line hung up: "));
        QVERIFY(!RunningNumberForward(port));
        QVERIFY2(port.hungUp() && !port.isOpen(), qPrintable(QString::number(at)));
    }
}

// A logo record goes out as one block, straight after echoed bytes; nothing may overtake it.
void TestComIo::bytesAndBlocksReachTheLineInOrder()
{
    PtyThread thread;
    ComIo port(DeviceMap{thread.start()});
    QVERIFY(openAt(port));
    quint8 value = 0;
    QVERIFY(ParamsIncrease(port, 'C', value));
    QCOMPARE(value, quint8(11));
    const QByteArray block(512, '\x0D');
    int written = -1;
    QVERIFY(port.writeBlock(block, written));
    QCOMPARE(written, 512);
    // The printer echoes what it takes for commands of their own: all of them, in order.
    for (int i = 0; i < block.size(); ++i) {
        quint8 echo = 0;
        QVERIFY(port.readByte(echo) && echo == 0x0D);
    }
    QVERIFY(StartCommand(port));
    thread.stop();
    QCOMPARE(thread.device().received().toHex(' '),
             (QByteArray::fromHex("0c431505000d") + block + "\x17").toHex(' '));
}

// 510 bytes take 531 ms at 9600 bit/s: a read of the reply started sooner is spent waiting. The
// port's old settings come back at close: a last byte still on the line (the bare 0x12 of a
// parameter read, the echo of a logo write's "s") would arrive at the wrong speed, which the
// printer counts.
void TestComIo::bytesLeaveTheLineBeforeTheyAreAnsweredOrReset()
{
    PtyThread thread({.speed = 9600, .pace = true});
    ComIo port(DeviceMap{thread.start()});
    QVERIFY(openAt(port, 3));
    quint8 value = 0;
    QVERIFY(ParamsRead(port, 'C', value));
    port.closeCom();
    QVERIFY(openAt(port, 3) && PrinterLogoDelete(port, 5));
    port.closeCom();
    QVERIFY(openAt(port, 3));
    QElapsedTimer timer;
    timer.start();
    int written = 0;
    QVERIFY(port.writeBlock(QByteArray(510, '\x0D'), written));
    QVERIFY2(timer.elapsed() >= 510 * 10 * 1000 / 9600,
             qPrintable(QString::number(timer.elapsed())));
    port.closeCom();
    thread.stop();
    QCOMPARE(thread.device().protocolErrors().size(), 0);
}

// Each failed probe costs one read time-out; the found speed is the line's.
void TestComIo::detectSpeedCostsOneTimeOutPerFailedProbe()
{
    VPrinterProcess printer;
    ComIo port(DeviceMap{printer.start({"--speed", "9600", "--kind", "depot"})});
    port.openCom(0);
    QElapsedTimer timer;
    timer.start();
    QString text;
    QVERIFY(DetectSpeed(port, text));
    QVERIFY2(timer.elapsed() >= 3 * ReadTimeoutLowMs && timer.elapsed() <= 3 * 450 + 250,
             qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(text, QString("9600"));
    QVERIFY(SendByte(port, 0x0D));
}

QTEST_GUILESS_MAIN(TestComIo)
#include "tst_com_io.moc"
