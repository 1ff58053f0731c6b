#include "app/vuvactl_commands.h"
#include "link/exchange.h"
#include "link/machine_commands.h"

#include <QDate>
#include <QRegularExpression>
#include <QTime>

namespace vuvactl
{

namespace
{

using vlink::Port;

bool allDigits(const QString &text)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    return digits.match(text).hasMatch();
}

// One of the 13 parameter codes, in either case. Any other letter after 0x0C would start another
// command (0x0C "A" sets the auto-run period, 0x0C "N" the running-number direction).
bool paramCode(const QString &text, quint8 &code, QString &problem)
{
    const QString letter = text.toUpper();
    for (char c : vlink::ParamCodes) {
        if (letter == QLatin1Char(c)) {
            code = quint8(c);
            return true;
        }
    }
    QString codes;
    for (char c : vlink::ParamCodes)
        codes += QLatin1Char(c);
    problem = QStringLiteral("\"%1\" is not a parameter code (one of %2)").arg(text, codes);
    return false;
}

Action autoRunPeriod(const QStringList &args, QString &problem)
{
    problem = argCountProblem(args, 1);
    if (!problem.isEmpty())
        return {};
    // The command's own rule: the text goes out trimmed and padded to three digits, however
    // long; a range is the dialog's business.
    const QByteArray period = args[0].toLatin1();
    const QByteArray trimmed = vlink::TrimText(period);
    if (!trimmed.isEmpty() && !allDigits(QString::fromLatin1(trimmed))) {
        problem = QStringLiteral("the period must be digits");
        return {};
    }
    return [period](Context &ctx) {
        return check(vlink::AutoRunPeriodSet(ctx.port, period), "Error");
    };
}

Action paramsRead(const QStringList &args, QString &problem)
{
    quint8 code = 0;
    problem = argCountProblem(args, 1);
    if (!problem.isEmpty() || !paramCode(args[0], code, problem))
        return {};
    return [code](Context &ctx) {
        quint8 value = 0;
        if (!vlink::ParamsRead(ctx.port, code, value))
            return failed(QStringLiteral("ParamsRead Error"));
        ctx.out << value << '\n';
        return succeeded();
    };
}

// The parameter window's Cancel names the opposite direction in its texts; kept as the station
// shows them.
Action paramsStep(const QStringList &args, QString &problem)
{
    quint8 code = 0;
    problem = argCountProblem(args, 2);
    if (!problem.isEmpty() || !paramCode(args[0], code, problem))
        return {};
    const bool up = args[1] == QLatin1String("up");
    if (!up && args[1] != QLatin1String("down")) {
        problem = QStringLiteral("\"%1\" is not one of up|down").arg(args[1]);
        return {};
    }
    return [code, up](Context &ctx) {
        quint8 value = 0;
        const bool ok = up ? vlink::ParamsIncrease(ctx.port, code, value)
                           : vlink::ParamsDecrease(ctx.port, code, value);
        if (!ok)
            return failed(up ? QStringLiteral("ParamsDecrease Error")
                             : QStringLiteral("ParamsIcrease Error"));
        ctx.out << value << '\n';
        return succeeded();
    };
}

Action statusByte(const QStringList &args, QString &problem)
{
    problem = argCountProblem(args, 0);
    if (!problem.isEmpty())
        return {};
    return [](Context &ctx) {
        quint8 value = 0;
        if (!vlink::ByteStatusRead(ctx.port, value))
            return failed(QStringLiteral("ByteStatusRead Error"));
        ctx.out << value << '\n';
        return succeeded();
    };
}

bool validTime(const QString &hhmmss)
{
    return hhmmss.size() == 6 && allDigits(hhmmss) &&
           QTime(hhmmss.left(2).toInt(), hhmmss.mid(2, 2).toInt(), hhmmss.mid(4, 2).toInt())
               .isValid();
}

bool validDate(const QString &ddmmyy)
{
    return ddmmyy.size() == 6 && allDigits(ddmmyy) &&
           QDate(2000 + ddmmyy.mid(4, 2).toInt(), ddmmyy.mid(2, 2).toInt(), ddmmyy.left(2).toInt())
               .isValid();
}

// The printer takes any six characters; a clock set to "99" hours is refused here instead.
Action clockSet(const QStringList &args, QString &problem, bool date)
{
    problem = argCountProblem(args, 1);
    if (!problem.isEmpty())
        return {};
    if (!(date ? validDate(args[0]) : validTime(args[0]))) {
        problem = date ? QStringLiteral("the date must be DDMMYY, e.g. 311226")
                       : QStringLiteral("the time must be HHMMSS, e.g. 235959");
        return {};
    }
    const QByteArray digits = args[0].toLatin1();
    return [digits, date](Context &ctx) {
        return date ? check(vlink::DateSet(ctx.port, digits), "Date Set Error")
                    : check(vlink::TimeSet(ctx.port, digits), "Time Set Error");
    };
}

Action timeParams(const QStringList &args, QString &problem)
{
    problem = argCountProblem(args, 0);
    if (!problem.isEmpty())
        return {};
    return [](Context &ctx) {
        vlink::TimeParams params{};
        int filled = 0;
        if (!vlink::TimeParamsRead(ctx.port, params, filled))
            return failed(QStringLiteral("TimeParamsRead Error"));
        QStringList values;
        for (int i = 0; i < filled; ++i)
            values << QString::number(params[i]);
        ctx.out << values.join(u' ') << '\n';
        return succeeded();
    };
}

} // namespace

Commands machineCommands()
{
    using namespace vlink;
    return {
        plainCommand("start", "start printing", StartCommand, "Start Command Error"),
        plainCommand("stop", "stop printing", StopCommand, "Stop Command Error"),
        plainCommand("print-start", "start printing a mark", PrintStart, "PrintStart Error"),
        plainCommand("high-voltage", "switch the high voltage", HighVoltageTurn,
                     "HighVoltageTurn Error"),
        plainCommand("reset", "reset the printer", Reset, "Reset Error"),
        plainCommand("running-number-reset", "set the running numbers back", RunningNumberReset,
                     "RunningNumberReset Error"),
        plainCommand("autorun-stop", "stop the auto-run", AutoRunStop, "AutoRun Stop Error"),
        plainCommand("mark-delete", "delete the current mark", MarkDelete, "Mark not delete"),
        {"autorun-period", "TEXT", "set the auto-run period (digits, sent padded to three)",
         autoRunPeriod},
        choiceCommand("running-number", "running-number direction",
                      {{"forward", RunningNumberForward, "RunningNumberDirectionSet Error"},
                       {"back", RunningNumberBack, "RunningNumberDirectionSet Error"}}),
        choiceCommand("mark-print", "mark print direction",
                      {{"forward", MarkPrintForward, "MarkPrintDirection Set Error"},
                       {"back", MarkPrintBack, "MarkPrintDirection Set Error"}}),
        choiceCommand("break-point-corr", "break-point correction",
                      {{"on", MarkBreakPointCorrOn, "MarkBreakPointCorr On Error"},
                       {"off", MarkBreakPointCorrOff, "MarkBreakPointCorr On Error"}}),
        choiceCommand("rotate", "vertical mirroring of the mark",
                      {{"on", MarkRotateOn, "MarkRotateOn Set Error"},
                       {"off", MarkRotateOff, "MarkRotateOn Set Error"}}),
        {"params-read", "LETTER", "prints the value in decimal", paramsRead},
        {"params-step", "LETTER up|down", "one step; prints the new value", paramsStep},
        {"status-byte", "", "prints the value in decimal", statusByte},
        {"time-set", "HHMMSS", "set the printer's clock",
         [](const QStringList &a, QString &p) { return clockSet(a, p, false); }},
        {"date-set", "DDMMYY", "set the printer's date",
         [](const QStringList &a, QString &p) { return clockSet(a, p, true); }},
        {"time-params", "", "prints the time parameter bytes in decimal", timeParams},
    };
}

} // namespace vuvactl
