#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QString>

namespace vshell
{

// The pictures of the main window, drawn rather than shipped.

// The program's picture: a print head writing a dotted mark.
QPixmap programPicture(int size);
// The panel's background: a product on a conveyor passing under the print head.
QPixmap backgroundPicture(const QSize &size);
// A tool button: a coloured tile with a short label.
QIcon toolIcon(const QString &label, const QColor &colour);

} // namespace vshell
