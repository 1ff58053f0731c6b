#include "graphics/logo_name.h"
#include "graphics/logo_preview.h"
#include "graphics/logo_zoom.h"

#include <QTest>
#include <limits>

using namespace vgfx;
using vlink::DotOrder;
using vlink::LogoBuffer;
Q_DECLARE_METATYPE(DotOrder)

namespace
{

constexpr QRgb White = 0xFFFFFF;
constexpr QRgb Black = 0x000000;

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

bool squareIs(const QImage &image, int x, int y, int zoom, QRgb colour)
{
    for (int dy = 0; dy < zoom; ++dy)
        for (int dx = 0; dx < zoom; ++dx)
            if (at(image, x + dx, y + dy) != colour)
                return false;
    return true;
}

LogoBuffer logo(int width, int height, DotOrder order)
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
    void dotLandsOnItsRow_data();
    void dotLandsOnItsRow();
    void knownLogoBothOrders_data();
    void knownLogoBothOrders();
    void onlyWidthTimesHeightIsDrawn();
    void sizeFollowsTheLogo_data();
    void sizeFollowsTheLogo();
    void gridLines();
    void gridNeedsDots();
    void sizeLabelText();
    void nameFilter_data();
    void nameFilter();
    void compactNameFilter_data();
    void compactNameFilter();
    void zoom_data();
    void zoom();
};

void TestLogoPreview::dotLandsOnItsRow_data()
{
    QTest::addColumn<DotOrder>("order");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("band");
    QTest::addColumn<int>("mask");
    QTest::addColumn<int>("row"); // dot row from the top of the image

    QTest::newRow("composed 0x80 is the bottom dot") << DotOrder::Composed << 1 << 0 << 0x80 << 7;
    QTest::newRow("composed 0x01 is the top dot") << DotOrder::Composed << 1 << 0 << 0x01 << 0;
    QTest::newRow("device 0x01 is the bottom dot") << DotOrder::Device << 1 << 0 << 0x01 << 7;
    QTest::newRow("device 0x80 is the top dot") << DotOrder::Device << 1 << 0 << 0x80 << 0;
    QTest::newRow("composed band 1 sits above band 0") << DotOrder::Composed << 2 << 1 << 0x80 << 7;
    QTest::newRow("composed band 0 under band 1") << DotOrder::Composed << 2 << 0 << 0x01 << 8;
    QTest::newRow("device lowest dot of four bands") << DotOrder::Device << 4 << 0 << 0x01 << 31;
    QTest::newRow("device top dot of four bands") << DotOrder::Device << 4 << 3 << 0x80 << 0;
    QTest::newRow("composed 0x10 of band 2 of 3") << DotOrder::Composed << 3 << 2 << 0x10 << 4;
}

void TestLogoPreview::dotLandsOnItsRow()
{
    QFETCH(DotOrder, order);
    QFETCH(int, height);
    QFETCH(int, band);
    QFETCH(int, mask);
    QFETCH(int, row);

    const int zoom = 3;
    LogoBuffer l = logo(4, height, order);
    l.at(2, band) = quint8(mask);
    const QImage image = drawPreview(l, zoom);
    QVERIFY(squareIs(image, 2 * zoom, row * zoom, zoom, Black));
    QCOMPARE(count(image, Black), zoom * zoom);
}

void TestLogoPreview::knownLogoBothOrders_data()
{
    QTest::addColumn<DotOrder>("order");
    QTest::addColumn<QPoint>("firstColumnDot"); // top left of the column 0 square
    QTest::addColumn<QPoint>("lastColumnDot");

    // Column 0 holds 0x80, column 2 holds 0x01, one band, zoom 2.
    QTest::newRow("composed") << DotOrder::Composed << QPoint(0, 14) << QPoint(4, 0);
    QTest::newRow("device") << DotOrder::Device << QPoint(0, 0) << QPoint(4, 14);
}

void TestLogoPreview::knownLogoBothOrders()
{
    QFETCH(DotOrder, order);
    QFETCH(QPoint, firstColumnDot);
    QFETCH(QPoint, lastColumnDot);

    LogoBuffer l = logo(3, 1, order);
    l.at(0, 0) = 0x80;
    l.at(2, 0) = 0x01;
    const QImage image = drawPreview(l, 2);
    QCOMPARE(image.size(), QSize((3 + 1) * 2 + 2 * 2, 2 * ((1 + 1) * 8 + 16)));
    QVERIFY(squareIs(image, firstColumnDot.x(), firstColumnDot.y(), 2, Black));
    QVERIFY(squareIs(image, lastColumnDot.x(), lastColumnDot.y(), 2, Black));
    QCOMPARE(count(image, Black), 8);
    QCOMPARE(count(image, White), image.width() * image.height() - 8);
    QCOMPARE(at(image, 2, firstColumnDot.y()), White);
}

void TestLogoPreview::onlyWidthTimesHeightIsDrawn()
{
    // A read fills the buffer with 0xFF before the record lands: only W x H is the logo.
    LogoBuffer read = logo(5, 2, DotOrder::Device);
    read.fill(0xFF);
    QCOMPARE(count(drawPreview(read, 3), Black), 5 * 16 * 9);

    // An empty record reads as 32 x 32; the preview stays within the buffer's four bands.
    read.width = 32;
    read.height = 32;
    const QImage image = drawPreview(read, 1);
    QCOMPARE(count(image, Black), 32 * 32);
    QCOMPARE(image.height(), (4 + 1) * 8 + 16);

    LogoBuffer full = logo(125, 4, DotOrder::Composed);
    full.fill(0xFF);
    QCOMPARE(count(drawPreview(full, 1), Black), 125 * 32);
}

void TestLogoPreview::sizeFollowsTheLogo_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("zoom");
    QTest::addColumn<int>("minimumWidth");
    QTest::addColumn<QSize>("size");

    QTest::newRow("40 x 2 at 4") << 40 << 2 << 4 << 0 << QSize(41 * 4 + 8, 4 * (24 + 16));
    QTest::newRow("controls wider than the logo") << 3 << 1 << 2 << 300 << QSize(300, 64);
    QTest::newRow("logo wider than the controls") << 100 << 4 << 2 << 50 << QSize(206, 112);
    QTest::newRow("zoom 0 draws nothing") << 40 << 2 << 0 << 0 << QSize();
    QTest::newRow("zoom too large to allocate") << 512 << 4 << 64 << 0 << QSize();
    QTest::newRow("largest zoom") << 1 << 1 << std::numeric_limits<int>::max() << 0 << QSize();
}

void TestLogoPreview::sizeFollowsTheLogo()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, zoom);
    QFETCH(int, minimumWidth);
    QFETCH(QSize, size);

    LogoBuffer l = logo(width, height, DotOrder::Composed);
    l.at(0, 0) = 0x80;
    QCOMPARE(previewSize(l, zoom, minimumWidth), size);
    QImage image = drawPreview(l, zoom, minimumWidth);
    QCOMPARE(image.size(), size.isValid() ? size : QSize(0, 0));
    drawDotGrid(image, l, zoom);
    QCOMPARE(image.isNull(), !size.isValid());
}

void TestLogoPreview::gridLines()
{
    const int zoom = 4;
    LogoBuffer l = logo(3, 1, DotOrder::Composed);
    l.at(0, 0) = 0x01; // top left square, under the first grid lines
    QImage image = drawPreview(l, zoom, 40);
    drawDotGrid(image, l, zoom);

    // W = (3 + 1) * 4 + 2 * 4 = 24 across; down to 4 * ((1 + 1) * 8 + 16) = 128.
    QCOMPARE(image.size(), QSize(40, 128));
    const QRgb silver = GridColour;
    for (int x : {0, 4, 8, 20}) {
        QCOMPARE(at(image, x, 0), silver);
        QCOMPARE(at(image, x, 127), silver);
        QCOMPARE(at(image, x, 63), silver);
    }
    for (int y : {0, 4, 60, 124}) {
        QCOMPARE(at(image, 1, y), silver);
        QCOMPARE(at(image, 23, y), silver);
        QCOMPARE(at(image, 24, y), White);
    }
    QCOMPARE(at(image, 24, 1), White);
    QCOMPARE(at(image, 1, 1), Black);
    QCOMPARE(at(image, 5, 1), White);
    QCOMPARE(at(image, 21, 125), White);
    // 6 lines down, 32 across, each crossing counted once.
    QCOMPARE(count(image, silver), 6 * 128 + 32 * 24 - 6 * 32);
    QCOMPARE(count(image, Black), 3 * 3);
}

void TestLogoPreview::gridNeedsDots()
{
    const LogoBuffer empty = logo(3, 1, DotOrder::Composed);
    QImage image = drawPreview(empty, 4);
    const QImage before = image;
    drawDotGrid(image, empty, 4);
    QCOMPARE(image, before);
    QCOMPARE(count(image, White), image.width() * image.height());
}

void TestLogoPreview::sizeLabelText()
{
    QCOMPARE(sizeLabel(logo(40, 2, DotOrder::Composed)), QString("Col:40*Row:2"));
    QCOMPARE(sizeLabel(logo(125, 4, DotOrder::Device)), QString("Col:125*Row:4"));
}

void TestLogoPreview::nameFilter_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("name");

    QTest::newRow("ten characters lose two") << "ABCDEFGHIJ"
                                             << "ABCDEFGH";
    QTest::newRow("space among the first eight") << "AB CDEFGHIJ"
                                                 << "ABCDEFG";
    QTest::newRow("hyphen") << "LOGO-123"
                            << "LOGO123";
    QTest::newRow("full stop") << "v1.2"
                               << "v12";
    QTest::newRow("cut before removing") << "ABCDEFG-XY"
                                         << "ABCDEFG";
    QTest::newRow("all of ! to / go") << "!\"#$%&'()*+,-./0"
                                      << "";
    QTest::newRow("0 and : upward stay") << "0:;<=>?@"
                                         << "0:;<=>?@";
    QTest::newRow("letters beyond ASCII stay")
        << QString::fromUtf8("ЛОГО №1") << QString::fromUtf8("ЛОГО№1");
    QTest::newRow("no half surrogate pair") << QString::fromUtf8("ABCDEFG😀Z") << "ABCDEFG";
    QTest::newRow("empty") << ""
                           << "";
}

void TestLogoPreview::nameFilter()
{
    QFETCH(QString, typed);
    QFETCH(QString, name);
    const NameEdit edit = filterLogoName(typed);
    QCOMPARE(edit.text, name);
    QCOMPARE(edit.caret, int(name.size()));
}

void TestLogoPreview::compactNameFilter_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("newCaret");

    QTest::newRow("nine cut to eight") << "ABCDEFGHI" << 3 << "ABCDEFGH" << 8;
    QTest::newRow("nothing removed") << "A B-C.D/E" << 9 << "A B-C.D/" << 8;
    QTest::newRow("eight kept with its caret") << "AB CD.EF" << 2 << "AB CD.EF" << 2;
    QTest::newRow("short kept") << "A-B" << 1 << "A-B" << 1;
}

void TestLogoPreview::compactNameFilter()
{
    QFETCH(QString, typed);
    QFETCH(int, caret);
    QFETCH(QString, name);
    QFETCH(int, newCaret);
    QCOMPARE(cutLogoName(typed, caret), (NameEdit{name, newCaret}));
}

void TestLogoPreview::zoom_data()
{
    QTest::addColumn<bool>("in");
    QTest::addColumn<int>("zoom");
    QTest::addColumn<int>("base");
    QTest::addColumn<bool>("empty");
    QTest::addColumn<int>("newZoom");
    QTest::addColumn<bool>("beep");

    const int max = std::numeric_limits<int>::max();
    QTest::newRow("in 4 -> 8") << true << 4 << 4 << false << 8 << false;
    QTest::newRow("in 8 -> 16") << true << 8 << 4 << false << 16 << false;
    QTest::newRow("in past any size") << true << 1 << 1 << false << 2 << false;
    QTest::newRow("in last doubling") << true << max / 2 << 1 << false << max - 1 << false;
    QTest::newRow("in would overflow") << true << max / 2 + 1 << 1 << false << max / 2 + 1 << true;
    QTest::newRow("in on empty buffer") << true << 4 << 4 << true << 4 << false;
    QTest::newRow("out at base only beeps") << false << 4 << 4 << false << 4 << true;
    QTest::newRow("out below base only beeps") << false << 2 << 4 << false << 2 << true;
    QTest::newRow("out 16 base 4 -> 8") << false << 16 << 4 << false << 8 << false;
    QTest::newRow("out 6 -> 3") << false << 6 << 1 << false << 3 << false;
    QTest::newRow("out 10 -> 5") << false << 10 << 1 << false << 5 << false;
    QTest::newRow("out 3 -> 2 (1.5)") << false << 3 << 1 << false << 2 << false;
    QTest::newRow("out 5 -> 2 (2.5)") << false << 5 << 1 << false << 2 << false;
    QTest::newRow("out 7 -> 4 (3.5)") << false << 7 << 1 << false << 4 << false;
    QTest::newRow("out 9 -> 4 (4.5)") << false << 9 << 1 << false << 4 << false;
    QTest::newRow("out 5 base 4 may go below base") << false << 5 << 4 << false << 2 << false;
    QTest::newRow("out never to zero") << false << 1 << 0 << false << 1 << true;
    QTest::newRow("out on empty buffer") << false << 16 << 4 << true << 16 << false;
}

void TestLogoPreview::zoom()
{
    QFETCH(bool, in);
    QFETCH(int, zoom);
    QFETCH(int, base);
    QFETCH(bool, empty);
    QFETCH(int, newZoom);
    QFETCH(bool, beep);

    const ZoomStep step = in ? zoomIn(zoom, empty) : zoomOut(zoom, base, empty);
    QCOMPARE(step, (ZoomStep{newZoom, beep, newZoom != zoom}));
}

QTEST_GUILESS_MAIN(TestLogoPreview)
#include "tst_logo_preview.moc"
