#include "graphics/model/bmp_file.h"
#include "graphics/model/clip_store.h"
#include "graphics/model/logo_bmp.h"
#include "graphics/model/logo_file_names.h"
#include "graphics/model/mark_picture.h"
#include "link/exchange.h"
#include "support/table_rows.h"
#include "support/test_widgets.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace vgfx;
using vlink::DotOrder;
using vlink::LogoBuffer;

namespace
{

constexpr QRgb Black = 0x000000;
constexpr QRgb White = 0xFFFFFF;
const Pixels allDark = [](int, int) { return true; };
const Pixels allLight = [](int, int) { return false; };

Pixels one(int x, int y)
{
    return [x, y](int px, int py) { return px == x && py == y; };
}

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
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (dark(x, y) != darkIsZero)
                b[offset + (topDown ? y : height - 1 - y) * stride + x / 8] |= char(0x80 >> x % 8);
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

// As a previous read leaves it.
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

enum Writer { LogoSave, MarkSave, SelectionSave };

// The file a writer makes of one band `width` dots wide, a dot climbing in each column.
QByteArray writtenBmp(int writer, int width, const QString &path)
{
    if (writer == LogoSave) {
        LogoBuffer logo;
        logo.width = width;
        logo.height = 1;
        for (int c = 0; c < width; ++c)
            logo.at(c, 0) = quint8(1u << c % 8);
        saveLogoBmp(logo, path);
    } else if (writer == MarkSave) {
        vlink::MarkImage image;
        image.width = width;
        image.rows = 1;
        for (int c = 0; c < width; ++c)
            image.at(c, 0) = quint8(1u << c % 8);
        saveMarkPicture(markPicture(image), path);
    } else {
        ClipGrid grid;
        for (int c = 0; c < width; ++c)
            grid.set(c, c % 8, vgfx::ClipDot);
        selectionBitmap(grid, {0, 0, width - 1, 7}).save(path, "BMP");
    }
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The bytes after each row's pixels in a 1-bit bitmap file, up to the row's 32-bit end.
QByteArray rowPadding(const QByteArray &bmp)
{
    const auto field = [&bmp](int at) { return qFromLittleEndian<qint32>(bmp.constData() + at); };
    const int used = (field(18) + 7) / 8;
    const int stride = (field(18) + 31) / 32 * 4;
    QByteArray padding;
    for (int y = 0; y < qAbs(field(22)); ++y)
        padding += bmp.mid(field(10) + y * stride + used, stride - used);
    return padding;
}

} // namespace

class TestLogoBmp : public QObject
{
    Q_OBJECT

private slots:
    void loadedBottomAlignedWithinTheLimitsOrRefusedQuickly();
    void savedOneBitReadsBackBitReversed();
    void sameDotsGiveTheSameFile_data();
    void sameDotsGiveTheSameFile();
    void logoNamesGiveSafeFileNames();

private:
    QString write(const char *name, const QByteArray &bytes)
    {
        return writeFile(dir_.filePath(QString::fromLatin1(name)), bytes);
    }
    QTemporaryDir dir_;
};

// The bitmap's bottom row is dot 0, the top left corner is kept, and the buffer is cleared first
// while number and name stay. Whatever a header announces, the file is judged from its bytes
// within a second, and one refused leaves an empty buffer; the file dialog's header check agrees.
void TestLogoBmp::loadedBottomAlignedWithinTheLimitsOrRefusedQuickly()
{
    constexpr BmpLoad Loaded = BmpLoad::Loaded, NotValid = BmpLoad::NotValid;
    const QByteArray mono = monoBmp(40, 10, allDark);
    const auto with = [&mono](int at, qint64 value, bool wide = true) {
        QByteArray b = mono;
        wide ? put32(b, at, value) : put16(b, at, int(value));
        return b;
    };
    const Pixels checker = [](int x, int y) { return (x + y) % 2 == 0; };
    const QByteArray rgb = qtBmp(blackAndWhite(16, 8, checker, QImage::Format_RGB32));
    const struct {
        const char *name;
        QByteArray bmp;
        BmpLoad result;
        int width = 0;
        int height = 0;
        int column = -1; // where the one dot is, if there is one
        int band = 0;
        int mask = 0;
    } rows[] = {
        {"white gives 1 x 1", monoBmp(40, 10, allLight), Loaded, 1, 1},
        {"bottom row of 10 is dot 0", monoBmp(40, 10, one(39, 9)), Loaded, 40, 1, 39, 0, 0x80},
        {"top row of 10 is dot 9", monoBmp(40, 10, one(0, 0)), Loaded, 1, 2, 0, 1, 0x40},
        {"top row of 32 is dot 31, blank columns left of it stay", monoBmp(40, 32, one(4, 0)),
         Loaded, 5, 4, 4, 3, 0x01},
        {"rows below the top 32 are left out", monoBmp(600, 40, [](int, int y) { return y > 31; }),
         Loaded, 1, 1},
        {"600 x 32 cut to 4000 dots", monoBmp(600, 32, allDark), Loaded, 125, 4},
        {"600 x 1 cut to the buffer", monoBmp(600, 1, allDark), Loaded, 500, 1},
        {"600 x 10 cut to a record's 500 bytes", monoBmp(600, 10, allDark), Loaded, 250, 2},
        {"600 x 10, top band blank", monoBmp(600, 10, [](int, int y) { return y > 1; }), Loaded,
         400, 1},
        {"palette light first", monoBmp(8, 10, one(0, 0), White, Black), Loaded, 1, 2, 0, 1, 0x40},
        {"off-white is a dot", monoBmp(8, 8, allLight, Black, 0xFEFEFE), Loaded, 8, 1},
        {"top-down rows", monoBmp(16, 16, one(0, 0), Black, White, true), Loaded, 1, 2, 0, 1, 1},
        {"truncated by one byte", mono.chopped(1), NotValid},
        {"header only", mono.left(30), NotValid},
        {"not a bitmap", "hello, this is no picture at all", NotValid},
        {"announces 100000 x 100000", with(18, 100000), NotValid},
        {"announces 2^31 - 1 columns", with(18, 0x7FFFFFFF), NotValid},
        {"announces the lowest height", with(22, -0x80000000LL), NotValid},
        {"zero width", with(18, 0), NotValid},
        {"two planes", with(26, 2, false), NotValid},
        {"pixels inside the header", with(10, 20), NotValid},
        {"24-bit black and white", rgb, BmpLoad::NotMonochrome},
        {"truncated 24-bit", rgb.chopped(3), NotValid},
        {"indexed with two colours", qtBmp(blackAndWhite(16, 8, checker, QImage::Format_Indexed8)),
         BmpLoad::NotMonochrome},
    };
    forEachRow(rows, [this](const auto &row) {
        LogoBuffer logo = usedBuffer();
        const QString path = write("a.bmp", row.bmp);
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(convertBmpToLogo(path, logo), row.result);
        QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(isMonochromeBmp(path), row.result == Loaded);
        if (row.result != Loaded) {
            QVERIFY(logo.isEmpty());
            return;
        }
        QCOMPARE(QSize(logo.width, logo.height), QSize(row.width, row.height));
        QCOMPARE(logo.order, DotOrder::Composed);
        QCOMPARE(logo.number, 7);
        QCOMPARE(logo.name, QByteArray("OLD"));
        LogoBuffer expected;
        if (row.column >= 0)
            expected.at(row.column, row.band) = quint8(row.mask);
        for (int c = 0; c < LogoBuffer::Columns; ++c)
            for (int b = 0; b < LogoBuffer::Bands; ++b)
                if (row.column >= 0 || c >= row.width || b >= row.height)
                    QCOMPARE(logo.at(c, b), expected.at(c, b));
    });
    for (const QString &path : {dir_.filePath("gone.bmp"), dir_.path(), QString()}) {
        LogoBuffer logo = usedBuffer();
        QCOMPARE(convertBmpToLogo(path, logo), NotValid);
        QVERIFY(logo.isEmpty());
    }
}

// One pixel per dot, device dot 0 the bottom row: read back, a device logo comes in composed,
// bit-reversed order; a composed one saves as it shows. A read of an empty record (32 x 32 of
// 0xFF) saves within the buffer's four bands; an empty or the deleted logo is not saved.
void TestLogoBmp::savedOneBitReadsBackBitReversed()
{
    LogoBuffer device;
    device.order = DotOrder::Device;
    device.width = 50;
    device.height = 4;
    for (int c = 0; c < device.width; ++c)
        for (int b = 0; b < device.height; ++b)
            device.at(c, b) = quint8(c * 37 + b * 11 + 1);
    device.at(49, 3) = 0x80; // the top dot of the last column keeps the full extent
    const QString path = dir_.filePath("dev.bmp");
    QVERIFY(saveLogoBmp(device, path));
    QVERIFY(isMonochromeBmp(path));
    QCOMPARE(QImage(path).size(), QSize(50, 32));
    LogoBuffer composed;
    QCOMPARE(convertBmpToLogo(path, composed), BmpLoad::Loaded);
    QCOMPARE(QSize(composed.width, composed.height), QSize(50, 4));
    for (int c = 0; c < LogoBuffer::Columns; ++c)
        for (int b = 0; b < LogoBuffer::Bands; ++b)
            QCOMPARE(composed.at(c, b), vlink::BitReverse(device.at(c, b)));
    QVERIFY(saveLogoBmp(composed, path));
    LogoBuffer back;
    QCOMPARE(convertBmpToLogo(path, back), BmpLoad::Loaded);
    QCOMPARE(back.dots, composed.dots);

    QVERIFY(saveLogoBmp(usedBuffer(), path));
    QCOMPARE(QImage(path).size(), QSize(32, 32));
    const QString none = dir_.filePath("none.bmp");
    QVERIFY(!saveLogoBmp(LogoBuffer(), none) && !saveLogoBmp(LogoBuffer::deleted(), none));
    QVERIFY(!QFile::exists(none));
}

void TestLogoBmp::sameDotsGiveTheSameFile_data()
{
    QTest::addColumn<int>("writer");
    QTest::addColumn<int>("width");
    QTest::newRow("logo") << int(LogoSave) << 3;
    QTest::newRow("mark picture") << int(MarkSave) << 9;
    QTest::newRow("clipboard selection") << int(SelectionSave) << 17;
}

// No byte of the process's memory gets into a file: the row padding is zero. (Under the address
// sanitizer every new block starts dirty, so a padding left as allocated is caught.)
void TestLogoBmp::sameDotsGiveTheSameFile()
{
    QFETCH(int, writer);
    QFETCH(int, width);
    const QByteArray first = writtenBmp(writer, width, dir_.filePath("first.bmp"));
    const QByteArray second = writtenBmp(writer, width, dir_.filePath("second.bmp"));
    QCOMPARE(second, first);
    const QByteArray padding = rowPadding(first);
    QVERIFY(!padding.isEmpty());
    QCOMPARE(padding, QByteArray(padding.size(), '\0'));
}

void TestLogoBmp::logoNamesGiveSafeFileNames()
{
    // Blanks are trimmed; a name no file can hold, or one that walks the folders, gives way.
    const struct {
        const char *name; // the logo's
        const char *base;
    } rows[] = {{" Знак 1 ", "Знак 1"}, {"   ", "logo7"}, {"a/b", "logo7"}, {"a\\b", "logo7"},
                {".", "logo7"},         {"..", "logo7"},  {"a?b", "logo7"}, {"a\tb", "logo7"}};
    forEachRow(rows, [](const auto &row) {
        QCOMPARE(vgfx::logoFileBase(QString::fromUtf8(row.name), 7), QString::fromUtf8(row.base));
    });
}

QTEST_GUILESS_MAIN(TestLogoBmp)
#include "tst_logo_bmp.moc"
