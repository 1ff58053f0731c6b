#pragma once

#include "job/job.h"
#include "shell/recent_jobs.h"
#include "shell/workflow.h"
#include "ui/modal_runner.h"
#include "ui/prompts.h"
#include "ui/station_state.h"

class QWidget;

namespace vshell
{

// Jobs on the computer: the printer's whole mark saved to a job file, a job file loaded into
// the printer and verified by reading it back, and the jobs used last. Off while nothing is
// connected and in Depot-only mode.
class JobFlow : public Workflow
{
public:
    JobFlow(QWidget &mainWindow, vui::LineState &line, vui::Prompts &prompts,
            vui::ModalRunner &modal, const QString &settingsPath);

    void wire(const MainControls &c, const ItemHandlers &on) override;
    // Loads the job file into the printer after asking; what the operator sees is told.
    void openJob(const QString &path);

private:
    void File1Click(const MainControls &c);
    bool usable() const { return line_.connected && !line_.depotOnly; }
    void saveJobAs();
    bool nameLogos(vjob::Job &job);
    void remember(const QString &path);
    void fillRecent(const MainControls &c);

    QWidget &mainWindow_;
    vui::LineState &line_;
    vui::Prompts &prompts_;
    vui::ModalRunner &modal_;
    RecentJobs recent_;
    const ItemHandlers *handlers_ = nullptr;
};

} // namespace vshell
