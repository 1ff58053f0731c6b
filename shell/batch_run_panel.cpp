#include "shell/batch_run_panel.h"

#include "batch/journal_summary.h"
#include "ui/named_controls.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSaveFile>

namespace vshell
{

BatchRunPanel::BatchRunPanel(vui::Prompts &prompts, QWidget *parent)
    : QWidget(parent), prompts_(prompts)
{
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    pacing_ = vui::named<QComboBox>(this, "Pacing");
    pacing_->addItems({QStringLiteral("Product sensor"), QStringLiteral("Station triggers")});
    grid->addWidget(new QLabel(QStringLiteral("Pacing:"), this), 0, 0);
    grid->addWidget(pacing_, 0, 1, 1, 2);
    start_ = vui::named<QPushButton>(this, "StartRun");
    start_->setText(QStringLiteral("Start"));
    pause_ = vui::named<QPushButton>(this, "PauseRun");
    pause_->setText(QStringLiteral("Pause"));
    stop_ = vui::named<QPushButton>(this, "StopRun");
    stop_->setText(QStringLiteral("Stop"));
    grid->addWidget(start_, 1, 0);
    grid->addWidget(pause_, 1, 1);
    grid->addWidget(stop_, 1, 2);
    export_ = vui::named<QPushButton>(this, "ExportJournal");
    export_->setText(QStringLiteral("Export Journal..."));
    export_->setEnabled(false);
    grid->addWidget(export_, 5, 0, 1, 3);
    bar_ = vui::named<QProgressBar>(this, "RunProgress");
    grid->addWidget(bar_, 2, 0, 1, 3);
    counts_ = vui::named<QLabel>(this, "RunCounts");
    state_ = vui::named<QLabel>(this, "RunState");
    state_->setWordWrap(true);
    grid->addWidget(counts_, 3, 0, 1, 3);
    grid->addWidget(state_, 4, 0, 1, 3);
    pause_->setEnabled(false);
    stop_->setEnabled(false);
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &BatchRunPanel::stepOnce);
    connect(start_, &QPushButton::clicked, this, &BatchRunPanel::startClicked);
    connect(pause_, &QPushButton::clicked, this, &BatchRunPanel::pauseClicked);
    connect(stop_, &QPushButton::clicked, this, &BatchRunPanel::stopClicked);
    connect(export_, &QPushButton::clicked, this, &BatchRunPanel::exportClicked);
    for (QPushButton *b : {pause_, stop_, export_})
        b->setAutoDefault(false);
}

bool BatchRunPanel::running() const
{
    return run_ &&
           (run_->phase() == batch::RunPhase::Running || run_->phase() == batch::RunPhase::Paused);
}

// A record whose print was never seen: the operator says whether it is printed again.
bool BatchRunPanel::decideUncertain()
{
    for (int index : run_->uncertain()) {
        // No is the box's default: Enter prints the record again rather than leave it unprinted.
        const bool skip = prompts_.question(
            QStringLiteral("Record %1 was loaded into the printer, but its print was never "
                           "seen.\nSkip it? (No prints it again.)")
                .arg(index + 1),
            vui::CaptionConfirm);
        const bool reprint = !skip;
        if (!run_->decide(index, reprint)) {
            prompts_.error(run_->error());
            return false;
        }
    }
    return true;
}

void BatchRunPanel::startClicked()
{
    if (running() && run_->phase() == batch::RunPhase::Running)
        return;
    const bool resuming = run_ && run_->phase() == batch::RunPhase::Paused;
    if (!resuming) {
        run_ = makeRun ? makeRun() : nullptr;
        if (!run_)
            return;
        batch::PacingSettings pacing;
        pacing.pacing = pacing_->currentIndex() == 1 ? batch::Pacing::StationTriggers
                                                     : batch::Pacing::ProductSensor;
        run_->setPacing(pacing);
        if (!decideUncertain() || (prepareLine && !prepareLine()))
            return;
    }
    if (!run_->start()) {
        prompts_.error(run_->error());
        return;
    }
    start_->setEnabled(false);
    pacing_->setEnabled(false);
    pause_->setEnabled(true);
    stop_->setEnabled(true);
    export_->setEnabled(true);
    state_->setText(run_->resumed() && !resuming
                        ? QStringLiteral("Going on from record %1").arg(run_->position() + 1)
                        : QStringLiteral("Running"));
    bar_->setRange(0, int(run_->records().size()));
    showProgress();
    if (!resuming)
        emit runStarted();
    timer_.start(0);
}

void BatchRunPanel::pauseClicked()
{
    if (run_)
        run_->pause();
    pause_->setEnabled(false);
    state_->setText(QStringLiteral("Pausing after the record being printed"));
}

void BatchRunPanel::stopClicked()
{
    if (!run_)
        return;
    run_->stop();
    if (!timer_.isActive() && run_->phase() == batch::RunPhase::Stopped)
        ended();
}

void BatchRunPanel::exportClicked()
{
    const QString path = prompts_.saveFile(
        {QStringLiteral("Export Journal"), {}, QStringLiteral("CSV files (*.csv)"), {}});
    if (path.isEmpty())
        return;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(batch::journalCsv(run_->entries())) < 0 ||
        !file.commit()) {
        prompts_.error(QStringLiteral("%1 could not be written: %2").arg(path, file.errorString()));
        return;
    }
}

void BatchRunPanel::stepOnce()
{
    const int delay = run_->step();
    showProgress();
    if (delay >= 0) {
        showWaiting();
        timer_.start(delay);
        return;
    }
    waiting_ = false;
    if (run_->phase() == batch::RunPhase::Paused) {
        state_->setText(QStringLiteral("Paused before record %1").arg(run_->position() + 1));
        start_->setText(QStringLiteral("Resume"));
        start_->setEnabled(true);
        return;
    }
    ended();
}

// A line stopped for want of products must not look like a station that hangs.
void BatchRunPanel::showWaiting()
{
    const bool waiting = run_->waitingForProduct();
    if (waiting == waiting_ || !pause_->isEnabled())
        return;
    waiting_ = waiting;
    state_->setText(
        waiting
            ? QStringLiteral("Waiting for a product to print record %1").arg(run_->position() + 1)
            : QStringLiteral("Running"));
}

void BatchRunPanel::showProgress()
{
    const batch::RunProgress p = run_->progress();
    bar_->setValue(p.done);
    QString text = QStringLiteral("%1 done, %2 left, %3 a minute")
                       .arg(p.done)
                       .arg(p.left)
                       .arg(p.perMinute, 0, 'f', 1);
    if (p.mixedPrints > 0)
        text += QStringLiteral(
                    "; %1 prints mixed, or may have mixed, two records: take those products out")
                    .arg(p.mixedPrints);
    if (p.repeatedPrints > 0)
        text += QStringLiteral(
                    "; %1 prints repeated, or may have repeated, a record: take those products out")
                    .arg(p.repeatedPrints);
    counts_->setText(text);
}

void BatchRunPanel::ended()
{
    timer_.stop();
    start_->setText(QStringLiteral("Start"));
    start_->setEnabled(true);
    pacing_->setEnabled(true);
    pause_->setEnabled(false);
    stop_->setEnabled(false);
    switch (run_->phase()) {
    case batch::RunPhase::Finished:
        state_->setText(QStringLiteral("Finished: every record printed"));
        break;
    case batch::RunPhase::Stopped:
        state_->setText(QStringLiteral("Stopped before record %1").arg(run_->position() + 1));
        break;
    default:
        state_->setText(run_->error());
        prompts_.error(run_->error());
        break;
    }
    emit runEnded();
}

} // namespace vshell
