#include "app/vuvactl_commands.h"
#include "link/machine_commands.h"
#include "link/printer_clock.h"

#include <QDateTime>

namespace vuvactl
{

namespace
{

// The printer's clock from the computer's, as the station's "LoadDateTime" sets it, then read
// back: lines that keep many printers on one time check each.
Action clockSync(const QStringList &args, QString &problem)
{
    problem = argCountProblem(args, 0);
    if (!problem.isEmpty())
        return {};
    return [](Context &ctx) {
        if (const auto failedSet = vlink::ClockSetFrom(ctx.port, QDateTime::currentDateTime()))
            return failed(*failedSet);
        vlink::TimeParams params{};
        if (!vlink::TimeParamsRead(ctx.port, params))
            return failed(vlink::PrinterCommand::TimeParamsRead);
        ctx.out << vlink::clockText(params) << '\n';
        return succeeded();
    };
}

} // namespace

Commands clockCommands()
{
    return {{"clock-sync", "",
             "set the printer's clock from this computer's; prints it as YYYY-MM-DD HH:MM:SS",
             clockSync}};
}

} // namespace vuvactl
