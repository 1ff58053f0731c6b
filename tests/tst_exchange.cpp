#include "link/discovery.h"
#include "link/exchange.h"
#include "support/memory_port.h"
#include "support/table_rows.h"

#include <QElapsedTimer>
#include <QTest>

using namespace vlink;

class TestExchange : public QObject
{
    Q_OBJECT

private slots:
    void sendBytePurgesBeforeTheEchoCompare();
    void receiveByteAttempts();
    void trimText();
    void detectSpeed();
};

void TestExchange::sendBytePurgesBeforeTheEchoCompare()
{
    // A stale byte that differs would fail an unpurged compare; a stale copy of the byte sent
    // would hide a wrong echo.
    const struct {
        const char *name;
        QByteArray stale;
        bool wrongEcho, sent;
    } rows[] = {{"stale byte differs, echo right", "\x55\x41", false, true},
                {"stale copy, echo wrong", "\x17", true, false}};
    forEachRow(rows, [](const auto &row) {
        vp::Device device;
        if (row.wrongEcho)
            device.faults().wrongEchoAt = 0;
        MemoryPort port(device);
        port.inject(row.stale);
        QCOMPARE(SendByte(port, 0x17), row.sent);
        QCOMPARE(port.purges(), 1);
        quint8 left = 0;
        QVERIFY(!port.readByte(left));
    });
}

void TestExchange::receiveByteAttempts()
{
    // 10 ms between attempts: nine pauses before the tenth attempt, ten when it fails too.
    for (const int emptyReads : {9, 10}) {
        const bool arrives = emptyReads < ReceiveAttempts;
        vp::Device device;
        MemoryPort port(device);
        port.inject("\x42");
        port.holdReads(emptyReads);
        quint8 byte = 0;
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(ReceiveByte(port, byte), arrives);
        QVERIFY(timer.elapsed() >= emptyReads * ReceiveRetryMs);
        QCOMPARE(port.readAttempts(), ReceiveAttempts);
        // The byte received goes back as its echo.
        QCOMPARE(port.written(), arrives ? QByteArray("\x42") : QByteArray());
    }
}

// Cyrillic letters of Windows-1251 are above 0x7F: they are no control codes.
void TestExchange::trimText()
{
    QCOMPARE(TrimText(QByteArray("\x00\x01x y\x20\x1F\r\n", 9)), QByteArray("x y"));
    QCOMPARE(TrimText("!\xB9\xC0! "), QByteArray("!\xB9\xC0!"));
}

void TestExchange::detectSpeed()
{
    const struct {
        const char *name;
        int deviceSpeed;
        QString text;
        int probes;
    } rows[] = {{"9600 after three failed probes", 9600, "9600", 4},
                {"4800 is never tried", 4800, "", 4}};
    forEachRow(rows, [](const auto &row) {
        vp::Device device(vp::Kind::None, row.deviceSpeed);
        MemoryPort port(device);
        QString text = "unchanged";
        QCOMPARE(DetectSpeed(port, text), !row.text.isEmpty());
        QCOMPARE(text, row.text.isEmpty() ? QString("unchanged") : row.text);
        QCOMPARE(port.written(), QByteArray(row.probes, '\x0D'));
        // Found or not, the port stays at the last speed it accepted.
        QCOMPARE(port.lineSpeed(), row.text.isEmpty() ? 9600 : row.deviceSpeed);
    });
}

QTEST_GUILESS_MAIN(TestExchange)
#include "tst_exchange.moc"
