// A hundred times the printer's end of the line hangs up during a command and comes back: the
// station shows one message, closes the port, idles without spinning, and connects again when the
// operator opens the port menu.

#include "bench/bench.h"
#include "link/command_table.h"
#include "shell/kelm_main.h"
#include "support/modal_driver.h"
#include "support/prompt_recorder.h"

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMenu>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <ctime>
#include <optional>

namespace bench
{

namespace
{

constexpr int DefaultCycles = 100;
constexpr int IdleMs = 1000;
constexpr double UnplugCpuGoalPercent = 5.0;
constexpr int UnplugShown = 10;
// The command the operator gives when the line dies: three echoed bytes, so the hang-up can
// fall on any of them.
constexpr vlink::PrinterCommand Command = vlink::PrinterCommand::RunningNumberForward;
constexpr const char *CommandItem = "Forward1";
constexpr int CommandBytes = 3;

struct CpuShare {
    double station = 0; // the station's thread, in per cent of the wall time
    double process = 0; // with the dead printer's thread
};

// Runs the event loop for ms, as the station idles with its message acknowledged.
CpuShare idleCpu(int ms)
{
    const qint64 thread = threadCpuNs();
    const qint64 process = processCpuNs();
    QElapsedTimer wall;
    wall.start();
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    const double ns = double(wall.nsecsElapsed());
    return {100.0 * double(threadCpuNs() - thread) / ns,
            100.0 * double(processCpuNs() - process) / ns};
}

vp::FrontendOptions printerAt(const QString &link)
{
    vp::FrontendOptions o;
    o.linkPath = link;
    return o;
}

// The station with its files in a temporary folder, COM1 on the printer's link, the rest absent.
struct Station {
    QTemporaryDir dir;
    QString link = dir.filePath(QStringLiteral("printer"));
    vlink::DeviceMap devices = [this] {
        vlink::DeviceMap map;
        for (int i = 0; i < vlink::PortCount; ++i)
            map[std::size_t(i)] = i == 0 ? link : dir.filePath(QStringLiteral("absent%1").arg(i));
        return map;
    }();
    vlink::ComIo port{devices};
    PromptRecorder prompts;
    vui::ModalRunner modal;
    ModalDriver driver{modal};
    std::optional<vshell::TAutoControl> window;

    void start()
    {
        vshell::StationEnvironment env{port, prompts, modal,
                                       dir.filePath(QStringLiteral("vuvazuvevov.dev"))};
        env.lockPath = dir.filePath(QStringLiteral("lock"));
        env.workDir = dir.path();
        env.devices = devices;
        env.endApplication = [] {};
        window.emplace(env);
        window->createStartWindows();
        window->FormActivate();
    }
    void trigger(const char *item)
    {
        window->findChild<QAction *>(QString::fromLatin1(item))->trigger();
        QCoreApplication::processEvents();
    }
    // The port menu opening, as the operator opens it.
    void openPortMenu()
    {
        emit window->findChild<QMenu *>(QStringLiteral("Selectport1"))->aboutToShow();
        QCoreApplication::processEvents();
    }
    bool connected() { return port.isOpen() && window->state().line.connected; }
};

struct UnplugTally {
    int cycles = 0;
    QStringList wrongMessages; // not exactly the command's one failure message
    QStringList leftOpen;
    QStringList notBack;
    double maxCpu = 0;
    double sumCpu = 0;
    double maxProcessCpu = 0;
    double maxFailMs = 0;
};

void unplugPrintList(const char *what, const QStringList &list)
{
    std::printf("   %s: %lld\n", what, qlonglong(list.size()));
    for (const QString &s : list.mid(0, UnplugShown))
        std::printf("     %s\n", qPrintable(s));
}

QString shown(const PromptRecorder::ShownList &messages)
{
    QStringList texts;
    for (const auto &[text, caption] : messages)
        texts << QStringLiteral("\"%1\" (%2)").arg(text, caption);
    return texts.join(QStringLiteral(", "));
}

// One cycle: the line dies during the command, the station idles, the printer comes back and the
// port menu reconnects; the command then succeeds again.
void cycle(Station &s, std::unique_ptr<FrontendThread> &printer, UnplugTally &t)
{
    const QString label = QStringLiteral("cycle %1").arg(t.cycles);
    s.prompts.clear();
    printer->hangUpAt(1 + t.cycles % CommandBytes);
    QElapsedTimer timer;
    timer.start();
    s.trigger(CommandItem);
    t.maxFailMs = qMax(t.maxFailMs, timer.nsecsElapsed() / 1e6);
    const CpuShare cpu = idleCpu(IdleMs);
    t.maxCpu = qMax(t.maxCpu, cpu.station);
    t.sumCpu += cpu.station;
    t.maxProcessCpu = qMax(t.maxProcessCpu, cpu.process);
    const PromptRecorder::Shown failed{vlink::failureText(Command), vui::CaptionError};
    if (s.prompts.messages != PromptRecorder::ShownList{failed})
        t.wrongMessages << label + QStringLiteral(": ") + shown(s.prompts.messages);
    if (s.port.isOpen())
        t.leftOpen << label;

    // The dead printer goes first: its pseudo-terminal's number may come back for the new one.
    printer.reset();
    printer = std::make_unique<FrontendThread>(printerAt(s.link));
    s.prompts.clear();
    s.openPortMenu();
    s.trigger(CommandItem);
    const PromptRecorder::Shown ok{vui::TextOk, vui::CaptionInformation};
    if (!s.connected() || s.prompts.messages != PromptRecorder::ShownList{ok})
        t.notBack << label + QStringLiteral(": ") + shown(s.prompts.messages);
    ++t.cycles;
}

bool unplugSoak()
{
    bool set = false;
    const int wanted = qEnvironmentVariableIntValue("VUVA_SOAK_CYCLES", &set);
    const int cycles = set && wanted > 0 ? wanted : DefaultCycles;
    Station s;
    auto printer = std::make_unique<FrontendThread>(printerAt(s.link));
    s.start();
    if (!s.connected()) {
        std::printf("   the station found no printer at the start\n");
        return false;
    }
    std::printf("   %d cycles of \"%s\", the printer's end hung up at its byte 1..%d, %d ms idle "
                "after each\n",
                cycles, CommandItem, CommandBytes, IdleMs);
    std::fflush(stdout);
    UnplugTally t;
    QElapsedTimer wall;
    wall.start();
    while (t.cycles < cycles)
        cycle(s, printer, t);
    std::printf("   cycles %d in %.1f s; longest failed command %.1f ms\n", t.cycles,
                wall.elapsed() / 1000.0, t.maxFailMs);
    unplugPrintList("cycles without exactly its one failure message", t.wrongMessages);
    unplugPrintList("cycles that left the port open", t.leftOpen);
    unplugPrintList("cycles that did not connect again through the port menu", t.notBack);
    std::printf("   station thread CPU while idle after a hang-up: mean %.2f %%, at most %.2f %% "
                "(goal under %.0f %%); the whole process at most %.2f %%\n",
                t.sumCpu / qMax(t.cycles, 1), t.maxCpu, UnplugCpuGoalPercent, t.maxProcessCpu);
    return t.cycles == cycles && t.wrongMessages.isEmpty() && t.leftOpen.isEmpty() &&
           t.notBack.isEmpty() && t.maxCpu < UnplugCpuGoalPercent;
}

} // namespace

Cases unplugSoakCases()
{
    return {{QStringLiteral("unplug soak: the line hangs up during a command"), unplugSoak}};
}

} // namespace bench
