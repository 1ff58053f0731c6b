#include "graphics/model/mark_picture.h"

#include "graphics/model/mono_image.h"

#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>

namespace vgfx
{

QImage markPicture(const vlink::MarkImage &image)
{
    const int height = image.rows * 8;
    if (image.width < 1 || height < 1)
        return {};
    QImage picture = clearedMono(image.width, height, {qRgb(255, 255, 255), qRgb(0, 0, 0)}, 0);
    for (int c = 0; c < image.width; ++c)
        for (int y = 0; y < height; ++y)
            if (image.dot(c, height - 1 - y))
                picture.setPixel(c, y, 1);
    return picture;
}

bool saveMarkPicture(const QImage &picture, const QString &path)
{
    const QByteArray format = QFileInfo(path).suffix().toLower().toLatin1();
    QSaveFile file(path);
    if (picture.isNull() || !file.open(QIODevice::WriteOnly))
        return false;
    QImageWriter writer(&file, format);
    const QImage out = format == "bmp" ? picture.convertToFormat(QImage::Format_Mono) : picture;
    return writer.write(out) && file.commit();
}

} // namespace vgfx
