#include "link/discovery.h"
#include "link/exchange.h"
#include "support/memory_port.h"

#include <QElapsedTimer>
#include <QTest>

using namespace vlink;

class TestExchange : public QObject
{
    Q_OBJECT

private slots:
    void sendBytePurgesStaleBytes_data();
    void sendBytePurgesStaleBytes();
    void sendByteBadEcho_data();
    void sendByteBadEcho();
    void receiveByteAttempts_data();
    void receiveByteAttempts();
    void readByteIsOneAttemptWithoutEcho();
    void bitReverse_data();
    void bitReverse();
    void trimText_data();
    void trimText();
    void delayWaitsAtLeast();
    void detectSpeed_data();
    void detectSpeed();
    void detectSpeedSkipsRefusedSpeed();
};

void TestExchange::sendBytePurgesStaleBytes_data()
{
    QTest::addColumn<QByteArray>("stale");
    QTest::addColumn<bool>("wrongEcho");
    QTest::addColumn<bool>("expected");
    // A stale byte that differs would fail an unpurged compare...
    QTest::newRow("stale byte differs, echo right") << QByteArray("\x55\x41") << false << true;
    // ...and a stale copy of the byte sent would hide a wrong echo.
    QTest::newRow("stale copy, echo wrong") << QByteArray("\x17") << true << false;
}

void TestExchange::sendBytePurgesStaleBytes()
{
    QFETCH(QByteArray, stale);
    QFETCH(bool, wrongEcho);
    QFETCH(bool, expected);
    vp::Device device;
    if (wrongEcho)
        device.faults().wrongEchoAt = 0;
    MemoryPort port(device);
    port.inject(stale);
    QCOMPARE(SendByte(port, 0x17), expected);
    QCOMPARE(port.purges(), 1);
    QCOMPARE(port.written(), QByteArray("\x17"));
    quint8 left = 0;
    QVERIFY(!port.readByte(left));
}

void TestExchange::sendByteBadEcho_data()
{
    QTest::addColumn<bool>("drop");
    QTest::newRow("wrong echo") << false;
    QTest::newRow("no echo") << true;
}

void TestExchange::sendByteBadEcho()
{
    QFETCH(bool, drop);
    vp::Device device;
    (drop ? device.faults().dropEchoAt : device.faults().wrongEchoAt) = 1;
    MemoryPort port(device);
    QVERIFY(SendByte(port, 0x0D));
    QVERIFY(!SendByte(port, 0x0D));
    QVERIFY(SendByte(port, 0x0D));
}

void TestExchange::receiveByteAttempts_data()
{
    QTest::addColumn<int>("emptyReads");
    QTest::addColumn<bool>("expected");
    QTest::newRow("arrives at the tenth attempt") << 9 << true;
    QTest::newRow("ten empty attempts") << 10 << false;
}

void TestExchange::receiveByteAttempts()
{
    QFETCH(int, emptyReads);
    QFETCH(bool, expected);
    vp::Device device;
    MemoryPort port(device);
    port.inject("\x42");
    port.holdReads(emptyReads);
    quint8 byte = 0;
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(ReceiveByte(port, byte), expected);
    const qint64 elapsed = timer.elapsed();
    QCOMPARE(port.readAttempts(), ReceiveAttempts);
    // 10 ms between attempts: nine pauses before the tenth attempt, ten when it fails too.
    QVERIFY2(elapsed >= (expected ? 9 : 10) * ReceiveRetryMs, qPrintable(QString::number(elapsed)));
    // The byte received goes back as its echo; without one, nothing is written.
    QCOMPARE(port.written(), expected ? QByteArray("\x42") : QByteArray());
    if (expected) {
        QCOMPARE(byte, quint8(0x42));
        QCOMPARE(device.received(), QByteArray("\x42"));
    }
}

void TestExchange::readByteIsOneAttemptWithoutEcho()
{
    vp::Device device;
    MemoryPort port(device);
    quint8 byte = 0xEE;
    QVERIFY(!ReadByte(port, byte));
    QCOMPARE(byte, quint8(0));
    QCOMPARE(port.readAttempts(), 1);
    port.inject("\x07");
    QVERIFY(ReadByte(port, byte));
    QCOMPARE(byte, quint8(0x07));
    QVERIFY(port.written().isEmpty());
}

void TestExchange::bitReverse_data()
{
    QTest::addColumn<int>("in");
    QTest::addColumn<int>("out");
    QTest::newRow("00") << 0x00 << 0x00;
    QTest::newRow("FF") << 0xFF << 0xFF;
    QTest::newRow("12") << 0x12 << 0x48;
    QTest::newRow("01") << 0x01 << 0x80;
    QTest::newRow("03") << 0x03 << 0xC0;
    QTest::newRow("80") << 0x80 << 0x01;
    QTest::newRow("F0") << 0xF0 << 0x0F;
}

void TestExchange::bitReverse()
{
    QFETCH(int, in);
    QFETCH(int, out);
    QCOMPARE(BitReverse(quint8(in)), quint8(out));
    QCOMPARE(BitReverse(BitReverse(quint8(in))), quint8(in));
}

void TestExchange::trimText_data()
{
    QTest::addColumn<QByteArray>("in");
    QTest::addColumn<QByteArray>("out");
    QTest::newRow("blanks and line ends") << QByteArray("  abc \r\n") << QByteArray("abc");
    QTest::newRow("control codes and zeros")
        << QByteArray("\x00\x01x\x20\x1F", 5) << QByteArray("x");
    QTest::newRow("inner blanks stay") << QByteArray(" a b ") << QByteArray("a b");
    QTest::newRow("only blanks") << QByteArray(" \t\x00\r", 4) << QByteArray();
    QTest::newRow("empty") << QByteArray() << QByteArray();
    QTest::newRow("0x21 is kept") << QByteArray("!x!") << QByteArray("!x!");
    // Cyrillic letters of Windows-1251 are above 0x7F: they must not count as control codes.
    QTest::newRow("8-bit letters kept") << QByteArray("\xB9\xC0 ") << QByteArray("\xB9\xC0");
}

void TestExchange::trimText()
{
    QFETCH(QByteArray, in);
    QFETCH(QByteArray, out);
    QCOMPARE(TrimText(in), out);
}

void TestExchange::delayWaitsAtLeast()
{
    for (int ms : {9, 50}) {
        QElapsedTimer timer;
        timer.start();
        Delay(ms);
        QVERIFY(timer.nsecsElapsed() >= qint64(ms) * 1000000);
    }
}

void TestExchange::detectSpeed_data()
{
    QTest::addColumn<int>("deviceSpeed");
    QTest::addColumn<QString>("speedText");
    QTest::addColumn<int>("probes");
    QTest::newRow("57600 at the first probe") << 57600 << "57600" << 1;
    QTest::newRow("38400") << 38400 << "38400" << 2;
    QTest::newRow("19200") << 19200 << "19200" << 3;
    QTest::newRow("9600 after three failed probes") << 9600 << "9600" << 4;
    QTest::newRow("4800 is never tried") << 4800 << "" << 4;
}

void TestExchange::detectSpeed()
{
    QFETCH(int, deviceSpeed);
    QFETCH(QString, speedText);
    QFETCH(int, probes);
    vp::Device device(vp::Kind::None, deviceSpeed);
    MemoryPort port(device);
    QString text = "unchanged";
    QCOMPARE(DetectSpeed(port, text), !speedText.isEmpty());
    QCOMPARE(text, speedText.isEmpty() ? QString("unchanged") : speedText);
    QCOMPARE(port.written(), QByteArray(probes, '\x0D'));
    // Found or not, the port stays at the last speed it accepted.
    QCOMPARE(port.lineSpeed(), speedText.isEmpty() ? 9600 : deviceSpeed);
    QCOMPARE(device.received(), speedText.isEmpty() ? QByteArray() : QByteArray("\x0D"));
}

// A port that refuses one speed: that speed is passed over without a probe.
class RefusingPort : public MemoryPort
{
public:
    RefusingPort(vp::Device &device, int refused) : MemoryPort(device), refused_(refused) {}
    bool setBaud(int speedIndex) override
    {
        return speedIndex != refused_ && MemoryPort::setBaud(speedIndex);
    }

private:
    int refused_;
};

void TestExchange::detectSpeedSkipsRefusedSpeed()
{
    vp::Device device(vp::Kind::Printer, 38400);
    RefusingPort port(device, 6);
    QString text;
    QVERIFY(DetectSpeed(port, text));
    QCOMPARE(text, QString("38400"));
    QCOMPARE(port.written(), QByteArray("\x0D"));

    // Every speed refused: nothing is sent and nothing is found.
    vp::Device other;
    RefusingPort closed(other, -1);
    closed.closeCom();
    QVERIFY(!DetectSpeed(closed, text));
    QVERIFY(closed.written().isEmpty());
}

QTEST_GUILESS_MAIN(TestExchange)
#include "tst_exchange.moc"
