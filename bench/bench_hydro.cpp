// The parameter list and the hydraulic panel's continuous reading on a paced line at 57600 bit/s:
// what the exchanges cost beyond the wire and the fixed pauses, and the station's processor.

#include "bench/bench.h"
#include "link/com_io.h"
#include "link/exchange.h"
#include "link/hydro_commands.h"
#include "link/machine_commands.h"
#include "link/param_names.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <cstdio>
#include <ctime>

namespace bench
{

namespace
{

constexpr double ListRatioGoal = 1.05;
constexpr double PanelCpuGoalPercent = 10.0;
constexpr int PanelSeconds = 30;
constexpr int RefreshMs = 500;
constexpr double HydroByteUs = 10 * 1e6 / 57600;
// A parameter read: 0x0C, the letter and 0x05 each out and back, the value; the bare 0x12 after
// it crosses the line during the pause that follows.
constexpr int ParamReadBytes = 7;

struct Line {
    FrontendThread printer{[] {
        vp::FrontendOptions o;
        o.pace = true;
        return o;
    }()};
    std::unique_ptr<vlink::ComIo> port;

    bool open()
    {
        port = openLine(printer.device());
        return port != nullptr;
    }
};

// The station's thread alone: the printer runs on another thread of this process.
qint64 stationCpuNs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

bool listBuild()
{
    Line line;
    if (!line.open())
        return false;
    QElapsedTimer wall;
    wall.start();
    int read = 0;
    qint64 exchangeNs = 0;
    for (const vlink::ParamName &p : vlink::ParamNames) {
        quint8 value = 0;
        QElapsedTimer one;
        one.start();
        read += vlink::ParamsRead(*line.port, quint8(p.letter), value) ? 1 : 0;
        exchangeNs += one.nsecsElapsed();
        QCoreApplication::processEvents();
        vlink::Delay(vlink::ParamPauseMs);
    }
    const double ms = wall.nsecsElapsed() / 1e6;
    const int count = int(vlink::ParamNames.size());
    const double due = count * (ParamReadBytes * HydroByteUs / 1000 + vlink::ParamPauseMs);
    const double ratio = ms / due;
    std::printf("   %d of %d read in %.1f ms (the reads %.1f ms); wire and pauses %.1f ms; ratio "
                "%.3f, goal 1.00 .. %.2f\n",
                read, count, ms, exchangeNs / 1e6, due, ratio, ListRatioGoal);
    return read == count && wireRatioMet(ratio, ListRatioGoal);
}

// The panel's loop without its widgets: a tick every 500 ms that skips while a refresh runs.
bool continuousReading()
{
    Line line;
    if (!line.open() || !vlink::KeyBoardChanelOpen(*line.port))
        return false;
    int done = 0;
    int refused = 0;
    bool allowed = true;
    QTimer timer;
    timer.setInterval(RefreshMs);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (!allowed)
            return;
        allowed = false;
        QByteArray text;
        const bool ok =
            vlink::HydroParamsRead(*line.port, text) && vlink::DecodeHydroText(text).has_value();
        ok ? ++done : ++refused;
        allowed = true;
    });
    const qint64 cpu0 = stationCpuNs();
    QElapsedTimer wall;
    wall.start();
    timer.start();
    QEventLoop loop;
    QTimer::singleShot(PanelSeconds * 1000, &loop, &QEventLoop::quit);
    loop.exec();
    timer.stop();
    const bool closed = vlink::KeyBoardChanelClose(*line.port);
    const double cpuPercent = (stationCpuNs() - cpu0) / 1e7 / (wall.elapsed() / 1000.0);
    const int due = PanelSeconds * 1000 / RefreshMs;
    std::printf("   %d refreshes of %d due (%d refused) in %d s; CPU %.2f %% of wall time "
                "(station thread), goal < %.0f %%\n",
                done, due, refused, PanelSeconds, cpuPercent, PanelCpuGoalPercent);
    return closed && refused == 0 && done >= due - 1 && cpuPercent < PanelCpuGoalPercent;
}

} // namespace

Cases hydroCases()
{
    return {
        {QStringLiteral("parameters: list build against its wire time and pauses"), listBuild},
        {QStringLiteral("hydraulics: continuous reading for 30 s"), continuousReading},
    };
}

} // namespace bench
