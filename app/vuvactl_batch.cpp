#include "app/vuvactl_commands.h"
#include "batch/data_file.h"
#include "batch/journal_summary.h"
#include "batch/print_run.h"
#include "batch/record_mapping.h"
#include "batch/sqlite_journal.h"
#include "link/machine_commands.h"
#include "link/printer_clock.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QRegularExpression>
#include <cstdio>

namespace vuvactl
{

namespace
{

struct BatchArgs {
    QString file;
    QString sheet;
    batch::FileMapping mapping;
    bool trigger = false;
    bool resume = false;
    std::optional<bool> reprintUncertain;
    bool journalOnly = false;
    QString job; // loaded before the first record
};

const QCommandLineOption CellOption(QStringLiteral("cell"), {}, QStringLiteral("R,C[=COL][@F]"));
const QCommandLineOption FirstOption(QStringLiteral("first"), {}, QStringLiteral("N"));
const QCommandLineOption LastOption(QStringLiteral("last"), {}, QStringLiteral("N"));
const QCommandLineOption SheetOption(QStringLiteral("sheet"), {}, QStringLiteral("NAME"));
const QCommandLineOption UncertainOption(QStringLiteral("uncertain"), {}, QStringLiteral("WHAT"));
const QCommandLineOption HeaderOption(QStringLiteral("header"));
const QCommandLineOption TriggerOption(QStringLiteral("trigger"));
const QCommandLineOption ResumeOption(QStringLiteral("resume"));
const QCommandLineOption JournalOption(QStringLiteral("journal"));
const QCommandLineOption JobOption(QStringLiteral("job"), {}, QStringLiteral("JOB"));

// "2,3" (the next data column), "2,3=5" (data column 5) or "2,3=5@0" (font 0); the data column
// counts from 1 as a spreadsheet shows it.
std::optional<batch::CellSource> cellSource(const QString &text, int position)
{
    static const QRegularExpression form(
        QStringLiteral("^(\\d),(\\d)(?:=(\\d{1,4}))?(?:@(\\d{1,2}))?$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    batch::CellSource cell;
    cell.row = m.captured(1).toInt();
    cell.column = m.captured(2).toInt();
    cell.dataColumn = m.captured(3).isEmpty() ? position : m.captured(3).toInt() - 1;
    cell.font = m.captured(4).isEmpty() ? 1 : m.captured(4).toInt();
    if (cell.dataColumn < 0)
        return std::nullopt;
    return cell;
}

QString parseMapping(const QCommandLineParser &parser, BatchArgs &a)
{
    const QStringList cells = parser.values(CellOption);
    for (int i = 0; i < cells.size(); ++i) {
        const std::optional<batch::CellSource> cell = cellSource(cells[i], i);
        if (!cell)
            return QStringLiteral("--cell %1: not ROW,COL[=COLUMN][@FONT]").arg(cells[i]);
        a.mapping.cells.append(*cell);
    }
    for (const auto &[option, member] : {std::pair{&FirstOption, &batch::FileMapping::firstRow},
                                         std::pair{&LastOption, &batch::FileMapping::lastRow}}) {
        if (!parser.isSet(*option))
            continue;
        const std::optional<int> n = wholeNumber(parser.value(*option), 1, 1000000);
        if (!n)
            return QStringLiteral("--%1: not a row number").arg(option->names().first());
        a.mapping.*member = *n;
    }
    a.mapping.header = parser.isSet(HeaderOption);
    return {};
}

QString parseBatchArgs(const QStringList &args, BatchArgs &a)
{
    QCommandLineParser parser;
    parser.addOptions({CellOption, FirstOption, LastOption, SheetOption, UncertainOption,
                       HeaderOption, TriggerOption, ResumeOption, JournalOption, JobOption});
    if (!parser.parse(QStringList{QStringLiteral("batch")} + args))
        return parser.errorText();
    if (parser.positionalArguments().size() != 1)
        return QStringLiteral("one data file expected");
    a.file = parser.positionalArguments().first();
    a.journalOnly = parser.isSet(JournalOption);
    if (a.journalOnly)
        return {};
    a.sheet = parser.value(SheetOption);
    a.trigger = parser.isSet(TriggerOption);
    a.resume = parser.isSet(ResumeOption);
    a.job = parser.value(JobOption);
    if (parser.isSet(UncertainOption)) {
        const QString what = parser.value(UncertainOption);
        if (what != QLatin1String("reprint") && what != QLatin1String("skip"))
            return QStringLiteral("--uncertain: reprint or skip");
        if (!a.resume)
            return QStringLiteral("--uncertain goes with --resume");
        a.reprintUncertain = what == QLatin1String("reprint");
    }
    const QString problem = parseMapping(parser, a);
    if (problem.isEmpty() && a.mapping.cells.isEmpty())
        return QStringLiteral("no --cell given");
    return problem;
}

void progressLine(const batch::PrintRun &run)
{
    const batch::RunProgress p = run.progress();
    std::fprintf(stderr, "vuvactl: %d of %d done, %d left, %.1f a minute\n", p.done,
                 int(run.records().size()), p.left, p.perMinute);
}

// Steps the run to its end, sleeping on the line's clock between steps.
void drive(batch::PrintRun &run, vlink::Port &port)
{
    int reported = -1;
    for (int delay = run.step(); delay >= 0; delay = run.step()) {
        if (run.progress().done != reported) {
            reported = run.progress().done;
            progressLine(run);
        }
        if (delay > 0)
            port.sleepUntil(port.now() + std::chrono::milliseconds(delay));
    }
}

QString summary(batch::RunJournal &journal, const batch::PrintRun &run)
{
    int printed = 0;
    int skipped = 0;
    for (const batch::JournalEntry &e : journal.entries(run.runId())) {
        printed += e.state == batch::RecordState::Printed;
        skipped += e.state == batch::RecordState::Skipped;
    }
    QString text = QStringLiteral("%1 printed, %2 skipped, %3 left")
                       .arg(printed)
                       .arg(skipped)
                       .arg(run.records().size() - printed - skipped);
    if (run.progress().mixedPrints > 0)
        text += QStringLiteral("; %1 prints began, or may have begun unseen, while a record was "
                               "written: take those products out")
                    .arg(run.progress().mixedPrints);
    if (run.progress().repeatedPrints > 0)
        text += QStringLiteral("; %1 prints came, or may have come unseen, before the next record "
                               "was written, and repeated the one before: take those products out")
                    .arg(run.progress().repeatedPrints);
    return text;
}

// The uncertain records decided as the command line says, or the reason the run cannot go on.
QString decideUncertain(batch::PrintRun &run, const BatchArgs &a)
{
    if (run.uncertain().isEmpty())
        return {};
    if (!a.reprintUncertain)
        return QStringLiteral("Record %1 was loaded but its print was never seen: --uncertain "
                              "reprint|skip decides")
            .arg(run.uncertain().first() + 1);
    for (int index : run.uncertain())
        if (!run.decide(index, *a.reprintUncertain))
            return run.error();
    return {};
}

struct Prepared {
    batch::RunKey key;
    QList<batch::Record> records;
};

Outcome prepare(const BatchArgs &a, int fontCount, Prepared &p)
{
    batch::DataFileOptions options;
    options.sheet = a.sheet;
    options.codePage = stationCodePage();
    batch::DataFile data;
    QString error;
    if (!batch::readDataFile(a.file, options, data, error))
        return failed(error);
    const batch::DataTable &table = data.content.table;
    const QString problem = batch::mappingError(table, a.mapping, fontCount);
    if (!problem.isEmpty())
        return usageError(problem);
    QList<batch::Refusal> refusals;
    p.records = batch::mapRecords(table, a.mapping, options.codePage, refusals);
    if (!refusals.isEmpty())
        return failed(batch::refusalText(refusals.first()) +
                      (refusals.size() > 1
                           ? QStringLiteral(" (and %1 more)").arg(refusals.size() - 1)
                           : QString()));
    p.key = batch::fileRunKey(data.hash, data.content.sheet, table, a.mapping);
    return succeeded();
}

// The printer's count of text fonts, from its time parameters.
std::optional<int> fontCount(Context &ctx)
{
    vlink::TimeParams params = ctx.connection.timeParams;
    if (!ctx.connection.timeParamsRead && !vlink::TimeParamsRead(ctx.port, params))
        return std::nullopt;
    return vlink::timeParam(params, vlink::TimeParam::FontCount);
}

Outcome runBatch(const BatchArgs &a, Context &ctx)
{
    const std::optional<int> fonts = fontCount(ctx);
    if (!fonts)
        return failed(vlink::PrinterCommand::TimeParamsRead);
    Prepared p;
    if (Outcome o = prepare(a, *fonts, p); o.kind != Outcome::Kind::Ok)
        return o;
    batch::SqliteJournal journal;
    if (!journal.isOpen())
        return failed(journal.error());
    if (journal.unfinishedRun(p.key) && !a.resume)
        return failed(QStringLiteral("This file's run did not finish: --resume goes on with it"));
    if (!a.job.isEmpty()) {
        if (Outcome o = loadJobFile(ctx, a.job); o.kind != Outcome::Kind::Ok)
            return o;
        ctx.out.flush();
    }
    batch::PrintRun run(ctx.port, journal, stationCodePage());
    run.setPacing({a.trigger ? batch::Pacing::StationTriggers : batch::Pacing::ProductSensor});
    if (!run.open(p.key, QFileInfo(a.file).fileName(), p.records))
        return failed(run.error());
    if (const QString why = decideUncertain(run, a); !why.isEmpty())
        return failed(why);
    if (!run.start())
        return failed(run.error());
    drive(run, ctx.port);
    ctx.out << summary(journal, run) << '\n';
    return run.phase() == batch::RunPhase::Finished ? succeeded() : failed(run.error());
}

Outcome printJournal(const BatchArgs &a, Context &ctx)
{
    batch::DataFile data;
    QString error;
    if (!batch::readDataFile(a.file, {QString(), stationCodePage(), {}}, data, error))
        return failed(error);
    batch::SqliteJournal journal;
    const std::optional<batch::RunInfo> run = journal.latestRun(data.hash);
    if (!run)
        return failed(
            journal.error().isEmpty()
                ? QStringLiteral("No run of %1 in the journal %2").arg(a.file, journal.path())
                : journal.error());
    for (const batch::JournalEntry &e : journal.entries(run->id))
        ctx.out << e.index + 1 << '\t' << batch::stateName(e.state) << '\t'
                << e.time.toUTC().toString(Qt::ISODateWithMs) << '\t' << e.texts.join(u'\t')
                << '\n';
    return succeeded();
}

Action bindBatch(const QStringList &args, QString &problem)
{
    BatchArgs a;
    problem = parseBatchArgs(args, a);
    if (!problem.isEmpty())
        return {};
    if (a.journalOnly)
        return [a](Context &ctx) { return printJournal(a, ctx); };
    return [a](Context &ctx) { return runBatch(a, ctx); };
}

} // namespace

Commands batchCommands()
{
    Command batch{"batch",
                  "FILE --cell R,C[=COL][@F]... [--first N] [--last N] [--header] [--sheet NAME] "
                  "[--trigger] [--job JOB] [--resume [--uncertain reprint|skip]] | FILE --journal",
                  "prints one record of FILE per product, paced by the printer, journalled",
                  bindBatch};
    batch.connects = true;
    batch.offlineWith = [](const QStringList &args) {
        return args.contains(QLatin1String("--journal"));
    };
    return {batch};
}

} // namespace vuvactl
