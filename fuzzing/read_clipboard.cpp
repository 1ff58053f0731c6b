#include "fuzzing/targets.h"

#include "graphics/model/clip_grid.h"
#include "graphics/model/clip_render.h"

#include <QGuiApplication>
#include <QMimeData>

namespace
{

// Text is drawn with the platform's fonts, which need an application; nothing is shown.
void ensureGuiApplication()
{
    if (QGuiApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "fuzz_clipboard_picture";
    static char *argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(argc, argv);
}

bool anyDotFrom(const vgfx::ClipGrid &grid, int firstColumn)
{
    for (int row = 0; row < vgfx::ClipRows; ++row)
        for (int column = firstColumn; column < vgfx::ClipColumns; ++column)
            if (grid.isDot(column, row))
                return true;
    return false;
}

} // namespace

// The first byte says what the clipboard offers (an encoded picture, HTML or plain text) and the
// target height; the rest is its content.
void readClipboardPicture(const QByteArray &bytes)
{
    ensureGuiApplication();
    if (bytes.isEmpty())
        return;
    const quint8 head = quint8(bytes[0]);
    const QByteArray body = bytes.mid(1);
    QMimeData offer;
    switch (head % 3) {
    case 0:
        offer.setImageData(QImage::fromData(body));
        break;
    case 1:
        offer.setHtml(QString::fromUtf8(body));
        break;
    default:
        offer.setText(QString::fromUtf8(body));
        break;
    }
    const int target = vgfx::LowestTargetHeight +
                       (head / 3) % (vgfx::HighestTargetHeight - vgfx::LowestTargetHeight + 1);
    static vgfx::ClipGrid grid;
    const bool placed =
        vgfx::pictureToDots(vgfx::clipboardPicture(&offer), target, vgfx::ClipDefaultOffset, grid);
    if (!placed) {
        fuzzCheck(!anyDotFrom(grid, 0), "a picture with nothing dark leaves the grid blank");
        return;
    }
    fuzzCheck(grid.imageWidth >= 1 && grid.imageWidth <= vgfx::SampleSearchColumns,
              "the image is as wide as its dark pixels");
    fuzzCheck(grid.imageHeight >= 1 && grid.imageHeight <= vgfx::SampleRows,
              "the image is no taller than the sample");
    fuzzCheck(!anyDotFrom(grid, grid.imageWidth), "no dot lies right of the image");
}
