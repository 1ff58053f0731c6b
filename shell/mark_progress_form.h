#pragma once

#include "ui/prompts.h"
#include "ui/station_state.h"

#include <QDialog>
#include <QPointer>

class QProgressBar;

namespace vshell
{

// Unit MarkProgress: the small window that reads the mark image while its bar moves. It reads
// once, when it is first shown with read-start set, and then asks the main window, with
// "ShowStamp", to close it and open the preview.
class TMarkProgreesForm : public QDialog
{
    Q_OBJECT

public:
    TMarkProgreesForm(vui::LineState &line, vui::MarkEditing &mark, vui::Prompts &prompts,
                      QObject *mainWindow, QWidget *parent = nullptr);

    void FormActivate();

protected:
    void showEvent(QShowEvent *event) override;

private:
    bool readImage();

    vui::LineState &line_;
    vui::MarkEditing &mark_;
    vui::Prompts &prompts_;
    QPointer<QObject> mainWindow_;
    QProgressBar *bar_ = nullptr;
    bool shown_ = false;
};

} // namespace vshell
