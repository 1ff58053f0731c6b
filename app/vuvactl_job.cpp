#include "app/vuvactl_commands.h"
#include "job/job_file.h"
#include "job/job_transfer.h"
#include "link/machine_commands.h"
#include "link/printer_clock.h"

#include <QRegularExpression>

namespace vuvactl
{

namespace
{

using vjob::Job;

// ROW,COL=LOGO: the logo a graphic cell places, which the printer does not tell.
bool parseCellLogo(const QString &arg, vjob::CellLogos &logos)
{
    static const QRegularExpression form(QStringLiteral("^([1-4]),([1-8])=(\\d{1,3})$"));
    const QRegularExpressionMatch m = form.match(arg);
    const auto logo = m.hasMatch() ? wholeNumber(m.captured(3), 0, 255) : std::nullopt;
    if (!logo)
        return false;
    logos[Job::index(m.captured(1).toInt(), m.captured(2).toInt())] = *logo;
    return true;
}

// What the saved job could not learn from the printer, for the closing note.
void noteUnknowns(const Job &job, QTextStream &out)
{
    for (int r = 1; r <= vjob::Rows; ++r)
        for (int c = 1; c <= vjob::Columns; ++c)
            if (job.isGraphic(job.cell(r, c)) && !job.cell(r, c).logo)
                out << "cell " << vjob::cellName(r, c)
                    << ": a graphic whose logo is unknown (name it as " << vjob::cellName(r, c)
                    << "=LOGO)\n";
}

Action jobSave(const QStringList &args, QString &problem)
{
    if (args.isEmpty()) {
        problem = QStringLiteral("FILE missing");
        return {};
    }
    vjob::CellLogos logos;
    for (const QString &arg : args.mid(1))
        if (!parseCellLogo(arg, logos)) {
            problem =
                QStringLiteral("%1: a logo is named as ROW,COL=LOGO (1..4, 1..8, 0..255)").arg(arg);
            return {};
        }
    const QString path = args[0];
    return [path, logos](Context &ctx) {
        Job job;
        QString failure;
        if (!vjob::readPrinterJob(ctx.port, logos, job, failure) ||
            !vjob::writeJobFile(path, job, failure))
            return failed(failure);
        noteUnknowns(job, ctx.out);
        ctx.out << "Job saved to " << path << '\n';
        return succeeded();
    };
}

// The job against the printer's mark as it is now; the differences printed.
Outcome compareWithPrinter(Context &ctx, const Job &job, const QString &equalText)
{
    Job found;
    QString failure;
    if (!vjob::readPrinterJob(ctx.port, vjob::placedLogos(job), found, failure))
        return failed(failure);
    const QStringList differences = vjob::jobDifferences(job, found);
    if (differences.isEmpty()) {
        ctx.out << equalText << '\n';
        return succeeded();
    }
    for (const QString &d : differences)
        ctx.out << d << '\n';
    return failed(QStringLiteral("The printer's mark differs from the job: %1 differences listed")
                      .arg(differences.size()));
}

Action withJobFile(const QStringList &args, QString &problem,
                   const std::function<Outcome(Context &, const Job &)> &work)
{
    problem = argCountProblem(args, 1);
    if (!problem.isEmpty())
        return {};
    const QString path = args[0];
    return [path, work](Context &ctx) {
        QString refusal;
        const std::optional<Job> job = vjob::readJobFile(path, refusal);
        return job ? work(ctx, *job) : failed(refusal);
    };
}

Outcome loadJob(Context &ctx, const Job &job)
{
    vlink::TimeParams params{};
    if (!vlink::TimeParamsRead(ctx.port, params))
        return failed(vlink::PrinterCommand::TimeParamsRead);
    if (const QString why =
            vjob::unwritable(job, vlink::timeParam(params, vlink::TimeParam::FontCount));
        !why.isEmpty())
        return failed(why);
    QStringList written;
    QString failure;
    if (!vjob::writeJob(ctx.port, job, written, failure)) {
        ctx.out << "Written before the failure:" << (written.isEmpty() ? " nothing" : "") << '\n';
        for (const QString &step : written)
            ctx.out << "  " << step << '\n';
        return failed(failure);
    }
    return compareWithPrinter(ctx, job, QStringLiteral("Job loaded and verified"));
}

} // namespace

Outcome loadJobFile(Context &ctx, const QString &path)
{
    QString refusal;
    const std::optional<Job> job = vjob::readJobFile(path, refusal);
    return job ? loadJob(ctx, *job) : failed(refusal);
}

Commands jobCommands()
{
    return {
        {"job-save", "FILE [ROW,COL=LOGO...]",
         "save the printer's mark, its logos and picture as a job (name each graphic's logo)",
         jobSave},
        {"job-load", "FILE", "write a job into the printer's mark and verify it by reading back",
         [](const QStringList &args, QString &problem) {
             return withJobFile(args, problem, loadJob);
         }},
        {"job-diff", "FILE", "compare a job with the printer's mark (exit 1 when they differ)",
         [](const QStringList &args, QString &problem) {
             return withJobFile(args, problem, [](Context &ctx, const Job &job) {
                 return compareWithPrinter(ctx, job,
                                           QStringLiteral("The printer's mark equals the job"));
             });
         }},
    };
}

} // namespace vuvactl
