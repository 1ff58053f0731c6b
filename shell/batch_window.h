#pragma once

#include "batch/print_run.h"
#include "batch/sqlite_journal.h"
#include "shell/batch_run_panel.h"
#include "ui/modal_runner.h"
#include "ui/prompts.h"
#include "ui/station_state.h"

#include <QDialog>
#include <QLineEdit>
#include <memory>

namespace vshell
{

// What a batch window works with: the line, the prompts, the code page of the texts and the
// journal's file.
struct BatchSetting {
    vui::LineState &line;
    vui::Prompts &prompts;
    vlink::CodePage codePage;
    QString journalPath = batch::SqliteJournal::defaultPath();
    // Runs the windows a base job's load opens; a plain one when none is given.
    vui::ModalRunner *modal = nullptr;
};

// A batch window: its own settings above, the run panel below. It posts "SendToPrinter" to its
// parent when a run starts and "PrinterFound" when the run ends or the window closes.
class BatchWindow : public QDialog
{
    Q_OBJECT

public:
    BatchWindow(const BatchSetting &setting, QWidget *parent);
    BatchRunPanel &panel() { return *panel_; }
    // The job loaded into the printer before a run starts, the base of every record's mark; empty
    // for none.
    QString baseJob() const { return baseJob_->text(); }
    void setBaseJob(const QString &path) { baseJob_->setText(path); }

protected:
    // The records and the run's key from the window's settings; false after telling the operator
    // what is wrong.
    virtual bool records(QList<batch::Record> &records, batch::RunKey &key, QString &source) = 0;
    // Settings that must not change while a run goes on.
    virtual void setSettingsEnabled(bool on) = 0;
    void reject() override;
    void closeEvent(QCloseEvent *event) override;

    BatchSetting setting_;
    BatchRunPanel *panel_ = nullptr;
    // "Base job" with its buttons, for the window's layout to place.
    QWidget *baseJobRow_ = nullptr;

private:
    std::unique_ptr<batch::PrintRun> makeRun();
    bool lineOpen();
    bool goOnWithUnfinished(const batch::RunKey &key, int count);
    QWidget *makeBaseJobRow();
    bool loadBaseJob();
    void runEnded();

    std::unique_ptr<batch::SqliteJournal> journal_;
    bool sentToPrinter_ = false;
    QLineEdit *baseJob_ = nullptr;
    vui::ModalRunner plainModal_;
};

} // namespace vshell
