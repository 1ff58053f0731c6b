#include "shell/batch_window.h"

#include "batch/journal_summary.h"
#include "shell/job_loader.h"
#include "ui/named_controls.h"

#include "ui/busy_cursor.h"
#include "ui/enter_action.h"
#include "ui/messages.h"
#include "ui/screen_fit.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace vshell
{

BatchWindow::BatchWindow(const BatchSetting &setting, QWidget *parent)
    : QDialog(parent), setting_(setting)
{
    panel_ = new BatchRunPanel(setting_.prompts, this);
    panel_->makeRun = [this] { return makeRun(); };
    panel_->prepareLine = [this] { return loadBaseJob(); };
    baseJobRow_ = makeBaseJobRow();
    connect(panel_, &BatchRunPanel::runStarted, this, [this] {
        setSettingsEnabled(false);
        baseJobRow_->setEnabled(false);
        sentToPrinter_ = true;
        vui::postMessage(parentWidget(), vui::Message::SendToPrinter);
    });
    connect(panel_, &BatchRunPanel::runEnded, this, &BatchWindow::runEnded);
    vui::setEnterAction(*this, *panel_->startButton());
    vui::keepOnScreen(*this);
}

// After the line was lost (a cable pulled, the printer gone), Start opens it again at the port
// and speed the station connected with, so the run goes on without closing the window.
bool BatchWindow::lineOpen()
{
    vlink::Port &port = setting_.line.port;
    if (port.isOpen())
        return true;
    int speed = -1;
    for (int i = 0; i < 7; ++i)
        if (QString::number(vlink::SpeedTable[i]) == setting_.line.speedText)
            speed = i;
    try {
        if (setting_.line.currentPort >= 0 && port.openCom(setting_.line.currentPort) &&
            speed >= 0 && port.setBaud(speed))
            return true;
    } catch (const vlink::ExCom &e) {
        setting_.prompts.error(QString::fromStdString(e.what()));
        return false;
    }
    setting_.prompts.error(QStringLiteral("The printer's line cannot be opened again: "
                                          "reconnect it from the main window"));
    return false;
}

std::unique_ptr<batch::PrintRun> BatchWindow::makeRun()
{
    QList<batch::Record> list;
    batch::RunKey key;
    QString source;
    if (!records(list, key, source) || !lineOpen())
        return nullptr;
    if (!journal_ || journal_->path() != setting_.journalPath)
        journal_ = std::make_unique<batch::SqliteJournal>(setting_.journalPath);
    if (!journal_->isOpen()) {
        setting_.prompts.error(journal_->error());
        return nullptr;
    }
    if (!goOnWithUnfinished(key, int(list.size())))
        return nullptr;
    auto run = std::make_unique<batch::PrintRun>(setting_.line.port, *journal_, setting_.codePage);
    if (!run->open(key, source, list)) {
        setting_.prompts.error(run->error());
        return nullptr;
    }
    return run;
}

QWidget *BatchWindow::makeBaseJobRow()
{
    auto *row = new QWidget(this);
    auto *line = new QHBoxLayout(row);
    line->setContentsMargins(0, 0, 0, 0);
    line->addWidget(new QLabel(QStringLiteral("Base job:"), row));
    baseJob_ = vui::named<QLineEdit>(row, "BaseJob");
    baseJob_->setReadOnly(true);
    baseJob_->setPlaceholderText(QStringLiteral("none: the printer's mark as it is"));
    line->addWidget(baseJob_, 1);
    QPushButton *choose = vui::pushButton(row, "BaseJobChoose", QStringLiteral("Job..."));
    QPushButton *clear = vui::pushButton(row, "BaseJobClear", QStringLiteral("None"));
    line->addWidget(choose);
    line->addWidget(clear);
    connect(choose, &QPushButton::clicked, this, [this] {
        const QString path = setting_.prompts.openFile(
            {QStringLiteral("Base Job"), {}, QStringLiteral("Jobs (*.json)"), {}});
        if (!path.isEmpty())
            baseJob_->setText(path);
    });
    connect(clear, &QPushButton::clicked, baseJob_, &QLineEdit::clear);
    return row;
}

// The base job goes in after the last question, just before the first record: with a product
// sensor every product passing meanwhile gets the job's mark without a record. Again each time a
// run starts or goes on after a failure: the printer may have been changed meanwhile.
bool BatchWindow::loadBaseJob()
{
    if (baseJob().isEmpty())
        return true;
    vui::ModalRunner &modal = setting_.modal ? *setting_.modal : plainModal_;
    const vui::BusyCursor busy;
    return JobLoader(setting_.line.port, setting_.prompts, modal, *this).load(baseJob(), false);
}

// An unfinished run of the same records goes on only when the operator says so: No starts
// nothing, and the run stays in the journal as it was.
bool BatchWindow::goOnWithUnfinished(const batch::RunKey &key, int count)
{
    const std::optional<batch::RunInfo> run = journal_->unfinishedRun(key);
    if (!run || run->recordCount != count)
        return true;
    const QList<batch::JournalEntry> entries = journal_->entries(run->id);
    const int done = int(std::count_if(entries.begin(), entries.end(), [](const auto &e) {
        return e.state == batch::RecordState::Printed || e.state == batch::RecordState::Skipped;
    }));
    return setting_.prompts.question(
        QStringLiteral("The run of %1 did not finish: %2 of %3 records are done.\n"
                       "Go on from record %4?")
            .arg(run->sourceName)
            .arg(done)
            .arg(count)
            .arg(batch::resumePoint(entries, count) + 1),
        vui::CaptionConfirm);
}

void BatchWindow::runEnded()
{
    setSettingsEnabled(true);
    baseJobRow_->setEnabled(true);
    if (std::exchange(sentToPrinter_, false))
        vui::postMessage(parentWidget(), vui::Message::PrinterFound);
}

// A run going on is stopped first: closing the window never leaves it half done unrecorded.
void BatchWindow::reject()
{
    if (panel_->running()) {
        if (!setting_.prompts.question(
                QStringLiteral("A run is going on. Stop it after the current exchange?"),
                vui::CaptionConfirm))
            return;
        panel_->run()->stop();
        const vui::BusyCursor busy;
        while (panel_->run()->step() >= 0) {
        }
        runEnded();
    }
    QDialog::reject();
}

void BatchWindow::closeEvent(QCloseEvent *event)
{
    event->ignore();
    reject();
}

} // namespace vshell
