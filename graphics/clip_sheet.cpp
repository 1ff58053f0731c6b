#include "graphics/clip_sheet.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <array>

namespace vgfx
{

ClipSheet::ClipSheet(const ClipGrid &grid, QWidget *parent) : QWidget(parent), grid_(grid)
{
    setObjectName(QStringLiteral("ClipSheet"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(sizeHint());
}

QSize ClipSheet::sizeHint() const
{
    return {ClipColumns * ClipZoom, ClipRows * ClipZoom};
}

void ClipSheet::setSelection(std::optional<DotRect> selection)
{
    selection_ = selection;
    update();
    emit selectionChanged();
}

void ClipSheet::paintArea(QPainter &painter, const QRect &area) const
{
    painter.fillRect(area, Qt::white);
    const int firstColumn = std::max(area.left() / ClipZoom, 0);
    const int lastColumn = std::min(area.right() / ClipZoom, ClipColumns - 1);
    const int firstRow = std::max(area.top() / ClipZoom, 0);
    const int lastRow = std::min(area.bottom() / ClipZoom, ClipRows - 1);
    for (int row = firstRow; row <= lastRow; ++row) {
        // Runs of dots are filled at once: a line of text is mostly runs.
        int run = -1;
        for (int column = firstColumn; column <= lastColumn + 1; ++column) {
            const bool dot = column <= lastColumn && grid_.isDot(column, row);
            if (dot && run < 0)
                run = column;
            if (!dot && run >= 0) {
                painter.fillRect(run * ClipZoom, row * ClipZoom, (column - run) * ClipZoom,
                                 ClipZoom, Qt::black);
                run = -1;
            }
        }
    }
    if (selection_) {
        painter.setPen(QPen(Qt::red, 1, Qt::DashLine));
        painter.drawRect(selection_->left * ClipZoom, selection_->top * ClipZoom,
                         selection_->width() * ClipZoom - 1, selection_->height() * ClipZoom - 1);
    }
}

void ClipSheet::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    paintArea(painter, event->rect());
}

QPoint ClipSheet::dotAt(const QPoint &pixel)
{
    // Division toward minus infinity, so a drag past the left or top edge stays outside.
    const auto dot = [](int p) { return p >= 0 ? p / ClipZoom : (p - ClipZoom + 1) / ClipZoom; };
    return {dot(pixel.x()), dot(pixel.y())};
}

void ClipSheet::dragTo(const QPoint &pixel)
{
    if (anchor_)
        setSelection(selectionWithin(*anchor_, dotAt(pixel)));
}

void ClipSheet::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    anchor_ = dotAt(event->position().toPoint());
    dragTo(event->position().toPoint());
}

void ClipSheet::mouseMoveEvent(QMouseEvent *event)
{
    dragTo(event->position().toPoint());
}

void ClipSheet::mouseReleaseEvent(QMouseEvent *event)
{
    dragTo(event->position().toPoint());
    anchor_.reset();
}

namespace
{

constexpr std::array<int, 14> RulerMarks = {0,  8,  16,  24,  32,  48,  64,
                                            80, 96, 112, 128, 160, 192, 224};
constexpr int RulerHeight = 16;

} // namespace

ClipRuler::ClipRuler(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ClipRuler"));
    setFixedSize(sizeHint());
}

QSize ClipRuler::sizeHint() const
{
    return {ClipColumns * ClipZoom, RulerHeight};
}

void ClipRuler::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    for (int mark : RulerMarks) {
        const int x = mark * ClipZoom;
        painter.drawLine(x, RulerHeight - 4, x, RulerHeight);
        painter.drawText(x + 2, RulerHeight - 4, QString::number(mark));
    }
}

} // namespace vgfx
