#include "shell/job_flow.h"

#include "job/job_file.h"
#include "job/job_transfer.h"
#include "link/command_table.h"
#include "link/logo_commands.h"
#include "link/machine_commands.h"
#include "shell/job_difference_form.h"
#include "shell/job_logos_form.h"

#include <QFileInfo>
#include <QMenu>

namespace vshell
{

namespace
{

const QString JobFilter = QStringLiteral("Jobs (*.json)");
const QString JobLoaded = QStringLiteral("Job loaded and verified");

QString jobName(const QString &path)
{
    return QFileInfo(path).completeBaseName();
}

QString withSuffix(const QString &path)
{
    return QFileInfo(path).suffix().isEmpty() ? path + QStringLiteral(".json") : path;
}

QList<int> graphicCells(const vjob::Job &job)
{
    QList<int> cells;
    for (int i = 0; i < vjob::CellCount; ++i)
        if (job.isGraphic(job.cells[std::size_t(i)]))
            cells << i;
    return cells;
}

QString writtenList(const QStringList &written)
{
    return written.isEmpty()
               ? QStringLiteral("Nothing was written.")
               : QStringLiteral("Written before the failure:\n") + written.join(QLatin1Char('\n'));
}

} // namespace

JobFlow::JobFlow(QWidget &mainWindow, vui::LineState &line, vui::Prompts &prompts,
                 vui::ModalRunner &modal, const QString &settingsPath)
    : mainWindow_(mainWindow), line_(line), prompts_(prompts), modal_(modal), recent_(settingsPath)
{
}

void JobFlow::wire(const MainControls &c, const ItemHandlers &on)
{
    handlers_ = &on;
    on.onOpen(c.File1, [this, &c] { File1Click(c); });
    on.on(c.SaveJobAs1, [this] { saveJobAs(); });
    on.on(c.OpenJob1, [this] {
        if (!usable())
            return;
        const QString dir = QFileInfo(recent_.paths().value(0)).path();
        const QString path = prompts_.openFile({QStringLiteral("Open Job"), dir, JobFilter, {}});
        if (!path.isEmpty())
            openJob(path);
    });
}

void JobFlow::File1Click(const MainControls &c)
{
    c.SaveJobAs1->setEnabled(usable());
    c.OpenJob1->setEnabled(usable());
    fillRecent(c);
}

void JobFlow::fillRecent(const MainControls &c)
{
    c.RecentJobs1->clear();
    const QStringList paths = recent_.paths();
    for (int i = 0; i < paths.size(); ++i) {
        QAction *a = c.RecentJobs1->addAction(
            QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(paths[i]).fileName()));
        a->setObjectName(QStringLiteral("RecentJob%1").arg(i + 1));
        a->setStatusTip(paths[i]);
        handlers_->on(a, [this, path = paths[i]] { openJob(path); });
    }
    c.RecentJobs1->setEnabled(usable() && !paths.isEmpty());
}

void JobFlow::saveJobAs()
{
    if (!usable())
        return;
    const QString dir = QFileInfo(recent_.paths().value(0)).path();
    const QString chosen = prompts_.saveFile({QStringLiteral("Save Job As"), dir, JobFilter, {}});
    if (chosen.isEmpty())
        return;
    const QString path = withSuffix(chosen);
    vjob::Job job;
    QString failure;
    if (!vjob::readPrinterJob(line_.port, {}, job, failure)) {
        prompts_.error(failure);
        return;
    }
    if (!nameLogos(job))
        return;
    if (!vjob::writeJobFile(path, job, failure)) {
        prompts_.error(failure);
        return;
    }
    remember(path);
    prompts_.message(QStringLiteral("Job saved to %1").arg(path), vui::CaptionInformation);
}

// The operator names the logo of each graphic cell, which is then read into the job.
bool JobFlow::nameLogos(vjob::Job &job)
{
    const QList<int> cells = graphicCells(job);
    if (cells.isEmpty())
        return true;
    vlink::LogoNames names;
    vlink::NamesRead result = vlink::NamesRead::Ok;
    if (!vlink::PrinterLogoNamesRead(line_.port, names, &result)) {
        prompts_.error(vlink::namesFailureText(result));
        return false;
    }
    TJobLogosForm form(cells, names, &mainWindow_);
    if (modal_.exec(form) != QDialog::Accepted)
        return false;
    QString failure;
    if (!vjob::readPlacedLogos(line_.port, form.logos(), job, failure)) {
        prompts_.error(failure);
        return false;
    }
    return true;
}

void JobFlow::openJob(const QString &path)
{
    if (!usable())
        return;
    QString problem;
    const std::optional<vjob::Job> job = vjob::readJobFile(path, problem);
    if (!job) {
        prompts_.error(problem);
        return;
    }
    remember(path);
    if (!confirmLoad(path, *job))
        return;
    QStringList written;
    QString failure;
    if (!logosMayBeReplaced(*job))
        return;
    if (!vjob::writeJob(line_.port, *job, written, failure)) {
        prompts_.error(failure + QStringLiteral("\n\n") + writtenList(written));
        return;
    }
    verify(*job);
}

// Asked before anything is sent; a job this printer cannot take is refused here.
bool JobFlow::confirmLoad(const QString &path, const vjob::Job &job)
{
    vlink::TimeParams params{};
    if (!vlink::TimeParamsRead(line_.port, params)) {
        prompts_.error(vlink::failureText(vlink::PrinterCommand::TimeParamsRead));
        return false;
    }
    if (const QString why = vjob::unwritable(job, params[vlink::TimeParamCount - 1]);
        !why.isEmpty()) {
        prompts_.error(why);
        return false;
    }
    return prompts_.question(
        QStringLiteral("Mark overwrite with the job \"%1\". Are You Sure?").arg(jobName(path)),
        vui::CaptionConfirm);
}

// A logo number that holds another logo is overwritten only when the operator says so; every
// question is asked before the first byte of the job goes out.
bool JobFlow::logosMayBeReplaced(const vjob::Job &job)
{
    if (job.logos.empty())
        return true;
    vlink::LogoNames names;
    vlink::NamesRead result = vlink::NamesRead::Ok;
    if (!vlink::PrinterLogoNamesRead(line_.port, names, &result)) {
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

void JobFlow::verify(const vjob::Job &job)
{
    vjob::Job found;
    QString failure;
    if (!vjob::readPrinterJob(line_.port, vjob::placedLogos(job), found, failure)) {
        prompts_.error(
            QStringLiteral("The job was written, but reading it back failed: %1").arg(failure));
        return;
    }
    const QStringList differences = vjob::jobDifferences(job, found);
    if (differences.isEmpty()) {
        prompts_.message(JobLoaded, vui::CaptionInformation);
        return;
    }
    TJobDifferenceForm form(differences, found, vjob::pictureDifference(job, found), &mainWindow_);
    modal_.exec(form);
}

void JobFlow::remember(const QString &path)
{
    QString reason;
    if (!recent_.add(path, reason))
        prompts_.error(QStringLiteral("The list of recent jobs could not be kept: %1").arg(reason));
}

} // namespace vshell
