#include "ui/screen_fit.h"

#include <QEvent>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace vui
{

QRect fittedFrame(const QRect &frame, const QRect &available)
{
    const QSize size = frame.size().boundedTo(available.size());
    const int x = std::clamp(frame.x(), available.left(), available.right() + 1 - size.width());
    const int y = std::clamp(frame.y(), available.top(), available.bottom() + 1 - size.height());
    return {QPoint(x, y), size};
}

namespace
{

void fitNow(QWidget &window, bool moveToo)
{
    const QScreen *screen = window.screen();
    if (!screen)
        return;
    const QRect frame = window.frameGeometry();
    const QRect fitted = fittedFrame(frame, screen->availableGeometry());
    // The frame's decoration stays as the window manager draws it; only the inside is resized.
    const QSize decoration = frame.size() - window.size();
    if (fitted.size() != frame.size())
        window.resize(fitted.size() - decoration);
    // Before a dialog's first placement a move would keep Qt from centring it over its parent.
    if (moveToo && fitted.topLeft() != frame.topLeft())
        window.move(fitted.topLeft());
}

// Found by name: a class without its own meta-object cannot be told apart by qobject_cast.
const QString ScreenKeeperName = QStringLiteral("vuiScreenKeeper");

class ScreenKeeper : public QObject
{
public:
    explicit ScreenKeeper(QWidget &window) : QObject(&window)
    {
        setObjectName(ScreenKeeperName);
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto &window = static_cast<QWidget &>(*watched);
        if (event->type() == QEvent::Show)
            fitNow(window, false);
        else if (event->type() == QEvent::Resize && window.isVisible())
            fitNow(window, true);
        return false;
    }
};

} // namespace

void keepOnScreen(QWidget &window)
{
    if (!window.findChild<QObject *>(ScreenKeeperName, Qt::FindDirectChildrenOnly))
        new ScreenKeeper(window);
}

} // namespace vui
