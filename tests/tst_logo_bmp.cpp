#include "graphics/bmp_file.h"
#include "graphics/logo_bmp.h"
#include "link/exchange.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <functional>
#include <memory>

using namespace vgfx;
using vlink::DotOrder;
using vlink::LogoBuffer;
using Pixels = std::function<bool(int x, int y)>; // true: dark; y = 0 is the top row
Q_DECLARE_METATYPE(Pixels)
Q_DECLARE_METATYPE(BmpLoad)

namespace
{

constexpr QRgb Black = 0x000000;
constexpr QRgb White = 0xFFFFFF;

void put16(QByteArray &b, int at, int v)
{
    qToLittleEndian(quint16(v), b.data() + at);
}

void put32(QByteArray &b, int at, qint64 v)
{
    qToLittleEndian(quint32(v), b.data() + at);
}

// A 1-bit bitmap written byte by byte, so the palette and the row order are ours, not Qt's.
QByteArray monoBmp(int width, int height, const Pixels &dark, QRgb colour0 = Black,
                   QRgb colour1 = White, bool topDown = false)
{
    const bool darkIsZero = qGray(colour0) < qGray(colour1);
    const int stride = (width + 31) / 32 * 4;
    const int offset = 14 + 40 + 8;
    QByteArray b(offset + stride * height, '\0');
    b[0] = 'B';
    b[1] = 'M';
    put32(b, 2, b.size());
    put32(b, 10, offset);
    put32(b, 14, 40);
    put32(b, 18, width);
    put32(b, 22, topDown ? -height : height);
    put16(b, 26, 1);
    put16(b, 28, 1);
    put32(b, 34, stride * height);
    put32(b, 54, colour0);
    put32(b, 58, colour1);
    for (int y = 0; y < height; ++y) {
        const int stored = topDown ? y : height - 1 - y;
        for (int x = 0; x < width; ++x)
            if (dark(x, y) != darkIsZero)
                b[offset + stored * stride + x / 8] |= char(0x80 >> (x % 8));
    }
    return b;
}

QByteArray qtBmp(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

QImage picture(int width, int height, const Pixels &dark, QImage::Format format)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, dark(x, y) ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    return image.convertToFormat(format, {qRgb(0, 0, 0), qRgb(255, 255, 255)});
}

const Pixels allDark = [](int, int) { return true; };
const Pixels allLight = [](int, int) { return false; };

// Fills with garbage first, as a previous read leaves it.
LogoBuffer usedBuffer()
{
    LogoBuffer logo;
    logo.fill(0xFF);
    logo.width = 32;
    logo.height = 32;
    logo.number = 7;
    logo.name = "OLD";
    logo.order = DotOrder::Device;
    return logo;
}

int band(const LogoBuffer &logo, int column, int b)
{
    return logo.at(column, b);
}

} // namespace

class TestLogoBmp : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void extent_data();
    void extent();
    void fortyByTen();
    void singleDotsLandBottomAligned_data();
    void singleDotsLandBottomAligned();
    void paletteOrderDoesNotMatter();
    void offWhiteIsADot();
    void topDownRowsKeepTheirPlace();
    void qtWrittenMonochromeLoads();
    void oldCoreHeaderLoads();
    void refused_data();
    void refused();
    void missingOrUnreadableFile();
    void headerOnlyMonochromeCheck_data();
    void headerOnlyMonochromeCheck();
    void emptyAndDeletedAreNotSaved();
    void savedFileIsOneBitMonochrome();
    void deviceLogoSavedReadsBackBitReversed();
    void oversizedReadIsSavedWithinTheBuffer();
    void temporaryBmp();

private:
    QString write(const QString &name, const QByteArray &bytes);
    std::unique_ptr<QTemporaryDir> dir_;
};

void TestLogoBmp::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
}

QString TestLogoBmp::write(const QString &name, const QByteArray &bytes)
{
    const QString path = dir_->filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void TestLogoBmp::extent_data()
{
    QTest::addColumn<int>("bmpWidth");
    QTest::addColumn<int>("bmpHeight");
    QTest::addColumn<Pixels>("dark");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");

    QTest::newRow("white gives 1 x 1") << 40 << 10 << allLight << 1 << 1;
    QTest::newRow("600 x 32 cut to 125 columns") << 600 << 32 << allDark << 125 << 4;
    QTest::newRow("600 x 8 cut to 500 columns") << 600 << 8 << allDark << 500 << 1;
    QTest::newRow("600 x 40 cut to 32 rows, 125 columns") << 600 << 40 << allDark << 125 << 4;
    QTest::newRow("rows below 32 are ignored")
        << 600 << 40 << Pixels([](int, int y) { return y >= 32; }) << 1 << 1;
    QTest::newRow("dots only in the top 8 of 32 rows")
        << 20 << 32 << Pixels([](int, int y) { return y < 8; }) << 20 << 4;
    QTest::newRow("blank columns at the left stay")
        << 40 << 8 << Pixels([](int x, int) { return x == 5; }) << 6 << 1;
    QTest::newRow("blank columns at the right go")
        << 40 << 8 << Pixels([](int x, int) { return x < 3; }) << 3 << 1;
    // A flat bitmap allows 4000 columns by its dots but the buffer and a record hold 500 bytes.
    QTest::newRow("one row stays within a record") << 600 << 1 << allDark << 500 << 1;
    QTest::newRow("ten rows in two bands within a record") << 600 << 10 << allDark << 250 << 2;
    QTest::newRow("ten rows with the top band blank keep 400 columns")
        << 600 << 10 << Pixels([](int, int y) { return y >= 2; }) << 400 << 1;
}

void TestLogoBmp::extent()
{
    QFETCH(int, bmpWidth);
    QFETCH(int, bmpHeight);
    QFETCH(Pixels, dark);
    QFETCH(int, width);
    QFETCH(int, height);

    LogoBuffer logo = usedBuffer();
    const QString path = write("a.bmp", monoBmp(bmpWidth, bmpHeight, dark));
    QCOMPARE(convertBmpToLogo(path, logo), BmpLoad::Loaded);
    QCOMPARE(logo.width, width);
    QCOMPARE(logo.height, height);
    QCOMPARE(logo.order, DotOrder::Composed);
    QVERIFY(logo.width * logo.height <= LogoBuffer::MaxDotBytes);
    for (int c = 0; c < LogoBuffer::Columns; ++c)
        for (int b = 0; b < LogoBuffer::Bands; ++b)
            if (c >= width || b >= height)
                QCOMPARE(band(logo, c, b), 0);
    QCOMPARE(logo.number, 7);
    QCOMPARE(logo.name, QByteArray("OLD"));
}

void TestLogoBmp::fortyByTen()
{
    LogoBuffer logo = usedBuffer();
    QCOMPARE(convertBmpToLogo(write("a.bmp", monoBmp(40, 10, allDark)), logo), BmpLoad::Loaded);
    QCOMPARE(logo.width, 40);
    QCOMPARE(logo.height, 2);
    for (int c = 0; c < 40; ++c) {
        QCOMPARE(band(logo, c, 0), 0xFF);
        // Dots 8 and 9 at 0x80 and 0x40; 0x20..0x01 above the bitmap stay blank.
        QCOMPARE(band(logo, c, 1), 0xC0);
        QCOMPARE(band(logo, c, 2), 0);
        QCOMPARE(band(logo, c, 3), 0);
    }
}

void TestLogoBmp::singleDotsLandBottomAligned_data()
{
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<int>("bmpHeight");
    QTest::addColumn<int>("band");
    QTest::addColumn<int>("mask");
    QTest::addColumn<int>("height");

    QTest::newRow("bottom row of 10 is dot 0") << 39 << 9 << 10 << 0 << 0x80 << 1;
    QTest::newRow("top row of 10 is dot 9") << 0 << 0 << 10 << 1 << 0x40 << 2;
    QTest::newRow("row 2 of 10 is dot 7") << 3 << 2 << 10 << 0 << 0x01 << 1;
    QTest::newRow("row 1 of 10 is dot 8") << 3 << 1 << 10 << 1 << 0x80 << 2;
    QTest::newRow("top row of 32 is dot 31") << 4 << 0 << 32 << 3 << 0x01 << 4;
    QTest::newRow("top row of 1 is dot 0") << 4 << 0 << 1 << 0 << 0x80 << 1;
    QTest::newRow("top row of 40 is cut to dot 31") << 2 << 0 << 40 << 3 << 0x01 << 4;
}

void TestLogoBmp::singleDotsLandBottomAligned()
{
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(int, bmpHeight);
    QFETCH(int, band);
    QFETCH(int, mask);
    QFETCH(int, height);

    LogoBuffer logo = usedBuffer();
    const Pixels one = [&](int px, int py) { return px == x && py == y; };
    QCOMPARE(convertBmpToLogo(write("a.bmp", monoBmp(40, bmpHeight, one)), logo), BmpLoad::Loaded);
    QCOMPARE(logo.width, x + 1);
    QCOMPARE(logo.height, height);
    LogoBuffer expected;
    expected.at(x, band) = quint8(mask);
    QCOMPARE(logo.dots, expected.dots);
}

void TestLogoBmp::paletteOrderDoesNotMatter()
{
    const Pixels diagonal = [](int x, int y) { return (x + y) % 3 == 0; };
    LogoBuffer darkFirst;
    LogoBuffer lightFirst;
    QCOMPARE(convertBmpToLogo(write("d.bmp", monoBmp(30, 20, diagonal, Black, White)), darkFirst),
             BmpLoad::Loaded);
    QCOMPARE(convertBmpToLogo(write("l.bmp", monoBmp(30, 20, diagonal, White, Black)), lightFirst),
             BmpLoad::Loaded);
    QCOMPARE(darkFirst.dots, lightFirst.dots);
    QCOMPARE(darkFirst.width, 30);
    QCOMPARE(darkFirst.height, 3);
    // Top left pixel is dark: dot 19 sits in band 2 at 0x80 >> 3.
    QCOMPARE(band(darkFirst, 0, 2) & 0x10, 0x10);
    QCOMPARE(band(darkFirst, 1, 2) & 0x10, 0);
}

void TestLogoBmp::offWhiteIsADot()
{
    LogoBuffer logo;
    const QString path = write("a.bmp", monoBmp(8, 8, allLight, Black, 0xFEFEFE));
    QCOMPARE(convertBmpToLogo(path, logo), BmpLoad::Loaded);
    QCOMPARE(logo.width, 8);
    QCOMPARE(logo.height, 1);
    for (int c = 0; c < 8; ++c)
        QCOMPARE(band(logo, c, 0), 0xFF);
}

void TestLogoBmp::topDownRowsKeepTheirPlace()
{
    LogoBuffer logo;
    const Pixels topLeft = [](int x, int y) { return x == 0 && y == 0; };
    const QString path = write("a.bmp", monoBmp(16, 16, topLeft, Black, White, true));
    QCOMPARE(convertBmpToLogo(path, logo), BmpLoad::Loaded);
    QCOMPARE(logo.height, 2);
    QCOMPARE(band(logo, 0, 1), 0x01);
    QCOMPARE(band(logo, 0, 0), 0);
}

void TestLogoBmp::qtWrittenMonochromeLoads()
{
    const Pixels frame = [](int x, int y) { return x == 0 || y == 15; };
    LogoBuffer logo;
    const QString path = write("a.bmp", qtBmp(picture(12, 16, frame, QImage::Format_Mono)));
    QCOMPARE(convertBmpToLogo(path, logo), BmpLoad::Loaded);
    QCOMPARE(logo.width, 12);
    QCOMPARE(logo.height, 2);
    QCOMPARE(band(logo, 0, 0), 0xFF);
    QCOMPARE(band(logo, 0, 1), 0xFF);
    QCOMPARE(band(logo, 11, 0), 0x80);
    QCOMPARE(band(logo, 11, 1), 0);
}

void TestLogoBmp::oldCoreHeaderLoads()
{
    // The 12-byte OS/2 header: 16-bit sizes and a palette of 3-byte entries.
    const int offset = 14 + 12 + 2 * 3;
    QByteArray b(offset + 4 * 3, '\0');
    b[0] = 'B';
    b[1] = 'M';
    put32(b, 2, b.size());
    put32(b, 10, offset);
    put32(b, 14, 12);
    put16(b, 18, 10);
    put16(b, 20, 3);
    put16(b, 22, 1);
    put16(b, 24, 1);
    b[29] = b[30] = b[31] = char(0xFF); // colour 1 white, colour 0 black
    b[offset] = char(0x7F);             // bottom row: all but the first pixel white
    b[offset + 1] = char(0xFF);
    const QString path = write("core.bmp", b);
    QVERIFY(isMonochromeBmp(path));
    LogoBuffer logo;
    QCOMPARE(convertBmpToLogo(path, logo), BmpLoad::Loaded);
    QCOMPARE(logo.width, 10);
    QCOMPARE(logo.height, 1);
    QCOMPARE(band(logo, 0, 0), 0x80 | 0x40 | 0x20);
    QCOMPARE(band(logo, 1, 0), 0x40 | 0x20);
    QVERIFY(!isMonochromeBmp(write("cut.bmp", b.chopped(1))));
}

void TestLogoBmp::refused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<BmpLoad>("result");

    const QByteArray mono = monoBmp(40, 10, allDark);
    QTest::newRow("truncated by one byte") << mono.chopped(1) << BmpLoad::NotValid;
    QTest::newRow("pixel rows missing") << mono.left(14 + 40 + 8 + 8) << BmpLoad::NotValid;
    QTest::newRow("header only") << mono.left(30) << BmpLoad::NotValid;
    QTest::newRow("empty file") << QByteArray() << BmpLoad::NotValid;
    QTest::newRow("not a bitmap") << QByteArray("hello, this is no picture at all")
                                  << BmpLoad::NotValid;
    QTest::newRow("PNG") << [] {
        QByteArray b;
        QBuffer buffer(&b);
        buffer.open(QIODevice::WriteOnly);
        picture(8, 8, allDark, QImage::Format_Mono).save(&buffer, "PNG");
        return b;
    }() << BmpLoad::NotValid;

    QByteArray huge = mono;
    put32(huge, 18, 100000);
    put32(huge, 22, 100000);
    QTest::newRow("announces 100000 x 100000") << huge << BmpLoad::NotValid;
    QByteArray wide = mono;
    put32(wide, 18, 0x7FFFFFFF);
    put32(wide, 22, 1);
    QTest::newRow("announces 2^31 - 1 columns") << wide << BmpLoad::NotValid;
    QByteArray lowest = mono;
    put32(lowest, 22, qint64(-0x80000000LL));
    QTest::newRow("announces the lowest height") << lowest << BmpLoad::NotValid;
    QByteArray noWidth = mono;
    put32(noWidth, 18, 0);
    QTest::newRow("zero width") << noWidth << BmpLoad::NotValid;
    QByteArray planes = mono;
    put16(planes, 26, 2);
    QTest::newRow("two planes") << planes << BmpLoad::NotValid;
    QByteArray offset = mono;
    put32(offset, 10, 20);
    QTest::newRow("pixels inside the header") << offset << BmpLoad::NotValid;

    const Pixels checker = [](int x, int y) { return (x + y) % 2 == 0; };
    const QByteArray rgb = qtBmp(picture(16, 8, checker, QImage::Format_RGB32));
    QTest::newRow("24-bit black and white") << rgb << BmpLoad::NotMonochrome;
    QTest::newRow("truncated 24-bit") << rgb.chopped(3) << BmpLoad::NotValid;
    QTest::newRow("indexed with two colours")
        << qtBmp(picture(16, 8, checker, QImage::Format_Indexed8)) << BmpLoad::NotMonochrome;
}

void TestLogoBmp::refused()
{
    QFETCH(QByteArray, bytes);
    QFETCH(BmpLoad, result);

    LogoBuffer logo = usedBuffer();
    const QString path = write("a.bmp", bytes);
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(convertBmpToLogo(path, logo), result);
    QVERIFY(timer.elapsed() < 1000);
    QVERIFY(logo.isEmpty());
    QCOMPARE(isMonochromeBmp(path), false);
}

void TestLogoBmp::missingOrUnreadableFile()
{
    LogoBuffer logo = usedBuffer();
    QCOMPARE(convertBmpToLogo(dir_->filePath("gone.bmp"), logo), BmpLoad::NotValid);
    QVERIFY(logo.isEmpty());
    logo = usedBuffer();
    QCOMPARE(convertBmpToLogo(dir_->path(), logo), BmpLoad::NotValid);
    QVERIFY(logo.isEmpty());
    QCOMPARE(convertBmpToLogo(QString(), logo), BmpLoad::NotValid);

    QCOMPARE(bmpLoadText(BmpLoad::NotValid), QString("Image is not valid..."));
    QCOMPARE(bmpLoadText(BmpLoad::NotMonochrome), QString("Image is not monochrome..."));
    QCOMPARE(bmpLoadText(BmpLoad::Loaded), QString());
    QCOMPARE(QString(ImageNoticeCaption), QString("Information"));
}

void TestLogoBmp::headerOnlyMonochromeCheck_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("monochrome");

    QTest::newRow("hand-made 1-bit") << monoBmp(33, 9, allDark) << true;
    QTest::newRow("Qt 1-bit") << qtBmp(picture(9, 9, allDark, QImage::Format_Mono)) << true;
    QTest::newRow("24-bit") << qtBmp(picture(9, 9, allDark, QImage::Format_RGB32)) << false;
    QTest::newRow("truncated 1-bit") << monoBmp(33, 9, allDark).chopped(4) << false;
    QTest::newRow("text") << QByteArray("BM but nothing else") << false;
}

void TestLogoBmp::headerOnlyMonochromeCheck()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, monochrome);
    QCOMPARE(isMonochromeBmp(write("a.bmp", bytes)), monochrome);
}

void TestLogoBmp::emptyAndDeletedAreNotSaved()
{
    const QString path = dir_->filePath("out.bmp");
    LogoBuffer empty;
    empty.width = 10;
    empty.height = 2;
    empty.order = DotOrder::Device;
    QVERIFY(!saveLogoBmp(empty, path));
    LogoBuffer deleted = LogoBuffer::deleted();
    deleted.order = DotOrder::Device;
    QVERIFY(!saveLogoBmp(deleted, path));
    QVERIFY(!QFile::exists(path));
}

void TestLogoBmp::savedFileIsOneBitMonochrome()
{
    LogoBuffer logo;
    logo.order = DotOrder::Device;
    logo.width = 3;
    logo.height = 1;
    logo.at(2, 0) = 0x01;
    const QString path = dir_->filePath("out.bmp");
    QVERIFY(saveLogoBmp(logo, path));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QCOMPARE(bytes.left(2), QByteArray("BM"));
    QCOMPARE(qFromLittleEndian<qint32>(bytes.constData() + 18), 3);
    QCOMPARE(qFromLittleEndian<qint32>(bytes.constData() + 22), 8);
    QCOMPARE(qFromLittleEndian<quint16>(bytes.constData() + 26), quint16(1));
    QCOMPARE(qFromLittleEndian<quint16>(bytes.constData() + 28), quint16(1));
    QVERIFY(isMonochromeBmp(path));
    // Device dot 0 is the bottom row; Qt reads the bitmap with the same picture.
    const QImage image(path);
    QCOMPARE(image.pixel(2, 7) & 0xFFFFFF, 0u);
    QCOMPARE(image.pixel(2, 6) & 0xFFFFFF, 0xFFFFFFu);
    QCOMPARE(image.pixel(0, 7) & 0xFFFFFF, 0xFFFFFFu);
}

void TestLogoBmp::deviceLogoSavedReadsBackBitReversed()
{
    LogoBuffer device;
    device.order = DotOrder::Device;
    device.width = 50;
    device.height = 4;
    device.number = 3;
    for (int c = 0; c < device.width; ++c)
        for (int b = 0; b < device.height; ++b)
            device.at(c, b) = quint8(c * 37 + b * 11 + 1);
    device.at(49, 3) = 0x80; // the top dot of the last column keeps the full extent
    const QString path = dir_->filePath("dev.bmp");
    QVERIFY(saveLogoBmp(device, path));

    LogoBuffer composed;
    QCOMPARE(convertBmpToLogo(path, composed), BmpLoad::Loaded);
    QCOMPARE(composed.order, DotOrder::Composed);
    QCOMPARE(composed.width, device.width);
    QCOMPARE(composed.height, device.height);
    for (int c = 0; c < LogoBuffer::Columns; ++c)
        for (int b = 0; b < LogoBuffer::Bands; ++b)
            QCOMPARE(composed.at(c, b), vlink::BitReverse(device.at(c, b)));

    // A composed logo saves as it shows, so it comes back unchanged.
    const QString again = dir_->filePath("again.bmp");
    QVERIFY(saveLogoBmp(composed, again));
    LogoBuffer back;
    QCOMPARE(convertBmpToLogo(again, back), BmpLoad::Loaded);
    QCOMPARE(back.dots, composed.dots);
}

void TestLogoBmp::oversizedReadIsSavedWithinTheBuffer()
{
    // What an empty record reads as: 32 x 32 of 0xFF.
    LogoBuffer read = usedBuffer();
    const QString path = dir_->filePath("big.bmp");
    QVERIFY(saveLogoBmp(read, path));
    LogoBuffer back;
    QCOMPARE(convertBmpToLogo(path, back), BmpLoad::Loaded);
    QCOMPARE(back.width, 32);
    QCOMPARE(back.height, 4);
    QCOMPARE(QImage(path).height(), 32);
}

void TestLogoBmp::temporaryBmp()
{
    LogoBuffer logo;
    logo.order = DotOrder::Device;
    logo.width = 2;
    logo.height = 1;
    logo.at(1, 0) = 0x03;
    QVERIFY(writeTemporaryBmp(logo, dir_->path()));
    const QString path = dir_->filePath("tmp1.bmp");
    LogoBuffer back;
    QCOMPARE(convertBmpToLogo(path, back), BmpLoad::Loaded);
    QCOMPARE(back.width, 2);
    QCOMPARE(back.at(1, 0), quint8(0xC0));

    // The deleted logo leaves the previous file alone.
    const QByteArray before = [&] {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    QVERIFY(!writeTemporaryBmp(LogoBuffer::deleted(), dir_->path()));
    QFile after(path);
    QVERIFY(after.open(QIODevice::ReadOnly));
    QCOMPARE(after.readAll(), before);

    // An empty logo that is not the deleted one still goes through, as a white bitmap.
    LogoBuffer blank;
    blank.width = 5;
    blank.height = 2;
    QVERIFY(writeTemporaryBmp(blank, dir_->path()));
    QCOMPARE(QImage(path).size(), QSize(5, 16));
    QVERIFY(!writeTemporaryBmp(logo, dir_->filePath("no/such/dir")));
}

QTEST_GUILESS_MAIN(TestLogoBmp)
#include "tst_logo_bmp.moc"
