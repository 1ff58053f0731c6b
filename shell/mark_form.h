#pragma once

#include "ui/prompts.h"
#include "ui/station_state.h"

#include <QDialog>
#include <QImage>
#include <QPointer>

class QCheckBox;
class QLabel;
class QPushButton;
class QScrollArea;
class QWidget;

namespace vshell
{

// Unit Mark: the preview of the mark image, each dot a square of Zoom x Zoom pixels, with an
// optional grid of one line per dot. "Read" asks the main window, with "CloseShowStamp", to
// close it and read the mark again.
class TMarkForm : public QDialog
{
    Q_OBJECT

public:
    static constexpr int Zoom = 4;

    TMarkForm(vui::MarkEditing &mark, vui::Prompts &prompts, QObject *mainWindow,
              QWidget *parent = nullptr);

    // The picture as last drawn, grid included.
    const QImage &picture() const { return picture_; }
    void FormActivate();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildLayout();
    void draw();
    void fitSizes();
    void drawGrid();
    void showPicture();
    void DrawGrids_Click();
    void OKBtnClick();

    vui::MarkEditing &mark_;
    vui::Prompts &prompts_;
    QPointer<QObject> mainWindow_;
    QScrollArea *panel_ = nullptr;
    QWidget *canvas_ = nullptr;
    QLabel *image_ = nullptr;
    QWidget *buttons_ = nullptr;
    QLabel *size_ = nullptr;
    QCheckBox *grids_ = nullptr;
    QPushButton *read_ = nullptr;
    QImage picture_;
    bool shown_ = false;
};

} // namespace vshell
