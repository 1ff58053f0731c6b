// vuvactl mark-image on the virtual printer: the picture one pixel per dot, and a clear mark.

#include "support/pty_vprinter.h"
#include "support/vuvactl_run.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

class TestVuvactlMarkImage : public QObject
{
    Q_OBJECT

private slots:
    void picturesOfTheMark();
};

void TestVuvactlMarkImage::picturesOfTheMark()
{
    QTemporaryDir dir;
    VPrinterProcess vprinter;
    const QStringList port{"--port", vprinter.start(), "--speed", "57600"};
    const QString png = dir.filePath("mark.png");
    const QString bmp = dir.filePath("mark.BMP");
    const VuvactlRun clear = runVuvactl(port + QStringList{"mark-image", png});
    QCOMPARE(clear.exitCode, 0);
    QCOMPARE(clear.out, QString("Mark is Clear\n"));
    QVERIFY(!QFile::exists(png));

    QCOMPARE(runVuvactl(port + QStringList{"fragment-write", "1", "1", "IH"}).exitCode, 0);
    QCOMPARE(runVuvactl(port + QStringList{"mark-image", png}).out, QString("1*11\n"));
    QCOMPARE(runVuvactl(port + QStringList{"mark-image", bmp}).exitCode, 0);
    const QImage fromPng(png);
    const QImage fromBmp(bmp);
    QCOMPARE(fromBmp.depth(), 1);
    QCOMPARE(fromPng.size(), QSize(11, 8));
    QCOMPARE(fromPng.convertToFormat(QImage::Format_RGB32),
             fromBmp.convertToFormat(QImage::Format_RGB32));
    // The "I" stands on the bottom, 7 dots high; the gap before the "H" is blank.
    for (int y = 0; y < 8; ++y) {
        QCOMPARE(qGray(fromPng.pixel(2, y)) < 128, y > 0);
        QVERIFY(qGray(fromPng.pixel(5, y)) >= 128);
    }
}

QTEST_GUILESS_MAIN(TestVuvactlMarkImage)
#include "tst_vuvactl_mark_image.moc"
