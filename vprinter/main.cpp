// The virtual printer on a pseudo-terminal: prints the device file to open, then serves the line
// until SIGINT, SIGTERM or SIGHUP, and reports the station's protocol errors on stderr.

#include "vprinter/command_line.h"
#include "vprinter/pty_frontend.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>
#include <sys/signalfd.h>
#include <unistd.h>

namespace
{

// The stop signals go to a descriptor the serving loop watches, so no handler and no global
// state is needed. Returns -1 when that cannot be arranged.
int stopSignalFd()
{
    sigset_t set;
    sigemptyset(&set);
    for (int s : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&set, s);
    if (sigprocmask(SIG_BLOCK, &set, nullptr) != 0)
        return -1;
    return signalfd(-1, &set, SFD_CLOEXEC);
}

} // namespace

int main(int argc, char **argv)
{
    const QCoreApplication app(argc, argv);
    vp::FrontendOptions options;
    QString error;
    switch (vp::parseCommandLine(app.arguments(), options, error)) {
    case vp::Parsed::Help:
        std::fputs(qPrintable(vp::commandLineHelp()), stdout);
        return 0;
    case vp::Parsed::Bad:
        std::fprintf(stderr, "vprinter: %s\n%s", qPrintable(error),
                     qPrintable(vp::commandLineHelp()));
        return 2;
    case vp::Parsed::Run:
        break;
    }
    // A reader that went away must not kill us before the link is removed.
    std::signal(SIGPIPE, SIG_IGN);
    const int stopFd = stopSignalFd();
    if (stopFd < 0) {
        std::perror("vprinter: signalfd");
        return 1;
    }
    vp::PtyFrontend frontend(options);
    if (!frontend.open(error)) {
        std::fprintf(stderr, "vprinter: %s\n", qPrintable(error));
        ::close(stopFd);
        return 1;
    }
    std::printf("%s\n", qPrintable(frontend.devicePath()));
    std::fflush(stdout);
    frontend.run(stopFd);
    ::close(stopFd);
    frontend.device().finish();
    if (options.faults.dropEchoRate > 0 || options.faults.wrongEchoRate > 0)
        std::fprintf(stderr, "vprinter: %lld echo faults injected\n",
                     qint64(frontend.device().echoFaultsInjected()));
    std::fprintf(stderr, "vprinter: %lld protocol warnings\n",
                 qint64(frontend.device().protocolWarnings().size()));
    std::fprintf(stderr, "vprinter: %lld protocol errors\n",
                 qint64(frontend.device().protocolErrors().size()));
    return 0;
}
