// The virtual printer on a pseudo-terminal: prints the device file to open, then serves the line
// until SIGINT, SIGTERM or SIGHUP, and reports the station's protocol errors on stderr.

#include "vprinter/pty_frontend.h"

#include <QStringList>
#include <csignal>
#include <cstdio>
#include <limits>
#include <optional>
#include <sys/signalfd.h>
#include <unistd.h>

namespace
{

const char Usage[] =
    "Usage: vprinter [OPTION...]\n"
    "A virtual marking printer on a pseudo-terminal. The first line on stdout is the device\n"
    "file to open as the printer's serial port.\n"
    "\n"
    "It checks the station: every deviation from the exchange (a byte at another speed or line\n"
    "format than the device's, a missing echo or acknowledgement, a byte where none belongs, a\n"
    "command cut off) is a protocol error, logged on stderr as \"vprinter: protocol error at\n"
    "byte N: ...\" (N counts the bytes the device took). At exit the last line on stderr is\n"
    "\"vprinter: K protocol errors\".\n"
    "\n"
    "The mark image read (0x07 0x08 0x08) renders the current mark as the printer prints it,\n"
    "at most 32 dots high. Texts, counters and special functions print their text in the\n"
    "built-in 5 x 7 dot font: font F is 7 x (1 + F % 4) dots high with dots 1 + F / 4 columns\n"
    "wide, one blank column between characters; characters outside 0x20..0x7E print as a box.\n"
    "Time and date fragments print their format at the printer's clock, post dates at the clock\n"
    "plus the day count (DD MM YY YYYY HH XX SS, WW week, UUU day of the year; other characters\n"
    "as they are). Graphics print the stored logo; a free logo prints nothing. The cells of a\n"
    "row stand side by side on the row's bottom, 2 blank columns apart; the rows stack from row\n"
    "1 at the top, 1 blank dot apart; what rises above 32 dots is cut at the bottom and what is\n"
    "wider than 5120 bytes allow at the right. A clear mark answers rows 0 and width 0.\n"
    "\n"
    "  --link PATH          also make PATH a symlink to it (replaced if present, removed at exit)\n"
    "  --speed BPS          the device's own line speed (default 57600); it answers only when\n"
    "                       the station set this speed on the line\n"
    "  --pace               bytes take their time on the line, 10 bits a byte; a byte counts\n"
    "                       with the line settings in force when its last bit arrives, so one\n"
    "                       still on the line when the station changes speed or closes the\n"
    "                       port arrives garbled\n"
    "  --kind KIND          printer (default), via-depot (a printer behind a Depot unit),\n"
    "                       depot (a Depot unit alone) or none (echoes, nothing answers)\n"
    "  --printers N         printers sharing the line, 1..6 (default 1)\n"
    "  --drop-echo-at N     send no echo for received byte N (counting from 0)\n"
    "  --wrong-echo-at N    send a wrong echo for received byte N\n"
    "  --drop-echo-rate R   drop each echo with the chance R (0..1), at random\n"
    "  --wrong-echo-rate R  send each echo wrong with the chance R (0..1), at random\n"
    "  --echo-seed N        which echoes the random faults hit (default 0): a run with the same\n"
    "                       seed and the same bytes repeats; the count injected is reported\n"
    "  --silent             send nothing at all\n"
    "  --names-fault KIND   names lists of both stores malformed: over-count (300 entries, the\n"
    "                       count byte wrapped) or truncated (the reply stops within its\n"
    "                       last entry)\n"
    "  --help               show this text\n";

enum class Parsed { Run, Help, Bad };

std::optional<vp::Kind> kindFrom(const QString &name)
{
    if (name == QLatin1String("printer"))
        return vp::Kind::Printer;
    if (name == QLatin1String("via-depot"))
        return vp::Kind::ViaDepot;
    if (name == QLatin1String("depot"))
        return vp::Kind::Depot;
    if (name == QLatin1String("none"))
        return vp::Kind::None;
    return std::nullopt;
}

bool numberIn(const QString &text, qint64 low, qint64 high, qint64 &value)
{
    bool ok = false;
    value = text.toLongLong(&ok);
    return ok && value >= low && value <= high;
}

bool isLineSpeed(qint64 bps)
{
    for (qint64 s : {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200})
        if (bps == s)
            return true;
    return false;
}

// Applies one option that takes a value; false when the value is refused.
bool applyValued(const QString &option, const QString &value, vp::FrontendOptions &options)
{
    qint64 n = 0;
    if (option == QLatin1String("--link")) {
        options.linkPath = value;
        return !value.isEmpty();
    }
    if (option == QLatin1String("--kind")) {
        const std::optional<vp::Kind> kind = kindFrom(value);
        if (!kind)
            return false;
        options.kind = *kind;
        return true;
    }
    if (option == QLatin1String("--names-fault")) {
        if (value == QLatin1String("over-count"))
            options.faults.names = vp::NamesFault::OverCount;
        else if (value == QLatin1String("truncated"))
            options.faults.names = vp::NamesFault::Truncated;
        else
            return false;
        return true;
    }
    if (option == QLatin1String("--speed")) {
        if (!numberIn(value, 1, 115200, n) || !isLineSpeed(n))
            return false;
        options.speed = int(n);
        return true;
    }
    if (option == QLatin1String("--drop-echo-rate") ||
        option == QLatin1String("--wrong-echo-rate")) {
        bool ok = false;
        const double rate = value.toDouble(&ok);
        if (!ok || !(rate >= 0 && rate <= 1))
            return false;
        (option == QLatin1String("--drop-echo-rate") ? options.faults.dropEchoRate
                                                     : options.faults.wrongEchoRate) = rate;
        return true;
    }
    if (option == QLatin1String("--echo-seed")) {
        bool ok = false;
        options.faults.echoSeed = value.toULongLong(&ok);
        return ok;
    }
    if (option == QLatin1String("--printers")) {
        if (!numberIn(value, 1, 6, n))
            return false;
        options.printers = int(n);
        return true;
    }
    qint64 &at = option == QLatin1String("--drop-echo-at") ? options.faults.dropEchoAt
                                                           : options.faults.wrongEchoAt;
    if (!numberIn(value, 0, std::numeric_limits<qint64>::max(), n))
        return false;
    at = n;
    return true;
}

Parsed parse(const QStringList &args, vp::FrontendOptions &options, QString &error)
{
    static const QStringList valued = {"--link",        "--speed",          "--kind",
                                       "--printers",    "--drop-echo-at",   "--wrong-echo-at",
                                       "--names-fault", "--drop-echo-rate", "--wrong-echo-rate",
                                       "--echo-seed"};
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (arg == QLatin1String("--help"))
            return Parsed::Help;
        if (arg == QLatin1String("--pace")) {
            options.pace = true;
        } else if (arg == QLatin1String("--silent")) {
            options.faults.silent = true;
        } else if (valued.contains(arg)) {
            if (i + 1 >= args.size()) {
                error = QStringLiteral("%1 needs a value").arg(arg);
                return Parsed::Bad;
            }
            if (!applyValued(arg, args[++i], options)) {
                error = QStringLiteral("%1: bad value \"%2\"").arg(arg, args[i]);
                return Parsed::Bad;
            }
        } else {
            error = QStringLiteral("unknown option \"%1\"").arg(arg);
            return Parsed::Bad;
        }
    }
    return Parsed::Run;
}

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
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    vp::FrontendOptions options;
    QString error;
    switch (parse(args, options, error)) {
    case Parsed::Help:
        std::fputs(Usage, stdout);
        return 0;
    case Parsed::Bad:
        std::fprintf(stderr, "vprinter: %s\n%s", qPrintable(error), Usage);
        return 2;
    case Parsed::Run:
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
    std::fprintf(stderr, "vprinter: %lld protocol errors\n",
                 qint64(frontend.device().protocolErrors().size()));
    return 0;
}
