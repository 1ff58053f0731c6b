#include "shell/job_loader.h"

#include "job/job_file.h"
#include "job/job_transfer.h"
#include "link/command_table.h"
#include "link/logo_commands.h"
#include "link/machine_commands.h"
#include "link/printer_clock.h"
#include "shell/job_difference_form.h"

#include <QFileInfo>

namespace vshell
{

namespace
{

QString writtenList(const QStringList &written)
{
    return written.isEmpty()
               ? QStringLiteral("Nothing was written.")
               : QStringLiteral("Written before the failure:\n") + written.join(QLatin1Char('\n'));
}

} // namespace

bool JobLoader::load(const QString &path, bool tellVerified)
{
    QString problem;
    const std::optional<vjob::Job> job = vjob::readJobFile(path, problem);
    if (!job) {
        prompts_.error(problem);
        return false;
    }
    if (!confirm(path, *job) || !logosMayBeReplaced(*job))
        return false;
    QStringList written;
    QString failure;
    if (!vjob::writeJob(port_, *job, written, failure)) {
        prompts_.error(failure + QStringLiteral("\n\n") + writtenList(written));
        return false;
    }
    return verify(*job, tellVerified);
}

// Asked before anything is sent; a job this printer cannot take is refused here.
bool JobLoader::confirm(const QString &path, const vjob::Job &job)
{
    vlink::TimeParams params{};
    if (!vlink::TimeParamsRead(port_, params)) {
        prompts_.error(vlink::failureText(vlink::PrinterCommand::TimeParamsRead));
        return false;
    }
    if (const QString why =
            vjob::unwritable(job, vlink::timeParam(params, vlink::TimeParam::FontCount));
        !why.isEmpty()) {
        prompts_.error(why);
        return false;
    }
    return prompts_.question(QStringLiteral("Mark overwrite with the job \"%1\". Are You Sure?")
                                 .arg(QFileInfo(path).completeBaseName()),
                             vui::CaptionConfirm);
}

// A logo number that holds another logo is overwritten only when the operator says so; every
// question is asked before the first byte of the job goes out.
bool JobLoader::logosMayBeReplaced(const vjob::Job &job)
{
    if (job.logos.empty())
        return true;
    vlink::LogoNames names;
    vlink::NamesRead result = vlink::NamesRead::Ok;
    if (!vlink::PrinterLogoNamesRead(port_, names, &result)) {
        prompts_.error(vlink::namesFailureText(result));
        return false;
    }
    for (const vjob::JobLogo &l : job.logos)
        for (const vlink::LogoName &n : names)
            if (n.number == l.buffer.number && n.name.trimmed() != l.buffer.name.trimmed() &&
                !prompts_.question(
                    QStringLiteral("Logo %1 holds \"%2\". Overwrite it with the job's \"%3\"?")
                        .arg(n.number)
                        .arg(QString::fromLatin1(n.name.trimmed()),
                             QString::fromLatin1(l.buffer.name.trimmed())),
                    vui::CaptionConfirm))
                return false;
    return true;
}

bool JobLoader::verify(const vjob::Job &job, bool tellVerified)
{
    vjob::Job found;
    QString failure;
    if (!vjob::readPrinterJob(port_, vjob::placedLogos(job), found, failure)) {
        prompts_.error(
            QStringLiteral("The job was written, but reading it back failed: %1").arg(failure));
        return false;
    }
    const QStringList differences = vjob::jobDifferences(job, found);
    if (differences.isEmpty()) {
        if (tellVerified)
            prompts_.message(Verified, vui::CaptionInformation);
        return true;
    }
    TJobDifferenceForm form(differences, found, vjob::pictureDifference(job, found), &parent_);
    modal_.exec(form);
    return false;
}

} // namespace vshell
