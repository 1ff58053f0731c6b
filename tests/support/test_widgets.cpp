#include "support/test_widgets.h"

#include <QFile>

QImage blackAndWhite(int width, int height, const Pixels &dark, QImage::Format format)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, dark(x, y) ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    return image.convertToFormat(format, {qRgb(0, 0, 0), qRgb(255, 255, 255)});
}

QString writeBmp(const QString &path, int width, int height, const Pixels &dark,
                 QImage::Format format)
{
    if (!blackAndWhite(width, height, dark, format).save(path, "BMP"))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

QString writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}
