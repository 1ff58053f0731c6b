#include "vprinter/command_line.h"

#include <QCommandLineParser>
#include <functional>
#include <limits>
#include <optional>
#include <vector>

namespace vp
{

namespace
{

const char Description[] =
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
    "A print uses the mark as it was when the print began. A command that changes the mark\n"
    "while it prints, or a print start during a print, is a protocol warning, logged as\n"
    "\"vprinter: protocol warning at byte N: ...\"; at exit \"vprinter: K protocol warnings\"\n"
    "is the line before the protocol error count.";

// Takes the option's value (empty for a flag) into the options; false when it is refused.
using Apply = std::function<bool(const QString &value, FrontendOptions &)>;

struct OptionRow {
    QCommandLineOption option;
    Apply apply;
};

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

// A value among fixed words, or none.
template <typename T>
std::optional<T> oneOf(const QString &value,
                       std::initializer_list<std::pair<const char *, T>> words)
{
    for (const auto &[word, meaning] : words)
        if (value == QLatin1String(word))
            return meaning;
    return std::nullopt;
}

Apply byteIndex(qint64 Faults::*member)
{
    return [member](const QString &value, FrontendOptions &o) {
        return numberIn(value, 0, std::numeric_limits<qint64>::max(), o.faults.*member);
    };
}

Apply chance(double Faults::*member)
{
    return [member](const QString &value, FrontendOptions &o) {
        bool ok = false;
        const double rate = value.toDouble(&ok);
        o.faults.*member = rate;
        return ok && rate >= 0 && rate <= 1;
    };
}

Apply flag(std::function<void(FrontendOptions &)> set)
{
    return [set](const QString &, FrontendOptions &o) {
        set(o);
        return true;
    };
}

QCommandLineOption valued(const char *name, const char *valueName, const char *help)
{
    return {QString::fromLatin1(name), QString::fromLatin1(help), QString::fromLatin1(valueName)};
}

QCommandLineOption plain(const char *name, const char *help)
{
    return {QString::fromLatin1(name), QString::fromLatin1(help)};
}

std::vector<OptionRow> optionRows()
{
    return {
        {valued("link", "PATH",
                "also make PATH a symlink to it (replaced if present, removed at exit)"),
         [](const QString &value, FrontendOptions &o) {
             o.linkPath = value;
             return !value.isEmpty();
         }},
        {valued("speed", "BPS",
                "the device's own line speed (default 57600); it answers only when the station "
                "set this speed on the line"),
         [](const QString &value, FrontendOptions &o) {
             qint64 n = 0;
             const bool ok = numberIn(value, 1, 115200, n) && isLineSpeed(n);
             o.speed = ok ? int(n) : o.speed;
             return ok;
         }},
        {plain("pace", "bytes take their time on the line, 10 bits a byte; a byte counts with the "
                       "line settings in force when its last bit arrives, so one still on the line "
                       "when the station changes speed or closes the port arrives garbled"),
         flag([](FrontendOptions &o) { o.pace = true; })},
        {valued("kind", "KIND",
                "printer (default), via-depot (a printer behind a Depot unit), depot (a Depot "
                "unit alone) or none (echoes, nothing answers)"),
         [](const QString &value, FrontendOptions &o) {
             const std::optional<Kind> kind = oneOf<Kind>(value, {{"printer", Kind::Printer},
                                                                  {"via-depot", Kind::ViaDepot},
                                                                  {"depot", Kind::Depot},
                                                                  {"none", Kind::None}});
             o.kind = kind.value_or(o.kind);
             return kind.has_value();
         }},
        {valued("printers", "N", "printers sharing the line, 1..6 (default 1)"),
         [](const QString &value, FrontendOptions &o) {
             qint64 n = 0;
             const bool ok = numberIn(value, 1, 6, n);
             o.printers = ok ? int(n) : o.printers;
             return ok;
         }},
        {valued("drop-echo-at", "N", "send no echo for received byte N (counting from 0)"),
         byteIndex(&Faults::dropEchoAt)},
        {valued("wrong-echo-at", "N", "send a wrong echo for received byte N"),
         byteIndex(&Faults::wrongEchoAt)},
        {valued("drop-echo-rate", "R", "drop each echo with the chance R (0..1), at random"),
         chance(&Faults::dropEchoRate)},
        {valued("wrong-echo-rate", "R", "send each echo wrong with the chance R (0..1), at random"),
         chance(&Faults::wrongEchoRate)},
        {valued("echo-seed", "N",
                "which echoes the random faults hit (default 0): a run with the same seed and the "
                "same bytes repeats; the count injected is reported"),
         [](const QString &value, FrontendOptions &o) {
             bool ok = false;
             o.faults.echoSeed = value.toULongLong(&ok);
             return ok;
         }},
        {valued("products-per-minute", "N",
                "a product sensor: while the printer runs (after Start), N products a minute "
                "(1..6000) pass and each gets one print; a print start prints one at once"),
         [](const QString &value, FrontendOptions &o) {
             qint64 n = 0;
             const bool ok = numberIn(value, 1, 6000, n);
             o.productsPerMinute = ok ? int(n) : o.productsPerMinute;
             return ok;
         }},
        {valued("print-speed", "COLUMNS",
                "the line speed in mark columns a second (1..1000000, default 2000: a 100-column "
                "mark prints for 50 ms); status bit 0 is set while a mark prints"),
         [](const QString &value, FrontendOptions &o) {
             qint64 n = 0;
             const bool ok = numberIn(value, 1, 1000000, n);
             o.columnsPerSecond = ok ? int(n) : o.columnsPerSecond;
             return ok;
         }},
        {valued("print-log", "FILE",
                "append one line per print to FILE: the UTC time its print ended, the print count "
                "and the texts of the mark's cells as the print began, tab-separated"),
         [](const QString &value, FrontendOptions &o) {
             o.printLogPath = value;
             return !value.isEmpty();
         }},
        {plain("silent", "send nothing at all"),
         flag([](FrontendOptions &o) { o.faults.silent = true; })},
        {valued("names-fault", "KIND",
                "names lists of both stores malformed: over-count (300 entries, the count byte "
                "wrapped) or truncated (the reply stops within its last entry)"),
         [](const QString &value, FrontendOptions &o) {
             const std::optional<NamesFault> fault =
                 oneOf<NamesFault>(value, {{"over-count", NamesFault::OverCount},
                                           {"truncated", NamesFault::Truncated}});
             o.faults.names = fault.value_or(o.faults.names);
             return fault.has_value();
         }},
    };
}

QCommandLineOption helpOption()
{
    return plain("help", "show this text");
}

void setUp(QCommandLineParser &parser, const std::vector<OptionRow> &rows)
{
    parser.setApplicationDescription(QString::fromLatin1(Description));
    for (const OptionRow &row : rows)
        parser.addOption(row.option);
    parser.addOption(helpOption());
}

} // namespace

Parsed parseCommandLine(const QStringList &arguments, FrontendOptions &options, QString &error)
{
    const std::vector<OptionRow> rows = optionRows();
    QCommandLineParser parser;
    setUp(parser, rows);
    if (!parser.parse(arguments)) {
        error = parser.errorText();
        return Parsed::Bad;
    }
    if (parser.isSet(helpOption()))
        return Parsed::Help;
    if (!parser.positionalArguments().isEmpty()) {
        error = QStringLiteral("unknown argument \"%1\"").arg(parser.positionalArguments()[0]);
        return Parsed::Bad;
    }
    for (const OptionRow &row : rows) {
        if (!parser.isSet(row.option))
            continue;
        const QString value =
            row.option.valueName().isEmpty() ? QString() : parser.value(row.option);
        if (!row.apply(value, options)) {
            error = QStringLiteral("--%1: bad value \"%2\"").arg(row.option.names()[0], value);
            return Parsed::Bad;
        }
    }
    return Parsed::Run;
}

QString commandLineHelp()
{
    QCommandLineParser parser;
    setUp(parser, optionRows());
    return parser.helpText();
}

} // namespace vp
