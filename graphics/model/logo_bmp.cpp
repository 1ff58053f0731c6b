#include "graphics/model/logo_bmp.h"

#include "graphics/model/bmp_file.h"
#include "graphics/model/logo_dots.h"
#include "graphics/model/mono_image.h"

#include <QDir>
#include <QImage>
#include <QImageWriter>
#include <QSaveFile>
#include <algorithm>

namespace vgfx
{

using vlink::LogoBuffer;

namespace
{

constexpr QRgb White = 0xFFFFFF;

bool isDot(QRgb pixel)
{
    return (pixel & White) != White;
}

// Width from the rightmost column with a dot, height from the highest band with one.
void measureExtent(LogoBuffer &logo)
{
    int lastColumn = 0;
    int lastBand = 0;
    for (int c = 0; c < LogoBuffer::Columns; ++c)
        for (int b = 0; b < LogoBuffer::Bands; ++b)
            if (logo.at(c, b) != 0) {
                lastColumn = c;
                lastBand = std::max(lastBand, b);
            }
    logo.width = lastColumn + 1;
    logo.height = lastBand + 1;
}

void clearColumnsFrom(LogoBuffer &logo, int column)
{
    std::fill(logo.dots.begin() + column * LogoBuffer::Bands, logo.dots.end(), quint8(0));
}

void composeFromImage(const QImage &image, LogoBuffer &logo)
{
    const int rows = std::min(image.height(), MaxLogoRows);
    // Very flat bitmaps would allow more columns than the buffer has.
    const int cols = std::min({image.width(), MaxLogoDots / rows, int(LogoBuffer::Columns)});
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < cols; ++x)
            if (isDot(image.pixel(x, y)))
                setComposedDot(logo, x, rows - 1 - y);
    measureExtent(logo);
    // The dot limit counts rows, but whole bands travel: a bitmap of 9 to 15 rows would fill
    // more than a record's 500 dot bytes. Keep the columns that fit.
    if (logo.width * logo.height > LogoBuffer::MaxDotBytes) {
        clearColumnsFrom(logo, LogoBuffer::MaxDotBytes / logo.height);
        measureExtent(logo);
    }
}

bool writeMonoBmp(const LogoBuffer &logo, const QString &path)
{
    const int width = drawnWidth(logo);
    const int rows = drawnHeight(logo) * 8;
    if (width < 1 || rows < 1)
        return false;
    QImage image = clearedMono(width, rows, {qRgb(0, 0, 0), qRgb(255, 255, 255)}, 1);
    for (int c = 0; c < width; ++c)
        for (int y = 0; y < rows; ++y)
            if (hasDot(logo, c, rows - 1 - y))
                image.setPixel(c, y, 0);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QImageWriter writer(&file, "bmp");
    return writer.write(image) && file.commit();
}

} // namespace

QString bmpLoadText(BmpLoad result)
{
    switch (result) {
    case BmpLoad::NotValid:
        return QString::fromLatin1(ImageNotValidText);
    case BmpLoad::NotMonochrome:
        return QString::fromLatin1(ImageNotMonochromeText);
    case BmpLoad::Loaded:
        break;
    }
    return {};
}

BmpLoad convertBmpToLogo(const QString &path, LogoBuffer &logo)
{
    logo.fill(0);
    logo.order = vlink::DotOrder::Composed;
    BmpHeader header;
    QImage image;
    if (readBmpFile(path, header, image) != BmpRead::Ok)
        return BmpLoad::NotValid;
    // From the file's own bit depth: Qt's palette handling says nothing reliable about it.
    if (!header.isMonochrome() || image.depth() != 1)
        return BmpLoad::NotMonochrome;
    composeFromImage(image, logo);
    return BmpLoad::Loaded;
}

void convertImageToLogo(const QImage &image, LogoBuffer &logo)
{
    logo.fill(0);
    logo.order = vlink::DotOrder::Composed;
    if (image.isNull())
        return;
    composeFromImage(image, logo);
}

bool saveLogoBmp(const LogoBuffer &logo, const QString &path)
{
    if (logo.isEmpty() || logo.isDeleted())
        return false;
    return writeMonoBmp(logo, path);
}

bool writeTemporaryBmp(const LogoBuffer &logo, const QString &directory)
{
    if (logo.isDeleted())
        return false;
    return writeMonoBmp(logo, QDir(directory).filePath(QString::fromLatin1(TemporaryBmpName)));
}

} // namespace vgfx
