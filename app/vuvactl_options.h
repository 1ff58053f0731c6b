#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// vuvactl's command line: the options before the command; everything after the command is its
// arguments. A new option is one row in app/vuvactl_options.cpp (its help text included).
namespace vuvactl
{

struct Options {
    QString port;
    std::optional<int> speedIndex;
    bool depot = false;
    bool help = false;
    QString command;
    QStringList args;
};

// arguments: the program's own, its name first. A usage problem, empty when there is none.
QString parseOptions(const QStringList &arguments, Options &options);
// The usage and the options, as --help shows them before the commands.
QString optionsHelp();

} // namespace vuvactl
