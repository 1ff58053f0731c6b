// Logos through build/bin/vuvactl and build/bin/vprinter on a pseudo-terminal, BMP file to BMP
// file.

#include "support/pty_vprinter.h"
#include "support/vuvactl_run.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

namespace
{

using Run = VuvactlRun;

Run vuvactl(const QStringList &args, const QString &program = {})
{
    return runVuvactl(args, program);
}

bool isDot(const QImage &image, int x, int y)
{
    return (image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
}

// A monochrome bitmap with a pattern that has a dot in its last column and its top and bottom
// rows, so the logo's extent is the bitmap's own.
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
QString compareBottomAligned(const QImage &source, const QString &readFile, int expectedWidth)
{
    QImage read;
    if (!read.load(readFile))
        return QStringLiteral("no image in %1").arg(readFile);
    if (read.depth() != 1)
        return QStringLiteral("depth %1").arg(read.depth());
    const int bands = (source.height() + 7) / 8;
    if (read.width() != expectedWidth || read.height() != bands * 8)
        return QStringLiteral("size %1 x %2").arg(read.width()).arg(read.height());
    const int top = read.height() - source.height();
    for (int x = 0; x < read.width(); ++x) {
        for (int y = 0; y < read.height(); ++y) {
            const bool expected = y >= top && isDot(source, x, y - top);
            if (isDot(read, x, y) != expected)
                return QStringLiteral("pixel %1, %2").arg(x).arg(y);
        }
    }
    return {};
}

} // namespace

class TestVuvactlLogos : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void roundTrip_data();
    void roundTrip();
    void withoutTheStore_data();
    void withoutTheStore();
    void renameAndDelete();
    void wideBitmapIsCapped();
    void refusedFiles_data();
    void refusedFiles();
    void depotBanksAndVersion();
    void discover_data();
    void discover();
    void discoverThroughSettingsFile();

private:
    QString file(const QString &name) const { return dir_.filePath(name); }

    QTemporaryDir dir_;
    QImage source_;
};

void TestVuvactlLogos::initTestCase()
{
    QVERIFY(dir_.isValid());
    source_ = pattern(40, 10);
    QVERIFY(source_.save(file("logo.bmp"), "BMP"));
    QVERIFY(pattern(300, 8).save(file("wide.bmp"), "BMP"));
    QImage colour(8, 8, QImage::Format_RGB888);
    colour.fill(Qt::white);
    colour.setPixel(1, 1, qRgb(0, 0, 0));
    QVERIFY(colour.save(file("colour.bmp"), "BMP"));
    QFile junk(file("junk.bmp"));
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write("BM not really a bitmap");
}

void TestVuvactlLogos::roundTrip_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("depot");
    QTest::newRow("printer") << "printer" << false;
    QTest::newRow("printer via Depot") << "via-depot" << false;
    QTest::newRow("via-depot, to the Depot") << "via-depot" << true;
    QTest::newRow("Depot alone") << "depot" << true;
}

void TestVuvactlLogos::roundTrip()
{
    QFETCH(QString, kind);
    QFETCH(bool, depot);
    VPrinterProcess vprinter;
    const QString device = vprinter.start({"--kind", kind});
    QVERIFY2(!device.isEmpty(), qPrintable(vprinter.errorText()));
    QStringList port{"--port", device};
    if (depot)
        port << "--depot";

    Run run = vuvactl(port + QStringList{"logo-write", "249", file("logo.bmp"), "Pat-1 tern"});
    QCOMPARE(run.exitCode, 0);
    const QString readFile = file(kind + (depot ? "-depot" : "") + "-read.bmp");
    run = vuvactl(port + QStringList{"logo-read", "249", readFile});
    QCOMPARE(run.exitCode, 0);
    // The name went through the name field's filter: its first eight characters, less the space
    // and the hyphen.
    QCOMPARE(run.out, QString("Pat1te\n"));
    const QString diff = compareBottomAligned(source_, readFile, 40);
    QVERIFY2(diff.isEmpty(), qPrintable(diff));

    const QString viewFile = file(kind + (depot ? "-depot" : "") + "-view.bmp");
    run = vuvactl(port + QStringList{"logo-view", "249", viewFile});
    QCOMPARE(run.exitCode, 0);
    const QString viewDiff = compareBottomAligned(source_, viewFile, 40);
    QVERIFY2(viewDiff.isEmpty(), qPrintable(viewDiff));

    run = vuvactl(port + QStringList{"logo-names"});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, QString("249 Pat1te\n"));
}

void TestVuvactlLogos::withoutTheStore_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("depot");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("failure");
    QTest::newRow("printer logo, Depot alone") << "depot" << false << "logo-read"
                                               << "Logo Read Error";
    QTest::newRow("Depot logo, printer alone") << "printer" << true << "logo-read"
                                               << "Logo Read Error";
    QTest::newRow("write, nothing answers") << "none" << false << "logo-write"
                                            << "Logo Load Error";
    QTest::newRow("names, nothing answers") << "none" << true << "logo-names"
                                            << "LogoNamesList Read Error";
}

void TestVuvactlLogos::withoutTheStore()
{
    QFETCH(QString, kind);
    QFETCH(bool, depot);
    QFETCH(QString, command);
    QFETCH(QString, failure);
    VPrinterProcess vprinter;
    const QString device = vprinter.start({"--kind", kind});
    QVERIFY2(!device.isEmpty(), qPrintable(vprinter.errorText()));
    QStringList args{"--port", device};
    if (depot)
        args << "--depot";
    args << command;
    if (command == "logo-read")
        args << "3" << file("none.bmp");
    if (command == "logo-write")
        args << "3" << file("logo.bmp");
    const Run run = vuvactl(args);
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.lastErr, failure);
    QVERIFY(!QFile::exists(file("none.bmp")));
}

void TestVuvactlLogos::renameAndDelete()
{
    VPrinterProcess vprinter;
    const QString device = vprinter.start();
    QVERIFY2(!device.isEmpty(), qPrintable(vprinter.errorText()));
    const QStringList port{"--port", device};
    QCOMPARE(vuvactl(port + QStringList{"logo-write", "0", file("logo.bmp"), "OLD"}).exitCode, 0);
    QCOMPARE(vuvactl(port + QStringList{"logo-write", "255", file("logo.bmp")}).exitCode, 0);
    QCOMPARE(vuvactl(port + QStringList{"logo-rename", "0", "NEWNAME"}).exitCode, 0);
    Run run = vuvactl(port + QStringList{"logo-names"});
    QCOMPARE(run.out, QString("0 NEWNAME\n255 \n"));
    run = vuvactl(port + QStringList{"logo-read", "0", file("renamed.bmp")});
    QCOMPARE(run.out, QString("NEWNAME\n"));
    const QString diff = compareBottomAligned(source_, file("renamed.bmp"), 40);
    QVERIFY2(diff.isEmpty(), qPrintable(diff));

    QCOMPARE(vuvactl(port + QStringList{"logo-delete", "0"}).exitCode, 0);
    run = vuvactl(port + QStringList{"logo-names"});
    QCOMPARE(run.out, QString("255 \n"));
    // The deleted logo reads back with an empty name and is not saved.
    run = vuvactl(port + QStringList{"logo-read", "0", file("deleted.bmp")});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, QString("\n"));
    QVERIFY(!QFile::exists(file("deleted.bmp")));
    // The Depot has no rename of its own here.
    run = vuvactl(port + QStringList{"--depot", "logo-rename", "0", "X"});
    QCOMPARE(run.exitCode, 2);
}

void TestVuvactlLogos::wideBitmapIsCapped()
{
    VPrinterProcess vprinter;
    const QString device = vprinter.start();
    QVERIFY2(!device.isEmpty(), qPrintable(vprinter.errorText()));
    const QStringList port{"--port", device};
    QCOMPARE(vuvactl(port + QStringList{"logo-write", "7", file("wide.bmp")}).exitCode, 0);
    QCOMPARE(vuvactl(port + QStringList{"logo-read", "7", file("wide-read.bmp")}).exitCode, 0);
    // 300 columns of one band: W travels as one byte, so 255 of them.
    const QString diff =
        compareBottomAligned(pattern(300, 8).copy(0, 0, 255, 8), file("wide-read.bmp"), 255);
    QVERIFY2(diff.isEmpty(), qPrintable(diff));
}

void TestVuvactlLogos::refusedFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::newRow("24-bit") << "colour.bmp"
                            << "Image is not monochrome...";
    QTest::newRow("not a bitmap") << "junk.bmp"
                                  << "Image is not valid...";
    QTest::newRow("missing") << "absent.bmp"
                             << "Image is not valid...";
}

void TestVuvactlLogos::refusedFiles()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    VPrinterProcess vprinter;
    const QString device = vprinter.start();
    QVERIFY2(!device.isEmpty(), qPrintable(vprinter.errorText()));
    const Run run = vuvactl({"--port", device, "logo-write", "1", file(name)});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.lastErr, text);
    QCOMPARE(vuvactl({"--port", device, "logo-names"}).out, QString());
}

void TestVuvactlLogos::depotBanksAndVersion()
{
    VPrinterProcess vprinter;
    const QString device = vprinter.start({"--kind", "depot"});
    QVERIFY2(!device.isEmpty(), qPrintable(vprinter.errorText()));
    const QStringList depot{"--port", device, "--depot"};
    QCOMPARE(vuvactl(depot + QStringList{"depot-version"}).out, QString("DEPOT V2.1\n"));
    QCOMPARE(vuvactl(depot + QStringList{"bank", "3"}).exitCode, 0);
    QCOMPARE(vuvactl(depot + QStringList{"logo-write", "9", file("logo.bmp"), "B3"}).exitCode, 0);
    QCOMPARE(vuvactl(depot + QStringList{"logo-names"}).out, QString("9 B3\n"));
    QCOMPARE(vuvactl(depot + QStringList{"bank", "0"}).exitCode, 0);
    QCOMPARE(vuvactl(depot + QStringList{"logo-names"}).out, QString());
    QCOMPARE(vuvactl(depot + QStringList{"max-bank", "255"}).exitCode, 0);
    QCOMPARE(vuvactl(depot + QStringList{"bank", "16"}).exitCode, 2);
    QCOMPARE(vuvactl(depot + QStringList{"max-bank", "256"}).exitCode, 2);
    QCOMPARE(vuvactl(depot + QStringList{"logo-write", "250", file("logo.bmp")}).exitCode, 2);
}

void TestVuvactlLogos::discover_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("speed");
    QTest::addColumn<int>("found");
    QTest::newRow("printer") << "printer"
                             << "57600" << 3;
    QTest::newRow("printer via Depot") << "via-depot"
                                       << "19200" << 2;
    QTest::newRow("Depot alone") << "depot"
                                 << "57600" << 1;
    QTest::newRow("nothing answers") << "none"
                                     << "38400" << 0;
}

void TestVuvactlLogos::discover()
{
    QFETCH(QString, kind);
    QFETCH(QString, speed);
    QFETCH(int, found);
    VPrinterProcess vprinter;
    const QString device = vprinter.start({"--kind", kind, "--speed", speed});
    QVERIFY2(!device.isEmpty(), qPrintable(vprinter.errorText()));
    const Run run = vuvactl({"--port", device, "discover"});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, QString("port=%1 speed=%2 kind=%3\n").arg(device, speed).arg(found));
}

void TestVuvactlLogos::discoverThroughSettingsFile()
{
    VPrinterProcess vprinter;
    const QString device = vprinter.start({"--kind", "via-depot"});
    QVERIFY2(!device.isEmpty(), qPrintable(vprinter.errorText()));
    QTemporaryDir dir;
    const QString program = dir.filePath("vuvactl");
    QVERIFY(QFile::copy(VPrinterProcess::binary("vuvactl"), program));
    QFile settings(dir.filePath("vuvazuvevov.dev"));
    QVERIFY(settings.open(QIODevice::WriteOnly));
    // Every port mapped, so no serial port of the machine running the test takes part.
    settings.write(QStringLiteral("[PortParams]\nComInteger=-1\nDevice1=/dev/vuva-absent1\n"
                                  "Device2=/dev/vuva-absent2\nDevice3=/dev/vuva-absent3\n"
                                  "Device4=%1\nDevice5=/dev/vuva-absent5\n"
                                  "Device6=/dev/vuva-absent6\n")
                       .arg(device)
                       .toLocal8Bit());
    settings.close();
    const Run run = vuvactl({"discover"}, program);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, QString("port=%1 speed=57600 kind=2\n").arg(device));
}

QTEST_GUILESS_MAIN(TestVuvactlLogos)
#include "tst_vuvactl_logos.moc"
