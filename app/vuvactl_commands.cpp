#include "app/vuvactl_commands.h"

#include "link/printable.h"
#include "link/settings_file.h"
#include "link/settings_location.h"

#include <QCoreApplication>
#include <QDir>

namespace vuvactl
{

namespace
{
constexpr int UsageColumn = 34;
}

Outcome succeeded()
{
    return {};
}

Outcome failed(const QString &failureText)
{
    return {Outcome::Kind::Failed, failureText};
}

Outcome usageError(const QString &problem)
{
    return {Outcome::Kind::Usage, problem};
}

Outcome failed(vlink::PrinterCommand command)
{
    return failed(vlink::failureText(command));
}

Outcome check(bool ok, vlink::PrinterCommand command)
{
    return ok ? succeeded() : failed(command);
}

namespace
{

Outcome run(vlink::PrinterCommand command, vlink::Port &port)
{
    return check(vlink::commandEntry(command).run(port), command);
}

} // namespace

Commands allCommands()
{
    Commands all;
    for (Commands family :
         {machineCommands(), markCommands(), logoCommands(), markImageCommands(), hydroCommands(),
          clockCommands(), storeCommands(), jobCommands(), settingsCommands(), batchCommands()})
        all.insert(all.end(), family.begin(), family.end());
    return all;
}

const Command *findCommand(const Commands &commands, const QString &name)
{
    for (const Command &c : commands)
        if (c.name == name)
            return &c;
    return nullptr;
}

QString usageLine(const Command &command)
{
    QString line = QStringLiteral("  ") + command.name;
    if (!command.args.isEmpty())
        line += u' ' + command.args;
    if (!command.help.isEmpty())
        line = line.leftJustified(UsageColumn - 1) + u' ' + command.help;
    return line;
}

QString argCountProblem(const QStringList &args, int count)
{
    if (args.size() == count)
        return {};
    if (count == 0)
        return QStringLiteral("takes no arguments");
    return args.size() < count ? QStringLiteral("missing argument")
                               : QStringLiteral("too many arguments");
}

Command plainCommand(const QString &name, const QString &help, vlink::PrinterCommand command)
{
    return {name, {}, help, [command](const QStringList &args, QString &problem) {
                problem = argCountProblem(args, 0);
                if (!problem.isEmpty())
                    return Action();
                return Action([command](Context &ctx) { return run(command, ctx.port); });
            }};
}

Command choiceCommand(const QString &name, const QString &help, const std::vector<Choice> &choices)
{
    QStringList words;
    for (const Choice &c : choices)
        words << c.word;
    const QString wordList = words.join(u'|');
    return {name, wordList, help, [choices, wordList](const QStringList &args, QString &problem) {
                problem = argCountProblem(args, 1);
                if (!problem.isEmpty())
                    return Action();
                for (const Choice &c : choices) {
                    if (c.word == args[0]) {
                        return Action([c](Context &ctx) { return run(c.command, ctx.port); });
                    }
                }
                problem = QStringLiteral("\"%1\" is not one of %2").arg(args[0], wordList);
                return Action();
            }};
}

bool refused(const vlink::FieldRefusal &refusal, QString &problem)
{
    if (refusal.refused())
        problem = refusal.text;
    return refusal.refused();
}

std::optional<int> wholeNumber(const QString &text, int low, int high)
{
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n < low || n > high || text.trimmed() != text)
        return std::nullopt;
    return n;
}

vlink::CodePage stationCodePage()
{
    return vlink::CodePage::fromSettings(vlink::SettingsFile(vlink::settingsLocation(
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("vuvazuvevov.dev")))));
}

QString deviceText(const QByteArray &bytes)
{
    return vlink::EscapeControls(stationCodePage().decode(bytes));
}

} // namespace vuvactl
