#include "ui/busy_cursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace vui
{

BusyCursor::BusyCursor()
{
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

BusyCursor::~BusyCursor()
{
    QGuiApplication::restoreOverrideCursor();
}

NormalCursor::NormalCursor() : pushed_(QGuiApplication::overrideCursor() != nullptr)
{
    if (pushed_)
        QGuiApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
}

NormalCursor::~NormalCursor()
{
    if (pushed_)
        QGuiApplication::restoreOverrideCursor();
}

} // namespace vui
