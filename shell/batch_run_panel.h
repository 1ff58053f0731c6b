#pragma once

#include "batch/print_run.h"
#include "ui/prompts.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace vshell
{

// The part both batch windows share: pacing, Start, Pause, Resume, Stop and the progress of a
// run. It steps the run from the event loop, one exchange at a time, so the window never freezes;
// what the run did is in its journal, this only shows it.
class BatchRunPanel : public QWidget
{
    Q_OBJECT

public:
    BatchRunPanel(vui::Prompts &prompts, QWidget *parent = nullptr);

    // Builds the run when Start is pressed: nullptr (after telling the operator why) when the
    // window's settings cannot be printed.
    std::function<std::unique_ptr<batch::PrintRun>()> makeRun;
    // Readies the printer once every question is answered, just before a run starts or goes on;
    // false stops the start.
    std::function<bool()> prepareLine;
    batch::PrintRun *run() const { return run_.get(); }
    bool running() const;
    QPushButton *startButton() const { return start_; }

signals:
    void runStarted();
    // Finished, stopped or failed: the window may let the operator change its settings again.
    void runEnded();

private:
    void startClicked();
    void pauseClicked();
    void stopClicked();
    void exportClicked();
    bool decideUncertain();
    void stepOnce();
    void showProgress();
    void showWaiting();
    void ended();

    vui::Prompts &prompts_;
    std::unique_ptr<batch::PrintRun> run_;
    QTimer timer_;
    bool waiting_ = false; // the state line says so
    QComboBox *pacing_ = nullptr;
    QPushButton *start_ = nullptr;
    QPushButton *pause_ = nullptr;
    QPushButton *stop_ = nullptr;
    QPushButton *export_ = nullptr;
    QProgressBar *bar_ = nullptr;
    QLabel *counts_ = nullptr;
    QLabel *state_ = nullptr;
};

} // namespace vshell
