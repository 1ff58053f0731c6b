// Ten thousand commands of every family against a printer that drops one echo in a hundred and
// garbles another: a command the fault hit must fail, within its time-outs, and the command after
// it must succeed.

#include "bench/bench.h"
#include "bench/soak_commands.h"
#include "bench/soak_port.h"
#include "link/com_io.h"
#include "link/exchange.h"

#include <QElapsedTimer>
#include <QMap>
#include <QStringList>
#include <cstdio>
#include <random>

namespace bench
{

namespace
{

constexpr int DefaultCommands = 10000;
constexpr double EchoFaultRate = 0.01;
constexpr quint64 DefaultSeed = 20261207;
// After a failed command the operator reads its message: by then the printer has given up the
// command it half received. Less than that, and the next command's bytes would finish the old one.
constexpr int AcknowledgeMs = vp::Device::CutOffQuietMs + 50;
// Scheduling between the station's thread and the printer's.
constexpr double SlackMs = 50;
constexpr int FaultShown = 10;

int envOr(const char *name, int fallback, int lowest = 1)
{
    bool ok = false;
    const int v = qEnvironmentVariableIntValue(name, &ok);
    return ok && v >= lowest ? v : fallback;
}

struct Hit {
    int at;
    QString name;
    double ms;
    int emptyReads;
    int emptyReadMs;
};

struct FaultTally {
    int run = 0;
    int hits = 0;
    QStringList falseSuccesses;
    QStringList nextFailed;
    QStringList otherFailed;
    QList<Hit> hitRuns;
    QMap<QString, double> cleanMaxMs;
    QMap<QString, int> hitsByFamily;
};

// What a hit command may take: its slowest clean run, every read time-out it spent, and the
// pauses between a receive's attempts.
double allowedMs(const FaultTally &t, const Hit &h)
{
    return t.cleanMaxMs.value(h.name) + h.emptyReadMs + h.emptyReads * vlink::ReceiveRetryMs +
           SlackMs;
}

void faultPrintList(const char *what, const QStringList &list)
{
    std::printf("   %s: %lld\n", what, qlonglong(list.size()));
    for (const QString &s : list.mid(0, FaultShown))
        std::printf("     %s\n", qPrintable(s));
}

// Prints the figures; true when the soak met its goal.
bool report(const FaultTally &t, int wanted, qint64 wallMs)
{
    std::printf("   commands %d of %d in %.1f s, %d hit by a fault\n", t.run, wanted,
                wallMs / 1000.0, t.hits);
    for (auto it = t.hitsByFamily.begin(); it != t.hitsByFamily.end(); ++it)
        std::printf("     %-18s %d hit\n", qPrintable(it.key()), it.value());
    faultPrintList("hit but succeeded (false successes)", t.falseSuccesses);
    faultPrintList("failed right after a hit command", t.nextFailed);
    faultPrintList("failed without a fault", t.otherFailed);
    const Hit *longest = nullptr;
    QStringList overTime;
    for (const Hit &h : t.hitRuns) {
        if (!longest || h.ms > longest->ms)
            longest = &h;
        if (h.ms > allowedMs(t, h))
            overTime << QStringLiteral("#%1 %2: %3 ms, allowed %4 ms")
                            .arg(h.at)
                            .arg(h.name)
                            .arg(h.ms, 0, 'f', 1)
                            .arg(allowedMs(t, h), 0, 'f', 1);
    }
    if (longest)
        std::printf("   longest hit command: #%d %s, %.1f ms; its time-outs allow %.1f ms (%d "
                    "empty reads, %d ms of read time-outs, clean runs at most %.1f ms)\n",
                    longest->at, qPrintable(longest->name), longest->ms, allowedMs(t, *longest),
                    longest->emptyReads, longest->emptyReadMs, t.cleanMaxMs.value(longest->name));
    faultPrintList("hit commands longer than their time-outs allow", overTime);
    return t.run == wanted && t.falseSuccesses.isEmpty() && t.nextFailed.isEmpty() &&
           t.otherFailed.isEmpty() && overTime.isEmpty();
}

bool faultSoak()
{
    const int wanted = envOr("VUVA_SOAK_COMMANDS", DefaultCommands);
    const quint64 seed = quint64(envOr("VUVA_SOAK_SEED", int(DefaultSeed)));
    // Shorter, to see what a station that went on at once would meet.
    const int acknowledgeMs = envOr("VUVA_SOAK_ACKNOWLEDGE_MS", AcknowledgeMs, 0);
    vp::FrontendOptions options;
    options.kind = vp::Kind::ViaDepot;
    options.faults.dropEchoRate = EchoFaultRate;
    options.faults.wrongEchoRate = EchoFaultRate;
    options.faults.echoSeed = seed;
    FrontendThread printer(options);
    const std::unique_ptr<vlink::ComIo> opened = openLine(printer.device());
    if (!opened)
        return false;
    vlink::ComIo &line = *opened;
    SoakPort port(line);
    const std::vector<SoakCommand> commands = soakCommands();
    std::mt19937_64 pick(seed);
    std::uniform_int_distribution<std::size_t> any(0, commands.size() - 1);
    std::printf("   %zu commands of every family, unpaced pseudo-terminal at 57600 bit/s, echoes "
                "dropped %.0f %% and garbled %.0f %% (seed %llu), %d ms after each failure\n",
                commands.size(), EchoFaultRate * 100, EchoFaultRate * 100,
                static_cast<unsigned long long>(seed), acknowledgeMs);
    std::fflush(stdout);

    FaultTally t;
    bool lastHit = false;
    QString previous = QStringLiteral("nothing");
    QElapsedTimer wall;
    wall.start();
    for (; t.run < wanted; ++t.run) {
        const SoakCommand &c = commands[any(pick)];
        const qint64 faultsBefore = printer.echoFaultsInjected();
        port.clearCounts();
        QElapsedTimer timer;
        timer.start();
        const bool ok = c.run(port);
        const double ms = timer.nsecsElapsed() / 1e6;
        const bool hit = printer.echoFaultsInjected() > faultsBefore;
        // Enough to tell why a command failed: what ran before it, and how this one went.
        const QString label = QStringLiteral("#%1 %2 (%3 ms, %4 empty reads; after %5)")
                                  .arg(t.run)
                                  .arg(c.name)
                                  .arg(ms, 0, 'f', 1)
                                  .arg(port.emptyReads())
                                  .arg(previous);
        if (hit) {
            ++t.hits;
            ++t.hitsByFamily[c.family];
            t.hitRuns.append({t.run, c.name, ms, port.emptyReads(), port.emptyReadMs()});
            if (ok)
                t.falseSuccesses << label;
        } else if (!ok) {
            (lastHit ? t.nextFailed : t.otherFailed) << label;
        } else {
            t.cleanMaxMs[c.name] = qMax(t.cleanMaxMs.value(c.name), ms);
        }
        lastHit = hit;
        previous = QStringLiteral("%1%2 %3").arg(c.name, hit ? " hit" : "", ok ? "ok" : "failed");
        if (!ok)
            vlink::Delay(qMax(0, acknowledgeMs - port.quietMs()));
    }
    return report(t, wanted, wall.elapsed());
}

} // namespace

Cases faultSoakCases()
{
    return {{QStringLiteral("fault soak: random dropped and garbled echoes"), faultSoak}};
}

} // namespace bench
