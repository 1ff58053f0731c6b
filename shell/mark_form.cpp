#include "shell/mark_form.h"

#include "graphics/model/mark_picture.h"
#include "ui/messages.h"
#include "ui/named_controls.h"
#include "ui/screen_fit.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

namespace vshell
{

namespace
{

constexpr int Z = TMarkForm::Zoom;

} // namespace

TMarkForm::TMarkForm(vui::MarkEditing &mark, vui::Prompts &prompts, QObject *mainWindow,
                     QWidget *parent)
    : QDialog(parent), mark_(mark), prompts_(prompts), mainWindow_(mainWindow)
{
    setObjectName(QStringLiteral("MarkForm"));
    setWindowTitle(QStringLiteral("Mark"));
    buildLayout();
    vui::keepOnScreen(*this);
}

void TMarkForm::buildLayout()
{
    panel_ = vui::named<QScrollArea>(this, "Panel1");
    panel_->move(Z, Z);
    canvas_ = new QWidget;
    image_ = vui::named<QLabel>(canvas_, "Image1");
    image_->move(Z, Z);
    image_->resize(0, 0);
    panel_->setWidget(canvas_);

    buttons_ = new QWidget(this);
    auto *column = new QVBoxLayout(buttons_);
    auto *sizeBox = vui::named<QGroupBox>(buttons_, "SizeBox", QStringLiteral("Size"));
    size_ = vui::named<QLabel>(sizeBox, "Label1");
    (new QVBoxLayout(sizeBox))->addWidget(size_);
    grids_ = vui::named<QCheckBox>(buttons_, "DrawGrids_", QStringLiteral("Grids"));
    read_ = vui::actionButton(*this, "OKBtn", QStringLiteral("Read"));
    auto *cancel = vui::pushButton(buttons_, "CancelBtn", QStringLiteral("Cancel"));
    cancel->hide();
    for (QWidget *w : std::initializer_list<QWidget *>{sizeBox, grids_, read_, cancel})
        column->addWidget(w);
    column->addStretch();
    buttons_->adjustSize();

    connect(grids_, &QCheckBox::clicked, this, [this] { DrawGrids_Click(); });
    connect(read_, &QPushButton::clicked, this, [this] { OKBtnClick(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    panel_->resize(buttons_->width() * 2, buttons_->height());
    fitSizes();
}

void TMarkForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (std::exchange(shown_, true))
        return;
    FormActivate();
}

void TMarkForm::FormActivate()
{
    if (mark_.redraw) {
        mark_.redraw = false;
        draw();
    }
    read_->setFocus();
}

void TMarkForm::draw()
{
    if (const QScreen *s = screen())
        move(s->availableGeometry().topLeft());
    const vlink::MarkImage &image = mark_.markImage;
    if (image.isClear())
        return;
    const QImage dots = vgfx::markPicture(image);
    picture_ = dots.convertToFormat(QImage::Format_RGB32)
                   .scaled(dots.width() * Z, dots.height() * Z, Qt::IgnoreAspectRatio,
                           Qt::FastTransformation);
    {
        const QSignalBlocker quiet(grids_);
        grids_->setChecked(mark_.markGrid);
    }
    if (mark_.markGrid)
        drawGrid();
    showPicture();
    read_->setEnabled(true);
    size_->setText(QStringLiteral("%1*%2").arg(image.rows).arg(image.width));
}

// The scroll box keeps a margin of one band below the picture; the window is as high as the
// box or the buttons, and no wider than the screen.
void TMarkForm::fitSizes()
{
    const QSize picture = image_->size();
    canvas_->resize(picture.width() + 2 * Z, picture.height() + 2 * Z);
    const int frame = 2 * panel_->frameWidth();
    const int available = screen() ? screen()->availableGeometry().width() : 1024;
    const int panelWidth =
        std::min(canvas_->width() + frame, available - buttons_->width() - 4 * Z);
    const int panelHeight = picture.height() + 8 * Z;
    panel_->resize(std::max(panelWidth, 8 * Z), std::max(panelHeight, 8 * Z));
    buttons_->move(panel_->geometry().right() + 1 + Z, Z);
    setFixedSize(buttons_->geometry().right() + 1 + Z,
                 std::max(panel_->height(), buttons_->height()) + 2 * Z);
}

void TMarkForm::showPicture()
{
    image_->setPixmap(QPixmap::fromImage(picture_));
    image_->resize(picture_.size());
    fitSizes();
}

// One line per dot, on the dot's top and left edges.
void TMarkForm::drawGrid()
{
    if (picture_.isNull())
        return;
    QPainter painter(&picture_);
    painter.setPen(QPen(Qt::black, 1));
    for (int x = 0; x < picture_.width(); x += Z)
        painter.drawLine(x, 0, x, picture_.height() - 1);
    for (int y = 0; y < picture_.height(); y += Z)
        painter.drawLine(0, y, picture_.width() - 1, y);
}

void TMarkForm::DrawGrids_Click()
{
    mark_.markGrid = grids_->isChecked();
    if (mark_.markGrid) {
        drawGrid();
        showPicture();
        return;
    }
    prompts_.message(QStringLiteral("Grid will be deleted after Mark redraw"),
                     vui::CaptionInformation);
}

void TMarkForm::OKBtnClick()
{
    vui::postMessage(mainWindow_, vui::Message::CloseShowStamp);
}

} // namespace vshell
