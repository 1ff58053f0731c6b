#include "app/vuvactl_commands.h"
#include "link/codepage.h"
#include "link/mark_commands.h"
#include "link/mark_field_checks.h"
#include "link/settings_file.h"

#include <QCoreApplication>
#include <QDir>
#include <optional>

namespace vuvactl
{

namespace
{

using vlink::CodePage;
using vlink::PrinterCommand;

struct Cell {
    int row = 0;
    int column = 0;
};

// ROW and COL as the editors keep them: 1..4 and 1..8.
std::optional<Cell> cellFrom(const QString &row, const QString &column, QString &problem)
{
    const auto r = wholeNumber(row, 1, 4);
    const auto c = wholeNumber(column, 1, 8);
    if (!r)
        problem = QStringLiteral("ROW must be 1..4");
    else if (!c)
        problem = QStringLiteral("COL must be 1..8");
    if (!r || !c)
        return std::nullopt;
    return Cell{*r, *c};
}

Action fragmentRead(const QStringList &args, QString &problem)
{
    problem = argCountProblem(args, 2);
    if (!problem.isEmpty())
        return {};
    const auto cell = cellFrom(args[0], args[1], problem);
    if (!cell)
        return {};
    return [cell = *cell](Context &ctx) {
        vlink::Fragment f;
        if (!vlink::TextFragmentRead(ctx.port, cell.row, cell.column, f))
            return failed(PrinterCommand::TextFragmentRead);
        ctx.out << "kind=" << int(f.kind) << " number=" << int(f.number)
                << " text=" << deviceText(f.text) << '\n';
        return succeeded();
    };
}

Action fragmentWrite(const QStringList &args, QString &problem)
{
    problem = argCountProblem(args, 3);
    if (!problem.isEmpty())
        return {};
    const auto cell = cellFrom(args[0], args[1], problem);
    if (!cell)
        return {};
    const QString text = args[2];
    const QByteArray bytes = stationCodePage().encode(text);
    if (refused(vlink::fragmentTypedRefusal(text), problem) ||
        refused(vlink::fragmentBytesRefusal(bytes), problem))
        return {};
    return [cell = *cell, bytes](Context &ctx) {
        if (bytes.isEmpty())
            return check(vlink::TextFragmentDelete(ctx.port, cell.row, cell.column),
                         PrinterCommand::TextFragmentDelete);
        return check(vlink::TextFragmentWrite(ctx.port, cell.row, cell.column, bytes),
                     PrinterCommand::TextFragmentWrite);
    };
}

Action fontSet(const QStringList &args, QString &problem)
{
    problem = argCountProblem(args, 3);
    if (!problem.isEmpty())
        return {};
    // The fonts the "Set Font Size" arrows reach.
    const auto font = wholeNumber(args[0], 0, vlink::SetFontMax);
    if (!font) {
        problem = QStringLiteral("FONT must be a whole number 0..%1").arg(vlink::SetFontMax);
        return {};
    }
    const auto cell = cellFrom(args[1], args[2], problem);
    if (!cell)
        return {};
    return [font = *font, cell = *cell](Context &ctx) {
        return check(vlink::FontSet(ctx.port, font, cell.row, cell.column),
                     PrinterCommand::FontSet);
    };
}

using CellTextCommand = bool (*)(vlink::Port &, int, int, const QByteArray &);
using TextRefusal = vlink::FieldRefusal (*)(const QString &);

// ROW COL TEXT for the counter and the time format, TEXT held to its editor's field check.
Command cellTextCommand(const QString &name, const QString &help, CellTextCommand command,
                        PrinterCommand entry, TextRefusal refusal)
{
    return {name, QStringLiteral("ROW COL TEXT"), help,
            [command, entry, refusal](const QStringList &args, QString &problem) {
                problem = argCountProblem(args, 3);
                if (!problem.isEmpty())
                    return Action();
                const auto cell = cellFrom(args[0], args[1], problem);
                if (!cell || refused(refusal(args[2]), problem))
                    return Action();
                const QString text = args[2];
                return Action([command, entry, cell = *cell, text](Context &ctx) {
                    return check(
                        command(ctx.port, cell.row, cell.column, stationCodePage().encode(text)),
                        entry);
                });
            }};
}

// OFFSET as the post-date editor passes it: four digits, or -1 to keep the day count.
Action postDate(const QStringList &args, QString &problem)
{
    problem = argCountProblem(args, 4);
    if (!problem.isEmpty())
        return {};
    const auto cell = cellFrom(args[0], args[1], problem);
    if (!cell)
        return {};
    QByteArray offset = vlink::PostDateOffsetKept;
    if (args[2] != QLatin1String(vlink::PostDateOffsetKept) &&
        refused(vlink::postDateDaysRefusal(args[2], offset), problem))
        return {};
    if (refused(vlink::postDateFormatRefusal(args[3]), problem))
        return {};
    const QString format = args[3];
    return [cell = *cell, offset, format](Context &ctx) {
        return check(vlink::PostDateSet(ctx.port, cell.row, cell.column, offset,
                                        stationCodePage().encode(format)),
                     PrinterCommand::PostDateSet);
    };
}

// G N E S P Q as the special-function dialog checks them: a counter needs its cell, a group count
// alone does not; a zero goes out empty.
Action specFuncWrite(const QStringList &args, QString &problem)
{
    problem = argCountProblem(args, 6);
    if (!problem.isEmpty() || refused(vlink::groupCountRefusal(args[0]), problem))
        return {};
    QStringList texts = args;
    bool counter = false;
    for (int i = 0; i < 4; ++i) {
        if (refused(vlink::specNumberRefusal(vlink::SpecNumber(i), args[i + 1], texts[i + 1]),
                    problem))
            return {};
        counter = counter || !args[i + 1].trimmed().isEmpty();
    }
    if ((counter || !args[5].isEmpty()) && refused(vlink::fragmentNumberRefusal(args[5]), problem))
        return {};
    return [texts](Context &ctx) {
        const CodePage page = stationCodePage();
        const vlink::SpecFuncTexts t{page.encode(texts[0]), page.encode(texts[1]),
                                     page.encode(texts[2]), page.encode(texts[3]),
                                     page.encode(texts[4]), page.encode(texts[5])};
        return check(vlink::SpecFuncWrite(ctx.port, t), PrinterCommand::SpecFuncWrite);
    };
}

Command scriptCommand(const QString &name, const QString &help,
                      bool (*read)(vlink::Port &, QByteArray &), PrinterCommand entry)
{
    return {name, {}, help, [read, entry](const QStringList &args, QString &problem) {
                problem = argCountProblem(args, 0);
                if (!problem.isEmpty())
                    return Action();
                return Action([read, entry](Context &ctx) {
                    QByteArray script;
                    if (!read(ctx.port, script))
                        return failed(entry);
                    ctx.out << deviceText(script) << '\n';
                    return succeeded();
                });
            }};
}

Action storedMark(const QStringList &args, QString &problem)
{
    problem = argCountProblem(args, 2);
    if (!problem.isEmpty())
        return {};
    const auto op = wholeNumber(args[0], 0, 2);
    const auto number = wholeNumber(args[1], 0, vlink::StoredMarkCount - 1);
    if (!op || !number) {
        problem = !op ? QStringLiteral("OP must be 0 (MarkRead), 1 (MarkReadFromStorage) or 2 "
                                       "(MarkWriteToStorage)")
                      : QStringLiteral("NUMBER must be 0..63");
        return {};
    }
    return [op = vlink::StoredMarkOp(*op), number = *number](Context &ctx) {
        return check(vlink::StoredMark(ctx.port, op, number), PrinterCommand::StoredMark);
    };
}

Action markLoad(const QStringList &args, QString &problem)
{
    problem = argCountProblem(args, 3);
    if (!problem.isEmpty())
        return {};
    const auto logo = wholeNumber(args[0], 0, 255);
    if (!logo) {
        problem = QStringLiteral("LOGO must be 0..255");
        return {};
    }
    const auto cell = cellFrom(args[2], args[1], problem);
    if (!cell)
        return {};
    return [logo = quint8(*logo), cell = *cell](Context &ctx) {
        return check(vlink::MarkLoad(ctx.port, logo, cell.column, cell.row),
                     PrinterCommand::MarkLoad);
    };
}

} // namespace

Commands markCommands()
{
    return {
        {"fragment-read", "ROW COL", "prints \"kind=K number=N text=TEXT\"", fragmentRead},
        {"fragment-write", "ROW COL TEXT",
         "write a fragment of up to 37 characters (\"\" deletes it)", fragmentWrite},
        {"font-set", "FONT ROW COL", "set a fragment's font (0..9)", fontSet},
        cellTextCommand(
            "counter-set", "make a counter with this initial value", vlink::CounterSet,
            PrinterCommand::CounterSet,
            [](const QString &t) { return vlink::counterValueRefusal(t, stationCodePage()); }),
        cellTextCommand("time-format", "make a time and date with this format",
                        vlink::TimeFormatSet, PrinterCommand::TimeFormatSet,
                        vlink::timeFormatRefusal),
        {"post-date", "ROW COL OFFSET FORMAT", "make a post date (OFFSET -1 keeps the days)",
         postDate},
        {"spec-func-write", "G N E S P Q", "write the special function (\"\" for an empty text)",
         specFuncWrite},
        scriptCommand("spec-func-read", "prints the script (plain reads)", vlink::SpecFuncRead,
                      PrinterCommand::SpecFuncRead),
        scriptCommand("script-read", "prints the script (each byte echoed)", vlink::ScriptRead,
                      PrinterCommand::ScriptRead),
        {"stored-mark", "OP NUMBER", "0 MarkRead, 1 MarkReadFromStorage, 2 MarkWriteToStorage",
         storedMark},
        {"mark-load", "LOGO COL ROW", "place a logo into the mark", markLoad},
    };
}

} // namespace vuvactl
