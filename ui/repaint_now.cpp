#include "ui/repaint_now.h"

#include <QCoreApplication>

namespace vui
{

void repaintNow()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace vui
