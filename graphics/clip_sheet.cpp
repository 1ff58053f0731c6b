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
    if (firstColumn > lastColumn || firstRow > lastRow)
        return;
    // Drawn pixel by pixel into one image of the area's cells: a row of text holds thousands of
    // dots, too many to fill one by one.
    const QRect cells(firstColumn * ClipZoom, firstRow * ClipZoom,
                      (lastColumn - firstColumn + 1) * ClipZoom,
                      (lastRow - firstRow + 1) * ClipZoom);
    QImage image(cells.size(), QImage::Format_RGB32);
    for (int row = firstRow; row <= lastRow; ++row) {
        const int y = (row - firstRow) * ClipZoom;
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int column = firstColumn; column <= lastColumn; ++column)
            std::fill_n(line + (column - firstColumn) * ClipZoom, ClipZoom,
                        grid_.isDot(column, row) ? 0xFF000000u : 0xFFFFFFFFu);
        for (int i = 1; i < ClipZoom; ++i)
            std::copy_n(line, cells.width(), reinterpret_cast<QRgb *>(image.scanLine(y + i)));
    }
    painter.drawImage(cells.topLeft(), image);
    if (selection_)
        paintSelection(painter, area);
}

// Only the part of the frame inside the area: a dashed line is dashed along its whole length,
// and a selection can be 80,000 pixels long.
void ClipSheet::paintSelection(QPainter &painter, const QRect &area) const
{
    const QRect frame(selection_->left * ClipZoom, selection_->top * ClipZoom,
                      selection_->width() * ClipZoom, selection_->height() * ClipZoom);
    const QRect shown = frame.intersected(area.adjusted(-1, -1, 1, 1));
    if (shown.isEmpty())
        return;
    painter.setPen(QPen(Qt::red, 1, Qt::DashLine));
    if (frame.top() >= shown.top())
        painter.drawLine(shown.left(), frame.top(), shown.right(), frame.top());
    if (frame.bottom() <= shown.bottom())
        painter.drawLine(shown.left(), frame.bottom(), shown.right(), frame.bottom());
    if (frame.left() >= shown.left())
        painter.drawLine(frame.left(), shown.top(), frame.left(), shown.bottom());
    if (frame.right() <= shown.right())
        painter.drawLine(frame.right(), shown.top(), frame.right(), shown.bottom());
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
