#include "support/test_widgets.h"

QString writeBmp(const QString &path, int width, int height,
                 const std::function<bool(int x, int y)> &dark, QImage::Format format)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, dark(x, y) ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    image = image.convertToFormat(format, {qRgb(0, 0, 0), qRgb(255, 255, 255)});
    if (!image.save(path, "BMP"))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}
