// The echo turnaround the station sees on a printer behind a raw-TCP serial server: one socat
// plays the server, another makes the local pseudo-terminal, over loopback, against the same
// echo on a printer's own pseudo-terminal.

#include "bench/bench.h"
#include "link/com_io.h"
#include "link/exchange.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace bench
{

namespace
{

constexpr int NetRounds = 21;
constexpr int NetBytesPerRound = 100;
constexpr quint8 NetProbe = 0x0D; // echoed at once, and a command of its own
constexpr double ReadTimeoutUs = vlink::ReadTimeoutMs(1) * 1000.0;

// socat as a child; start() returns what its log (-d -d) captures for notice, empty if nothing.
class SocatProcess
{
public:
    ~SocatProcess()
    {
        process_.kill();
        process_.waitForFinished();
    }
    QString start(const QStringList &addresses, const QString &notice)
    {
        process_.setReadChannel(QProcess::StandardError);
        process_.start(QStringLiteral("socat"), QStringList{"-d", "-d"} + addresses);
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

struct Echoes {
    double meanUs = -1; // -1: an echo failed
    double longestUs = 0;
};

// One round of echoed bytes through the station's port.
Echoes echoRound(const QString &device)
{
    const std::unique_ptr<vlink::ComIo> opened = openLine(device);
    if (!opened)
        return {};
    vlink::ComIo &port = *opened;
    QElapsedTimer all;
    all.start();
    qint64 longestNs = 0;
    for (int i = 0; i < NetBytesPerRound; ++i) {
        QElapsedTimer one;
        one.start();
        if (!vlink::SendByte(port, NetProbe))
            return {};
        longestNs = std::max(longestNs, one.nsecsElapsed());
    }
    return {double(all.nsecsElapsed()) / NetBytesPerRound / 1000.0, double(longestNs) / 1000.0};
}

double medianOf(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// NetRounds alternate between the two lines, so a busy neighbour on the machine slows both alike.
bool socatEcho()
{
    vp::FrontendOptions paced;
    paced.pace = true;
    FrontendThread direct(paced), remote(paced);
    SocatProcess server, client;
    const QString tcpPort = server.start(
        {"TCP-LISTEN:0,bind=127.0.0.1,reuseaddr", "OPEN:" + remote.device() + ",rawer,b57600"},
        QStringLiteral("listening on AF=2 127\\.0\\.0\\.1:(\\d+)"));
    QTemporaryDir dir;
    const QString line = dir.filePath(QStringLiteral("printer1"));
    if (direct.device().isEmpty() || tcpPort.isEmpty() ||
        client
            .start({"PTY,link=" + line + ",rawer", "TCP:127.0.0.1:" + tcpPort},
                   QStringLiteral("(starting data transfer loop)"))
            .isEmpty()) {
        std::printf("   socat did not start\n");
        return false;
    }
    std::vector<double> own, network;
    double longestUs = 0;
    for (int r = 0; r < NetRounds; ++r) {
        const Echoes d = echoRound(direct.device());
        const Echoes n = echoRound(line);
        if (d.meanUs < 0 || n.meanUs < 0) {
            std::printf("   an echo failed\n");
            return false;
        }
        own.push_back(d.meanUs);
        network.push_back(n.meanUs);
        longestUs = std::max(longestUs, n.longestUs);
    }
    std::printf("   %d rounds of %d bytes at 57600 bit/s, paced; a byte, over the round means:\n",
                NetRounds, NetBytesPerRound);
    std::printf("   the printer's own line: best %7.1f us, median %7.1f us\n",
                *std::min_element(own.begin(), own.end()), medianOf(own));
    std::printf("   through socat and TCP:  best %7.1f us, median %7.1f us, longest %.1f us\n",
                *std::min_element(network.begin(), network.end()), medianOf(network), longestUs);
    std::printf("   goal: the longest within the read time-out, %.0f us\n", ReadTimeoutUs);
    return longestUs < ReadTimeoutUs;
}

} // namespace

Cases networkCases()
{
    return {{QStringLiteral("network line: echo turnaround through socat"), socatEcho}};
}

} // namespace bench
