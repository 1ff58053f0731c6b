#include "graphics/model/clip_render.h"

#include <QAbstractTextDocumentLayout>
#include <QFileInfo>
#include <QMimeData>
#include <QPainter>
#include <QTextDocument>
#include <algorithm>
#include <array>

namespace vgfx
{

bool isDarkPixel(QRgb pixel)
{
    const QRgb colour = pixel & ClipWhite;
    return colour == 0x000000 || colour == 0x808080;
}

DarkExtent darkExtent(const QImage &sample)
{
    DarkExtent extent;
    const int columns = std::min(sample.width(), SampleSearchColumns);
    const int rows = std::min(sample.height(), SampleRows);
    for (int y = 0; y < rows; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(sample.constScanLine(y));
        for (int x = 0; x < columns; ++x) {
            if (!isDarkPixel(line[x]))
                continue;
            if (extent.firstRow < 0)
                extent.firstRow = y;
            extent.lastRow = y;
            extent.lastColumn = std::max(extent.lastColumn, x);
        }
    }
    return extent;
}

namespace
{

QImage sampleOf(const QImage &rendering)
{
    QImage sample(std::clamp(rendering.width(), 1, ClipColumns), SampleRows, QImage::Format_RGB32);
    sample.fill(ClipWhite);
    QPainter painter(&sample);
    painter.drawImage(0, 0, rendering.convertToFormat(QImage::Format_RGB32));
    return sample;
}

// The steps by which the height moves, halving towards the target and then fine.
std::array<int, 6> searchSteps(int target)
{
    return {target / 2, target / 4, target / 8, 4, 2, 1};
}

} // namespace

HeightSearch searchRenderHeight(const PictureSource &source, int target)
{
    const std::array<int, 6> steps = searchSteps(target);
    // A span of 32 rows is 31 between its first and last row, as for every other target.
    const int span = target == HighestTargetHeight ? HighestTargetHeight - 1 : target;
    HeightSearch search;
    int height = target;
    for (std::size_t step = 0;; ++step) {
        search.heights.push_back(height);
        search.sample = sampleOf(source(height));
        search.extent = darkExtent(search.sample);
        const int d =
            search.extent.any() ? search.extent.lastRow - search.extent.firstRow - span : -span;
        if (d == 0 || step == steps.size())
            break;
        height += d < 0 ? steps[step] : -steps[step];
        height = std::max(height, 1);
    }
    return search;
}

bool placeSample(const HeightSearch &search, int verticalOffset, ClipGrid &grid)
{
    const DarkExtent &extent = search.extent;
    if (!extent.any())
        return false;
    const QImage &sample = search.sample;
    const QRgb background = sample.pixel(0, 0) & ClipWhite;
    grid.imageWidth = extent.lastColumn + 1;
    grid.imageHeight = extent.lastRow + 1;
    const int shift = ClipBaselineRow + verticalOffset - extent.lastRow;
    for (int y = 0; y < grid.imageHeight; ++y)
        for (int x = 0; x < grid.imageWidth; ++x)
            if ((sample.pixel(x, y) & ClipWhite) != background)
                grid.set(x, y + shift, ClipDot);
    return true;
}

PictureSource scaledPicture(QImage picture)
{
    return [picture = std::move(picture)](int height) {
        if (picture.isNull())
            return QImage();
        return picture.scaledToHeight(height, Qt::SmoothTransformation);
    };
}

bool pictureToDots(const QImage &picture, int target, int verticalOffset, ClipGrid &grid)
{
    grid.clear();
    if (picture.isNull())
        return false;
    const int clamped = std::clamp(target, LowestTargetHeight, HighestTargetHeight);
    return placeSample(searchRenderHeight(scaledPicture(picture), clamped), verticalOffset, grid);
}

namespace
{

// Drawn large and scaled down later, so that the strokes keep their shape at a few dots.
constexpr qreal TextScale = 4;

// Pasted HTML may name local files for its pictures. Only ordinary files of a picture's size are
// read: a name such as /dev/zero or a pipe would otherwise hang the station or exhaust its memory.
// Any other picture is a white dot, for the text layout would read the file itself, or draw its
// broken-file icon into the mark, for a picture it is not given.
class PastedDocument : public QTextDocument
{
protected:
    QVariant loadResource(int type, const QUrl &name) override
    {
        constexpr qint64 LargestResourceBytes = 64 * 1024 * 1024;
        const QString path = name.isLocalFile()        ? name.toLocalFile()
                             : name.scheme().isEmpty() ? name.path()
                                                       : QString();
        const QFileInfo file(path);
        if (!path.isEmpty() && file.isFile() && file.size() <= LargestResourceBytes) {
            const QVariant loaded = QTextDocument::loadResource(type, name);
            if (type != ImageResource || !QImage::fromData(loaded.toByteArray()).isNull())
                return loaded;
        }
        if (type != ImageResource)
            return {};
        QImage blank(1, 1, QImage::Format_RGB32);
        blank.fill(Qt::white);
        return blank;
    }
};

QImage documentPicture(QTextDocument &document)
{
    document.setDocumentMargin(0);
    const QSizeF size = document.documentLayout()->documentSize() * TextScale;
    const QSize pixels = size.toSize().boundedTo(QSize(16384, 512));
    if (pixels.isEmpty())
        return {};
    QImage picture(pixels, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(TextScale, TextScale);
    document.drawContents(&painter);
    return picture;
}

} // namespace

QImage clipboardPicture(const QMimeData *data)
{
    if (!data)
        return {};
    if (data->hasImage()) {
        const QImage image = qvariant_cast<QImage>(data->imageData());
        if (!image.isNull())
            return image;
    }
    PastedDocument document;
    if (data->hasHtml())
        document.setHtml(data->html());
    else if (data->hasText())
        document.setPlainText(data->text());
    else
        return {};
    if (document.isEmpty())
        return {};
    return documentPicture(document);
}

} // namespace vgfx
