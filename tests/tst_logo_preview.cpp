#include "graphics/model/logo_preview.h"
#include "graphics/model/logo_zoom.h"
#include "support/table_rows.h"

#include <QTest>
#include <limits>

using namespace vgfx;
using vlink::DotOrder;
using vlink::LogoBuffer;

namespace
{

constexpr QRgb White = 0xFFFFFF;
constexpr QRgb Black = 0x000000;
constexpr int Max = std::numeric_limits<int>::max();

QRgb at(const QImage &image, int x, int y)
{
    return image.pixel(x, y) & 0xFFFFFF;
}

int count(const QImage &image, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += at(image, x, y) == colour;
    return n;
}

LogoBuffer logo(int width, int height, DotOrder order = DotOrder::Composed)
{
    LogoBuffer l;
    l.width = width;
    l.height = height;
    l.order = order;
    return l;
}

} // namespace

class TestLogoPreview : public QObject
{
    Q_OBJECT

private slots:
    void dotLandsOnItsRow();
    void size();
    void gridLines();
    void zoom();
};

// Top row of the image first; zoom 3, so the dot is a 3 x 3 square. A read fills the buffer with
// 0xFF before the record lands: only W x H is the logo.
void TestLogoPreview::dotLandsOnItsRow()
{
    const struct {
        const char *name;
        DotOrder order;
        int height;
        int band; // -1: every byte 0xFF
        int mask;
        int row;
    } rows[] = {
        {"composed 0x01 is the top dot", DotOrder::Composed, 1, 0, 0x01, 0},
        {"device 0x01 is the bottom dot", DotOrder::Device, 1, 0, 0x01, 7},
        {"band 0 under band 1", DotOrder::Composed, 2, 0, 0x01, 8},
        {"device top dot of four bands", DotOrder::Device, 4, 3, 0x80, 0},
        {"a read's fill", DotOrder::Device, 2, -1, 0xFF, 0},
    };
    forEachRow(rows, [](const auto &row) {
        LogoBuffer l = logo(4, row.height, row.order);
        row.band < 0 ? l.fill(0xFF) : void(l.at(2, row.band) = quint8(row.mask));
        const QImage image = drawPreview(l, 3);
        QCOMPARE(count(image, Black), row.band < 0 ? 4 * 16 * 9 : 9);
        QCOMPARE(at(image, 2 * 3, row.row * 3), Black);
        QCOMPARE(at(image, 2 * 3 + 2, row.row * 3 + 2), Black);
    });
}

// (W + 1) z + 2 z across, z ((H + 1) 8 + 16) down; nothing rather than an image too large to
// allocate or a size that overflows.
void TestLogoPreview::size()
{
    const struct {
        const char *name;
        int width;
        int height;
        int zoom;
        QSize size;
    } rows[] = {{"40 x 2 at 4", 40, 2, 4, QSize(41 * 4 + 8, 4 * (24 + 16))},
                {"zoom 0", 40, 2, 0, QSize()},
                {"too large to allocate", 512, 4, 64, QSize()},
                {"largest zoom", 1, 1, Max, QSize()}};
    forEachRow(rows, [](const auto &row) {
        LogoBuffer l = logo(row.width, row.height);
        l.at(0, 0) = 0x80;
        QCOMPARE(previewSize(l, row.zoom), row.size);
        QImage image = drawPreview(l, row.zoom);
        QCOMPARE(image.size(), row.size.isValid() ? row.size : QSize(0, 0));
        drawDotGrid(image, l, row.zoom);
        QCOMPARE(image.isNull(), !row.size.isValid());
    });
}

// Lines every z pixels, across dots as well as paper; none without dots.
void TestLogoPreview::gridLines()
{
    LogoBuffer l = logo(3, 1);
    l.at(0, 0) = 0x01; // the top left square, under the first lines
    QImage image = drawPreview(l, 4);
    drawDotGrid(image, l, 4);
    QCOMPARE(image.size(), QSize(24, 128));
    for (const QPoint p : {QPoint(0, 127), QPoint(20, 1), QPoint(23, 124), QPoint(1, 60)})
        QCOMPARE(at(image, p.x(), p.y()), GridColour);
    QCOMPARE(at(image, 1, 1), Black);
    // 6 lines down, 32 across, each crossing counted once.
    QCOMPARE(count(image, GridColour), 6 * 128 + 32 * 24 - 6 * 32);
    const LogoBuffer empty = logo(3, 1);
    QImage blank = drawPreview(empty, 4);
    drawDotGrid(blank, empty, 4);
    QCOMPARE(count(blank, White), blank.width() * blank.height());
}

// Out only above the base zoom, else it beeps; neither changes an empty buffer's zoom.
void TestLogoPreview::zoom()
{
    const struct {
        const char *name;
        ZoomStep step;
        ZoomStep expected; // zoom, beep, changed
    } rows[] = {
        {"in doubles", zoomIn(4, false), {8, false, true}},
        {"in would overflow", zoomIn(Max / 2 + 1, false), {Max / 2 + 1, true, false}},
        {"in on an empty buffer", zoomIn(4, true), {4, false, false}},
        {"out at base only beeps", zoomOut(4, 4, false), {4, true, false}},
        {"out halves", zoomOut(16, 4, false), {8, false, true}},
        {"out on an empty buffer", zoomOut(16, 4, true), {16, false, false}},
    };
    forEachRow(rows, [](const auto &row) { QCOMPARE(row.step, row.expected); });
}

QTEST_GUILESS_MAIN(TestLogoPreview)
#include "tst_logo_preview.moc"
