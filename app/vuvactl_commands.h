#pragma once

#include "link/codepage.h"
#include "link/command_table.h"
#include "link/discovery.h"
#include "link/logo_stores.h"
#include "link/mark_field_checks.h"
#include "link/port.h"

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <functional>
#include <optional>
#include <vector>

// The commands of vuvactl, kept as tables by family: app/vuvactl_machine.cpp,
// app/vuvactl_mark.cpp, app/vuvactl_logos.cpp. A new family defines its table function in a file
// app/vuvactl_<family>.cpp (the build picks it up by name), declares it below and joins
// allCommands() in app/vuvactl_commands.cpp.
namespace vuvactl
{

// How a command ended: exit status 0, 1 (with the station's failure text as the last line on
// stderr) or 2 (a usage error).
struct Outcome {
    enum class Kind { Ok, Failed, Usage };
    Kind kind = Kind::Ok;
    QString text;
};
Outcome succeeded();
Outcome failed(const QString &failureText);
Outcome usageError(const QString &problem);
// Ok when the command succeeded, else its failure text.
Outcome check(bool ok, vlink::PrinterCommand command);
Outcome failed(vlink::PrinterCommand command);

// What an action runs with, once the port is open and the line speed known.
struct Context {
    vlink::Port &port;
    bool depot;       // --depot: logo commands address the Depot unit
    QTextStream &out; // values the command prints, one line each
    // What the station's connect routine found, for a command that asks for it (else only the
    // speed is known).
    const vlink::Connection &connection;
};

// The logo store --depot chooses.
inline vlink::Store storeOf(const Context &ctx)
{
    return ctx.depot ? vlink::Store::Depot : vlink::Store::Printer;
}

// The work of one command, its arguments already checked.
using Action = std::function<Outcome(Context &)>;

struct Command {
    QString name;
    QString args; // e.g. "LETTER up|down", empty when it takes none
    QString help; // one line
    // Checks the arguments before anything touches the line: an action, or none with the reason
    // in problem.
    std::function<Action(const QStringList &args, QString &problem)> bind;
    // The line is taken as the station connects: the whole device detection (with --port the
    // station's ConnectPort on that device), not only the speed.
    bool connects = false;
    // Works on this computer only (the station's settings): no line is opened.
    bool offline = false;
    // Offline for these arguments only (e.g. a command that also just reads a local file).
    std::function<bool(const QStringList &args)> offlineWith{};
    bool isOffline(const QStringList &args) const
    {
        return offline || (offlineWith && offlineWith(args));
    }
    // What --depot refuses in arguments bind took (a number the Depot lacks), checked before the
    // line is taken; empty when it refuses nothing.
    std::function<QString(const QStringList &args)> depotProblem{};
    QString problemUnder(bool depot, const QStringList &args) const
    {
        return depot && depotProblem ? depotProblem(args) : QString();
    }
};
using Commands = std::vector<Command>;

Commands machineCommands();
Commands markCommands();
Commands logoCommands();
Commands markImageCommands();
Commands hydroCommands();
Commands clockCommands();
// Whole logo stores and copies between them: app/vuvactl_store.cpp.
Commands storeCommands();
// The station's settings file: app/vuvactl_settings.cpp.
Commands settingsCommands();
// Batch printing from data files: app/vuvactl_batch.cpp.
Commands batchCommands();
// Jobs on this computer, written to and compared with the printer's mark: app/vuvactl_job.cpp.
Commands jobCommands();
// The job file written into the printer and verified by reading it back, as job-load does.
Outcome loadJobFile(Context &ctx, const QString &path);
// Every family, in the order --help lists them.
Commands allCommands();
const Command *findCommand(const Commands &commands, const QString &name);
// The --help line of a command, e.g. "  params-read LETTER   prints the value in decimal".
QString usageLine(const Command &command);

// Building blocks for the tables.

// A command without arguments that only succeeds or fails.
Command plainCommand(const QString &name, const QString &help, vlink::PrinterCommand command);

struct Choice {
    QString word;
    vlink::PrinterCommand command;
};
// A command with one argument chosen from fixed words, e.g. "on|off".
Command choiceCommand(const QString &name, const QString &help, const std::vector<Choice> &choices);

// The number of arguments a command takes: a problem text when args has another count.
QString argCountProblem(const QStringList &args, int count);

// A field check's refusal as a usage problem: true (with its text in problem) when it refused.
bool refused(const vlink::FieldRefusal &refusal, QString &problem);

// A decimal argument within [low, high]; nothing for anything else, blanks included.
std::optional<int> wholeNumber(const QString &text, int low, int high);
// Texts go to the printer in the code page the station's settings name.
vlink::CodePage stationCodePage();
// Text as the device sent it, decoded in that code page and fit for the terminal: control
// characters are printed escaped. Every print of device text goes through here.
QString deviceText(const QByteArray &bytes);

} // namespace vuvactl
