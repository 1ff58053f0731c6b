// A printer behind a serial-to-network server in raw TCP mode, reached through socat: one socat
// plays the server, which holds the printer's line at its fixed speed, the other makes the local
// pseudo-terminal the station opens. Both run over loopback TCP against the virtual printer.

#include "link/com_io.h"
#include "link/exchange.h"
#include "support/pty_vprinter.h"
#include "support/table_rows.h"
#include "support/vuvactl_run.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

namespace
{

// socat as a child; start() returns what its log (-d -d) captures for notice, empty if nothing.
class Socat
{
public:
    ~Socat()
    {
        process_.kill();
        process_.waitForFinished();
    }
    QString start(const QStringList &addresses, const QString &notice)
    {
        process_.setReadChannel(QProcess::StandardError);
        process_.start("socat", QStringList{"-d", "-d"} + addresses);
        const QRegularExpression pattern(notice);
        QDeadlineTimer deadline(5000);
        while (process_.waitForReadyRead(int(deadline.remainingTime())) || process_.canReadLine())
            while (process_.canReadLine()) {
                const auto m = pattern.match(QString::fromLocal8Bit(process_.readLine()));
                if (m.hasMatch())
                    return m.captured(1);
            }
        return {};
    }

private:
    QProcess process_;
};

// Times the speed probe's echo, which every line state takes as a command of its own, on the
// station's port; the longest must leave room within the read time-out.
bool echoTurnaround(const QString &device)
{
    vlink::ComIo port({device});
    if (!port.openCom(0) || !port.setBaud(6))
        return false;
    port.setTimeouts();
    constexpr int Bytes = 300;
    QElapsedTimer all;
    all.start();
    qint64 longestNs = 0;
    for (int i = 0; i < Bytes; ++i) {
        QElapsedTimer one;
        one.start();
        if (!vlink::SendByte(port, 0x0D))
            return false;
        longestNs = std::max(longestNs, one.nsecsElapsed());
    }
    port.closeCom();
    qInfo("echo turnaround on %s: mean %.3f ms, longest %.3f ms", qPrintable(device),
          double(all.nsecsElapsed()) / Bytes / 1e6, double(longestNs) / 1e6);
    return longestNs < (vlink::ReadTotalConstantMs + vlink::ReadTotalPerByteMs) * 1000000LL;
}

} // namespace

class TestNetworkLine : public QObject
{
    Q_OBJECT

private slots:
    void vuvactlThroughSocat();
};

void TestNetworkLine::vuvactlThroughSocat()
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
    // The server opens the printer's line only once a client connects: until then it is free.
    QVERIFY(echoTurnaround(printerLine));
    const QString line = dir.filePath("printer1");
    QVERIFY(!client
                 .start({"PTY,link=" + line + ",rawer", "TCP:127.0.0.1:" + tcpPort},
                        "(starting data transfer loop)")
                 .isEmpty());

    // A copy of vuvactl whose settings map COM1 to the local end and no other port.
    const QString program = dir.filePath("vuvactl");
    QVERIFY(QFile::copy(VPrinterProcess::binary("vuvactl"), program));
    QFile settings(dir.filePath("vuvazuvevov.dev"));
    QVERIFY(settings.open(QIODevice::WriteOnly));
    settings.write("[PortParams]\nComInteger=0\nDevice1=" + line.toLocal8Bit() + '\n');
    for (int i = 2; i <= 6; ++i)
        settings.write("Device" + QByteArray::number(i) + "=/dev/vuva-absent\n");
    settings.close();

    QImage logo(40, 10, QImage::Format_Mono);
    logo.fill(0);
    QVERIFY(logo.save(dir.filePath("logo.bmp")));
    const struct {
        const char *name;
        QStringList args;
        QString out;
    } rows[] = {
        {"discovery on the DeviceN line",
         {"discover"},
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
        const VuvactlRun run = runVuvactl(row.args, program);
        QCOMPARE(run.lastErr, QString());
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, row.out);
    });

    QVERIFY(echoTurnaround(line));
    QVERIFY(vprinter.terminate());
}

QTEST_GUILESS_MAIN(TestNetworkLine)
#include "tst_network_line.moc"
