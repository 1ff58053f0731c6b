#include "app/vuvactl_commands.h"
#include "link/exchange.h"
#include "link/machine_commands.h"
#include "link/mark_field_checks.h"

#include <QDate>
#include <QRegularExpression>
#include <QTime>

namespace vuvactl
{

namespace
{

using vlink::Port;
using vlink::PrinterCommand;

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
    QByteArray period;
    if (refused(vlink::autoRunPeriodRefusal(args[0], period), problem))
        return {};
    return [period](Context &ctx) {
        return check(vlink::AutoRunPeriodSet(ctx.port, period), PrinterCommand::AutoRunPeriodSet);
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
            return failed(PrinterCommand::ParamsRead);
        ctx.out << value << '\n';
        return succeeded();
    };
}

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
            return failed(up ? PrinterCommand::ParamsIncrease : PrinterCommand::ParamsDecrease);
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
            return failed(PrinterCommand::ByteStatusRead);
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
        return date ? check(vlink::DateSet(ctx.port, digits), PrinterCommand::DateSet)
                    : check(vlink::TimeSet(ctx.port, digits), PrinterCommand::TimeSet);
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
            return failed(PrinterCommand::TimeParamsRead);
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
    using C = PrinterCommand;
    return {
        plainCommand("start", "start printing", C::StartCommand),
        plainCommand("stop", "stop printing", C::StopCommand),
        plainCommand("print-start", "start printing a mark", C::PrintStart),
        plainCommand("high-voltage", "switch the high voltage", C::HighVoltageTurn),
        plainCommand("reset", "reset the printer", C::Reset),
        plainCommand("running-number-reset", "set the running numbers back", C::RunningNumberReset),
        plainCommand("autorun-stop", "stop the auto-run", C::AutoRunStop),
        plainCommand("mark-delete", "delete the current mark", C::MarkDelete),
        {"autorun-period", "PERIOD", "set the auto-run period 0..255 (sent padded to three digits)",
         autoRunPeriod},
        choiceCommand("running-number", "running-number direction",
                      {{"forward", C::RunningNumberForward}, {"back", C::RunningNumberBack}}),
        choiceCommand("mark-print", "mark print direction",
                      {{"forward", C::MarkPrintForward}, {"back", C::MarkPrintBack}}),
        choiceCommand("break-point-corr", "break-point correction",
                      {{"on", C::MarkBreakPointCorrOn}, {"off", C::MarkBreakPointCorrOff}}),
        choiceCommand("rotate", "vertical mirroring of the mark",
                      {{"on", C::MarkRotateOn}, {"off", C::MarkRotateOff}}),
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
