// Logos through build/bin/vuvactl and build/bin/vprinter on a pseudo-terminal, BMP file to BMP
// file.

#include "support/pty_vprinter.h"
#include "support/table_rows.h"
#include "support/vuvactl_run.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

namespace
{

bool isDot(const QImage &image, int x, int y)
{
    return (image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
}

// A monochrome bitmap with a dot in its last column and its top and bottom rows, so the logo's
// extent is the bitmap's own.
QImage pattern(int width, int height)
{
    QImage image(width, height, QImage::Format_Mono);
    image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    image.fill(1);
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < height; ++y)
            if (x == width - 1 || y == 0 || y == height - 1 || (x * 7 + y * 3) % 5 == 0)
                image.setPixel(x, y, 0);
    return image;
}

// The logo read back sits at the bottom of its bands: the source's rows are its lowest rows.
QString compareBottomAligned(const QImage &source, const QString &readFile)
{
    QImage read;
    if (!read.load(readFile) || read.depth() != 1)
        return QStringLiteral("no monochrome image in %1").arg(readFile);
    if (read.width() != source.width() || read.height() != (source.height() + 7) / 8 * 8)
        return QStringLiteral("size %1 x %2").arg(read.width()).arg(read.height());
    const int top = read.height() - source.height();
    for (int x = 0; x < read.width(); ++x)
        for (int y = 0; y < read.height(); ++y)
            if (isDot(read, x, y) != (y >= top && isDot(source, x, y - top)))
                return QStringLiteral("pixel %1, %2").arg(x).arg(y);
    return {};
}

} // namespace

class TestVuvactlLogos : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip();
    void failures();

private:
    QTemporaryDir dir_;
};

void TestVuvactlLogos::roundTrip()
{
    const QImage source = pattern(40, 10);
    const QString logo = dir_.filePath("logo.bmp");
    QVERIFY(source.save(logo, "BMP"));
    const struct {
        const char *name;
        QString kind;
        bool depot;
    } rows[] = {{"printer", "printer", false}, {"Depot alone", "depot", true}};
    forEachRow(rows, [&](const auto &row) {
        VPrinterProcess vprinter;
        QStringList port{"--port", vprinter.start({"--kind", row.kind})};
        if (row.depot)
            port << "--depot";
        QCOMPARE(runVuvactl(port + QStringList{"logo-write", "249", logo, "Pat-1 tern"}).exitCode,
                 0);
        // The name went through the name field's filter: its first eight characters, less the
        // space and the hyphen.
        for (const QString command : {"logo-read", "logo-view"}) {
            const QString file = dir_.filePath(row.kind + command + ".bmp");
            const VuvactlRun run = runVuvactl(port + QStringList{command, "249", file});
            QCOMPARE(run.exitCode, 0);
            if (command == "logo-read")
                QCOMPARE(run.out, QString("Pat1te\n"));
            const QString diff = compareBottomAligned(source, file);
            QVERIFY2(diff.isEmpty(), qPrintable(diff));
        }
        QCOMPARE(runVuvactl(port + QStringList{"logo-names"}).out, QString("249 Pat1te\n"));
    });
}

void TestVuvactlLogos::failures()
{
    QImage colour(8, 8, QImage::Format_RGB888);
    colour.fill(Qt::white);
    QVERIFY(colour.save(dir_.filePath("colour.bmp"), "BMP"));
    QVERIFY(pattern(8, 8).save(dir_.filePath("logo.bmp"), "BMP"));
    const struct {
        const char *name;
        QString kind, file, lastErr;
    } rows[] = {{"24-bit", "printer", "colour.bmp", "Image is not monochrome..."},
                {"missing", "printer", "absent.bmp", "Image is not valid..."},
                {"nothing answers", "none", "logo.bmp", "Logo Load Error"}};
    forEachRow(rows, [&](const auto &row) {
        VPrinterProcess vprinter;
        const QStringList port{"--port", vprinter.start({"--kind", row.kind})};
        const VuvactlRun run =
            runVuvactl(port + QStringList{"logo-write", "1", dir_.filePath(row.file)});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.lastErr, row.lastErr);
    });
}

QTEST_GUILESS_MAIN(TestVuvactlLogos)
#include "tst_vuvactl_logos.moc"
