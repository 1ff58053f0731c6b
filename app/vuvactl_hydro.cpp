#include "app/vuvactl_commands.h"
#include "link/exchange.h"
#include "link/hydro_commands.h"
#include "link/machine_commands.h"
#include "link/param_names.h"

namespace vuvactl
{

namespace
{

using vlink::PrinterCommand;

Action params(const QStringList &args, QString &problem)
{
    problem = argCountProblem(args, 0);
    if (!problem.isEmpty())
        return {};
    return [](Context &ctx) {
        bool all = true;
        for (const vlink::ParamName &p : vlink::ParamNames) {
            quint8 value = 0;
            const bool read = vlink::ParamsRead(ctx.port, quint8(p.letter), value);
            all = all && read;
            ctx.out << p.letter << ' ' << (read ? QString::number(value) : QString()) << ' '
                    << p.name << '\n';
            // The printer needs the station's pause between two reads.
            vlink::Delay(vlink::ParamPauseMs);
        }
        return all ? succeeded() : failed(PrinterCommand::ParamsRead);
    };
}

Outcome readRows(Context &ctx)
{
    QByteArray text;
    const bool read = vlink::HydroParamsRead(ctx.port, text);
    const std::optional<vlink::HydroValues> values =
        read ? vlink::DecodeHydroText(text) : std::nullopt;
    if (!values)
        return failed(PrinterCommand::HydroParamsRead);
    for (int r = 0; r < vlink::HydroRowCount; ++r) {
        const vlink::HydroRow &row = vlink::hydroRows()[std::size_t(r)];
        ctx.out << row.number << ' ' << row.name << ' ' << (*values)[std::size_t(r)] << '\n';
    }
    return succeeded();
}

Action hydroRead(const QStringList &args, QString &problem)
{
    problem = argCountProblem(args, 0);
    if (!problem.isEmpty())
        return {};
    return [](Context &ctx) {
        if (!vlink::KeyBoardChanelOpen(ctx.port))
            return failed(PrinterCommand::KeyBoardChanelOpen);
        Outcome outcome = readRows(ctx);
        if (!vlink::KeyBoardChanelClose(ctx.port)) {
            const QString close = vlink::failureText(PrinterCommand::KeyBoardChanelClose);
            outcome = failed(outcome.text.isEmpty() ? close : outcome.text + u'\n' + close);
        }
        return outcome;
    };
}

// A raw byte, in decimal or as 0xHH.
std::optional<int> rawByte(const QString &text)
{
    if (!text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        return wholeNumber(text, 0, 255);
    bool ok = false;
    const int n = text.mid(2).toInt(&ok, 16);
    if (!ok || n < 0 || n > 255 || text.size() > 4)
        return std::nullopt;
    return n;
}

Action hydroSet(const QStringList &args, QString &problem)
{
    problem = argCountProblem(args, 2);
    if (!problem.isEmpty())
        return {};
    const std::optional<int> channel = rawByte(args[0]);
    const std::optional<int> value = rawByte(args[1]);
    if (!channel || !value) {
        problem = QStringLiteral("\"%1\" is not a byte (0..255 or 0x00..0xFF)")
                      .arg(channel ? args[1] : args[0]);
        return {};
    }
    return [c = quint8(*channel), v = quint8(*value)](Context &ctx) {
        const QStringList shown = vlink::HydroChannelWrite(
            ctx.port, c, v, vlink::failureText(PrinterCommand::HydroValueWrite));
        return shown.isEmpty() ? succeeded() : failed(shown.join(u'\n'));
    };
}

} // namespace

Commands hydroCommands()
{
    return {
        {"params", "", "all 13 parameters, one \"LETTER VALUE NAME\" line each", params},
        {"hydro-read", "", "prints the 14 hydraulic rows as \"NUMBER NAME VALUE\"", hydroRead},
        {"hydro-set", "CHANNEL VALUE", "sets a hydraulic channel through the keyboard channel",
         hydroSet},
        plainCommand("hydro-power", "switch the hydraulic system's power",
                     PrinterCommand::HydroPower),
    };
}

} // namespace vuvactl
