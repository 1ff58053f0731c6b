#include "app/vuvactl_options.h"

#include "link/port.h"

#include <QCommandLineParser>
#include <functional>
#include <vector>

namespace vuvactl
{

namespace
{

const char Description[] =
    "Runs one command of the station on the printer and exits 0 on success, 1 when the command\n"
    "failed (the station's failure text is the last line on stderr), 2 on a usage error.";

struct OptionRow {
    QCommandLineOption option;
    // Takes the option's value (empty for a flag): a problem text when it is refused.
    std::function<QString(const QString &value, Options &)> apply;
};

std::optional<int> speedIndexOf(const QString &bps)
{
    for (int i = 3; i <= 6; ++i)
        if (bps == QString::number(vlink::SpeedTable[i]))
            return i;
    return std::nullopt;
}

std::vector<OptionRow> optionRows()
{
    return {
        {{QStringLiteral("port"),
          QStringLiteral("a device file (a serial device or a pseudo-terminal); without it, the "
                         "station's discovery over COM1..COM6 as its settings file maps them"),
          QStringLiteral("DEVICE")},
         [](const QString &value, Options &o) {
             o.port = value;
             return value.isEmpty() ? QStringLiteral("--port needs a value") : QString();
         }},
        {{QStringLiteral("speed"),
          QStringLiteral("9600|19200|38400|57600: set this line speed and skip speed detection "
                         "(with --port); without it the speed is detected by the 0x0D echo probe "
                         "(57600, 38400, 19200, 9600)"),
          QStringLiteral("BPS")},
         [](const QString &value, Options &o) {
             o.speedIndex = speedIndexOf(value);
             return o.speedIndex ? QString()
                                 : QStringLiteral("--speed must be 9600, 19200, 38400 or 57600");
         }},
        {{QStringLiteral("depot"), QStringLiteral("logo commands address the Depot unit")},
         [](const QString &, Options &o) {
             o.depot = true;
             return QString();
         }},
        {{QStringLiteral("help"), QStringLiteral("show this text")},
         [](const QString &, Options &o) {
             o.help = true;
             return QString();
         }},
    };
}

// The parser knows every row's option; the command and what follows it stay positional.
void setUp(QCommandLineParser &parser, const std::vector<OptionRow> &rows)
{
    parser.setApplicationDescription(QString::fromLatin1(Description));
    for (const OptionRow &row : rows)
        parser.addOption(row.option);
    parser.addPositionalArgument(QStringLiteral("COMMAND"),
                                 QStringLiteral("one of the commands below, with its arguments"),
                                 QStringLiteral("COMMAND [ARG...]"));
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
}

} // namespace

QString parseOptions(const QStringList &arguments, Options &o)
{
    const std::vector<OptionRow> rows = optionRows();
    QCommandLineParser parser;
    setUp(parser, rows);
    if (!parser.parse(arguments))
        return parser.errorText();
    for (const OptionRow &row : rows) {
        if (!parser.isSet(row.option))
            continue;
        const QString value =
            row.option.valueName().isEmpty() ? QString() : parser.value(row.option);
        if (const QString problem = row.apply(value, o); !problem.isEmpty())
            return problem;
    }
    const QStringList positional = parser.positionalArguments();
    if (!positional.isEmpty()) {
        o.command = positional.first();
        o.args = positional.mid(1);
    }
    if (o.speedIndex && o.port.isEmpty() && !o.help)
        return QStringLiteral("--speed needs --port: discovery detects the speed itself");
    return {};
}

QString optionsHelp()
{
    QCommandLineParser parser;
    setUp(parser, optionRows());
    return parser.helpText();
}

} // namespace vuvactl
