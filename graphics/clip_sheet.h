#pragma once

#include "graphics/model/clip_grid.h"

#include <QWidget>
#include <optional>

class QPainter;

namespace vgfx
{

// Screen pixels per dot of the enlarged image.
inline constexpr int ClipZoom = 8;

// The work grid enlarged, with the selection the mouse drags on it. At 8 pixels a dot the whole
// sheet is 82,240 pixels wide: only the part asked for is ever painted.
class ClipSheet : public QWidget
{
    Q_OBJECT

public:
    ClipSheet(const ClipGrid &grid, QWidget *parent = nullptr);

    QSize sizeHint() const override;
    std::optional<DotRect> selection() const { return selection_; }
    void setSelection(std::optional<DotRect> selection);
    // The dots and the selection inside the area, in sheet pixels.
    void paintArea(QPainter &painter, const QRect &area) const;

signals:
    void selectionChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    static QPoint dotAt(const QPoint &pixel);
    void dragTo(const QPoint &pixel);
    void paintSelection(QPainter &painter, const QRect &area) const;

    const ClipGrid &grid_;
    std::optional<QPoint> anchor_;
    std::optional<DotRect> selection_;
};

// The fixed labels above the enlarged image, at their dot positions.
class ClipRuler : public QWidget
{
    Q_OBJECT

public:
    explicit ClipRuler(QWidget *parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace vgfx
