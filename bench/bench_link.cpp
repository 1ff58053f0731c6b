// The link's own cost: an echoed byte through the station's port against a plain POSIX loop on
// the same pseudo-terminal, and what the fixed pauses cost the processor.

#include "bench/bench.h"
#include "link/com_io.h"
#include "link/exchange.h"

#include <QElapsedTimer>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace bench
{

namespace
{

constexpr int LinkRounds = 41;
constexpr int LinkBytesPerRound = 100;
constexpr quint8 Probe = 0x0D; // echoed at once, and a command of its own
constexpr double EchoRatioGoal = 1.15;
constexpr double DelayCpuGoalPercent = 5.0;
constexpr qint64 DelaySequenceMs = 2000;

// The slave side opened by hand: raw, 57600 bit/s, one byte out and its echo back.
class RawLine
{
public:
    explicit RawLine(const QString &device)
        : fd_(::open(QFile::encodeName(device).constData(), O_RDWR | O_NOCTTY | O_CLOEXEC))
    {
        termios tio{};
        if (fd_ < 0 || tcgetattr(fd_, &tio) != 0)
            return;
        cfmakeraw(&tio);
        cfsetspeed(&tio, B57600);
        ok_ = tcsetattr(fd_, TCSANOW, &tio) == 0;
        tcflush(fd_, TCIFLUSH);
    }
    ~RawLine()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    RawLine(const RawLine &) = delete;
    RawLine &operator=(const RawLine &) = delete;

    bool ok() const { return ok_; }
    bool echo(quint8 byte)
    {
        if (::write(fd_, &byte, 1) != 1)
            return false;
        pollfd p{fd_, POLLIN, 0};
        quint8 back = 0;
        return ::poll(&p, 1, vlink::ReadTotalConstantMs) == 1 && ::read(fd_, &back, 1) == 1 &&
               back == byte;
    }

private:
    int fd_;
    bool ok_ = false;
};

struct LinkRound {
    qint64 wallNs = -1; // -1: an echo failed
    qint64 cpuNs = 0;   // the station's thread only, the printer's excluded
};

// Starts timing at construction; done() closes the round.
class RoundTimer
{
public:
    RoundTimer() : cpu_(threadCpuNs()) { wall_.start(); }
    LinkRound done() const { return {wall_.nsecsElapsed(), threadCpuNs() - cpu_}; }

private:
    QElapsedTimer wall_;
    qint64 cpu_;
};

LinkRound comIoRound(const QString &device, int n)
{
    const std::unique_ptr<vlink::ComIo> opened = openLine(device);
    if (!opened)
        return {};
    vlink::ComIo &port = *opened;
    const RoundTimer timer;
    for (int i = 0; i < n; ++i)
        if (!vlink::SendByte(port, Probe))
            return {};
    return timer.done();
}

LinkRound rawRound(const QString &device, int n)
{
    RawLine line(device);
    if (!line.ok())
        return {};
    const RoundTimer timer;
    for (int i = 0; i < n; ++i)
        if (!line.echo(Probe))
            return {};
    return timer.done();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Figures {
    double bestUs, medianUs, cpuUs; // a byte
};

Figures figuresOf(const std::vector<LinkRound> &rounds)
{
    std::vector<double> wall, cpu;
    for (const LinkRound &r : rounds) {
        wall.push_back(double(r.wallNs) / LinkBytesPerRound / 1000.0);
        cpu.push_back(double(r.cpuNs) / LinkBytesPerRound / 1000.0);
    }
    return {*std::min_element(wall.begin(), wall.end()), median(wall), median(cpu)};
}

// Short rounds alternate, so a busy neighbour on the machine slows both alike; each ComIo round
// is set against the plain round right after it, and the median of those ratios is the figure.
bool echoCost()
{
    FrontendThread printer;
    if (printer.device().isEmpty())
        return false;
    comIoRound(printer.device(), LinkBytesPerRound);
    rawRound(printer.device(), LinkBytesPerRound);
    std::vector<LinkRound> com, raw;
    std::vector<double> ratios;
    for (int r = 0; r < LinkRounds; ++r) {
        com.push_back(comIoRound(printer.device(), LinkBytesPerRound));
        raw.push_back(rawRound(printer.device(), LinkBytesPerRound));
        if (com.back().wallNs < 0 || raw.back().wallNs < 0) {
            std::printf("   an echo failed\n");
            return false;
        }
        ratios.push_back(double(com.back().wallNs) / double(raw.back().wallNs));
    }
    const Figures c = figuresOf(com);
    const Figures r = figuresOf(raw);
    std::printf("   %d rounds of %d bytes each way, a byte:\n", LinkRounds, LinkBytesPerRound);
    std::printf("   SendByte through ComIo: best %6.1f us, median %6.1f us, caller CPU %5.1f us\n",
                c.bestUs, c.medianUs, c.cpuUs);
    std::printf("   plain write/poll/read:  best %6.1f us, median %6.1f us, caller CPU %5.1f us\n",
                r.bestUs, r.medianUs, r.cpuUs);
    const double ratio = median(ratios);
    std::printf("   ratio %.2f (median of paired rounds; best rounds %.2f), goal <= %.2f\n", ratio,
                c.bestUs / r.bestUs, EchoRatioGoal);
    return ratio <= EchoRatioGoal;
}

bool delayCpu()
{
    static constexpr int Pattern[] = {9, 10, 50, 100, 10, 9, 50};
    QElapsedTimer wall;
    const qint64 cpuStart = processCpuNs();
    wall.start();
    qint64 overshootNs = 0;
    qint64 worstNs = 0;
    int pauses = 0;
    while (wall.elapsed() < DelaySequenceMs) {
        for (int ms : Pattern) {
            const qint64 before = wall.nsecsElapsed();
            vlink::Delay(ms);
            const qint64 over = wall.nsecsElapsed() - before - qint64(ms) * 1000000;
            overshootNs += over;
            worstNs = std::max(worstNs, over);
            ++pauses;
        }
    }
    const double cpuPercent =
        100.0 * double(processCpuNs() - cpuStart) / double(wall.nsecsElapsed());
    std::printf("   %d pauses in %.2f s: CPU %.2f %% of wall time, goal < %.0f %%\n", pauses,
                double(wall.nsecsElapsed()) / 1e9, cpuPercent, DelayCpuGoalPercent);
    std::printf("   overshoot %.0f us on average, %.0f us at worst\n",
                double(overshootNs) / pauses / 1000.0, double(worstNs) / 1000.0);
    return cpuPercent < DelayCpuGoalPercent;
}

} // namespace

Cases linkCases()
{
    return {
        {QStringLiteral("link: echoed byte, ComIo against plain POSIX"), echoCost},
        {QStringLiteral("link: CPU during Delay pauses"), delayCpu},
    };
}

} // namespace bench
