#pragma once

#include "link/mark_image.h"

#include <QImage>
#include <QString>

namespace vgfx
{

// The mark image one pixel per dot, black on white, as the printer prints it: the top row is
// the highest dot of the highest band. Null for a clear mark.
QImage markPicture(const vlink::MarkImage &image);

// Writes the picture in the format its name's suffix names; ".bmp" (any case) writes one bit per
// pixel. The file is replaced only once complete.
bool saveMarkPicture(const QImage &picture, const QString &path);

} // namespace vgfx
