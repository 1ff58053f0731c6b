#include "shell/job_flow.h"

#include "job/job_file.h"
#include "job/job_transfer.h"
#include "link/logo_commands.h"
#include "shell/job_loader.h"
#include "shell/job_logos_form.h"

#include <QFileInfo>
#include <QMenu>

namespace vshell
{

namespace
{

const QString JobFilter = QStringLiteral("Jobs (*.json)");

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
    if (QFileInfo::exists(path))
        remember(path);
    JobLoader(line_.port, prompts_, modal_, mainWindow_).load(path);
}

void JobFlow::remember(const QString &path)
{
    QString reason;
    if (!recent_.add(path, reason))
        prompts_.error(QStringLiteral("The list of recent jobs could not be kept: %1").arg(reason));
}

} // namespace vshell
