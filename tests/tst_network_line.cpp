// A printer behind a raw-TCP serial server, over loopback: one socat plays the server, which holds
// the printer's line at its fixed speed, the other makes the pseudo-terminal the station opens.

#include "support/pty_vprinter.h"
#include "support/table_rows.h"
#include "support/vuvactl_run.h"

#include <QDeadlineTimer>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace
{

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

QTEST_GUILESS_MAIN(TestNetworkLine)
#include "tst_network_line.moc"
