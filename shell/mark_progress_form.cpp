#include "shell/mark_progress_form.h"

#include "link/command_table.h"
#include "ui/busy_cursor.h"
#include "ui/messages.h"
#include "ui/named_controls.h"
#include "ui/screen_fit.h"

#include <QCoreApplication>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>
#include <utility>

namespace vshell
{

TMarkProgreesForm::TMarkProgreesForm(vui::LineState &line, vui::MarkEditing &mark,
                                     vui::Prompts &prompts, QObject *mainWindow, QWidget *parent)
    : QDialog(parent), line_(line), mark_(mark), prompts_(prompts), mainWindow_(mainWindow)
{
    setObjectName(QStringLiteral("MarkProgreesForm"));
    setWindowTitle(QStringLiteral("Mark Reading"));
    bar_ = vui::named<QProgressBar>(this, "ProgressBar1");
    bar_->setRange(0, vlink::MarkImageBarSteps);
    bar_->setValue(0);
    bar_->setMinimumWidth(240);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(bar_);
    vui::keepOnScreen(*this);
}

// The read starts once the window runs, so it is up and painted while the line is busy.
void TMarkProgreesForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (std::exchange(shown_, true))
        return;
    QTimer::singleShot(0, this, [this] { FormActivate(); });
}

void TMarkProgreesForm::FormActivate()
{
    if (!mark_.readStart)
        return;
    mark_.stampRead = false;
    QCoreApplication::processEvents();
    if (!readImage()) {
        prompts_.error(vlink::failureText(vlink::PrinterCommand::MarkImageRead));
        reject();
    } else {
        mark_.stampRead = true;
    }
    if (mark_.stampRead && mark_.markImage.isClear()) {
        prompts_.message(QString::fromLatin1(vlink::MarkClearText), vui::CaptionInformation);
        reject();
    }
    mark_.readStart = false;
    vui::postMessage(mainWindow_, vui::Message::ShowStamp);
}

bool TMarkProgreesForm::readImage()
{
    const vui::BusyCursor busy;
    vlink::MarkImageProgress progress;
    progress.bar = [this](int position) { bar_->setValue(position); };
    // Only the bar: input now would act in the middle of the read.
    progress.repaint = [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); };
    return vlink::MarkImageRead(line_.port, mark_.markImage, progress);
}

} // namespace vshell
