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

QString settingWords()
{
    QStringList words;
    for (const vlink::HydroEntered which :
         {vlink::HydroEntered::Bias, vlink::HydroEntered::Threshold,
          vlink::HydroEntered::WorkPressure})
        words << QString::fromLatin1(vlink::hydroSetting(which).word);
    return words.join(u'|');
}

// The value dialogs' channels, ranges and refusals: a production line's script is held to what an
// operator may enter.
Action hydroSet(const QStringList &args, QString &problem)
{
    problem = argCountProblem(args, 2);
    if (!problem.isEmpty())
        return {};
    const vlink::HydroSetting *setting = vlink::hydroSetting(args[0]);
    if (!setting) {
        problem = QStringLiteral("\"%1\" is not one of %2 (or its channel 42, 43, 47)")
                      .arg(args[0], settingWords());
        return {};
    }
    int value = 0;
    problem = vlink::hydroValueRefusal(*setting, args[1], value);
    if (!problem.isEmpty())
        return {};
    const vlink::HydroAction &action = vlink::hydroAction(setting->action);
    return [&action, v = vlink::hydroValueByte(*setting, value)](Context &ctx) {
        const QStringList shown = vlink::HydroChannelWrite(ctx.port, action.channel, v,
                                                           QString::fromLatin1(action.failureText));
        return shown.isEmpty() ? succeeded() : failed(shown.join(u'\n'));
    };
}

} // namespace

Commands hydroCommands()
{
    return {
        {"params", "", "all 13 parameters, one \"LETTER VALUE NAME\" line each", params},
        {"hydro-read", "", "prints the 14 hydraulic rows as \"NUMBER NAME VALUE\"", hydroRead},
        {"hydro-set", "bias|threshold|pressure VALUE",
         "sets a value as its dialog does (bias 0..30, threshold 0..60, pressure 80..200)",
         hydroSet},
        plainCommand("hydro-power", "switch the hydraulic system's power",
                     PrinterCommand::HydroPower),
    };
}

} // namespace vuvactl
