#include "graphics/model/logo_copy.h"
#include "graphics/multi_load_form.h"
#include "support/logo_rig.h"
#include "support/table_rows.h"
#include "support/test_widgets.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTest>

using vgfx::LogoStore;
using Shown = PromptRecorder::ShownList;
using Progress = QList<std::pair<bool, int>>; // the bar's visibility and value at each message

namespace
{

// One band with a dot in every column of its bottom row.
QString bandBmp(const QString &path, int width, QImage::Format format = QImage::Format_Mono)
{
    return writeBmp(
        path, width, 8, [](int, int y) { return y == 7; }, format);
}

// `count` files, 10, 11, ... columns wide, whose logo names are "logo0", "logo1", ...
QStringList bandFiles(LogoRig &rig, int count)
{
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << bandBmp(rig.file(QStringLiteral("logo%1.v2.bmp").arg(i)), 10 + i);
    return list;
}

// Loads the files into the store from `first` on and returns where the bar stood at each message;
// `beforeLoad` runs in the dialog before Load.
Progress multiLoad(LogoRig &rig, LogoStore store, const QStringList &files, int first,
                   const std::function<void()> &beforeLoad = {})
{
    Progress progress;
    rig.whenOpen([&](QDialog &d) {
        QCOMPARE(child<QLabel>(d, "LSelected")->text(),
                 QStringLiteral("Selected Image Quantaty : %1").arg(files.size()));
        child<QLineEdit>(d, "FirstLogoNumEdit")->setText(QString::number(first));
        auto *bar = child<QProgressBar>(d, "ProgressBar");
        rig.prompts.onMessage = [&progress, bar](const PromptRecorder::Shown &) {
            progress.append({bar->isVisible(), bar->value()});
        };
        if (beforeLoad)
            beforeLoad();
        click(d, "BtLoad");
    });
    rig.load(store, files);
    return progress;
}

} // namespace

class TestMultiLoad : public QObject
{
    Q_OBJECT

private slots:
    void firstNumberMustLeaveRoomForEveryFile();
    void aFileThatIsNoMonochromeBitmapStopsBeforeTheDialog();
    void aFailureStopsTheRun();
    void fileDialogListsOnlyMonochromeBitmaps();
};

void TestMultiLoad::firstNumberMustLeaveRoomForEveryFile()
{
    const struct {
        const char *name;
        LogoStore store;
        int first;
        bool accepted;
    } rows[] = {{"printer, 2 files from 255", LogoStore::Printer, 255, false},
                {"printer, 2 files from 254", LogoStore::Printer, 254, true},
                {"depot, 2 files from 249", LogoStore::Depot, 249, false},
                {"depot, 2 files from 248", LogoStore::Depot, 248, true}};
    forEachRow(rows, [](const auto &row) {
        LogoRig rig;
        QElapsedTimer timer;
        timer.start();
        const Progress progress = multiLoad(rig, row.store, bandFiles(rig, 2), row.first);
        const qint64 elapsedMs = timer.elapsed();
        QCOMPARE(rig.prompts.beeps, row.accepted ? 0 : 1);
        QCOMPARE(rig.prompts.messages, row.accepted ? Shown{okShown} : Shown{});
        QCOMPARE(rig.sent().isEmpty(), !row.accepted);
        if (!row.accepted)
            return;
        // The bar is gone when "Ok" shows, having counted every file.
        QCOMPARE(progress, (Progress{{false, 2}}));
        QCOMPARE(storedName(rig.stored(row.store, row.first)), QByteArray("logo0   "));
        QCOMPARE(storedName(rig.stored(row.store, row.first + 1)), QByteArray("logo1   "));
        // The printer is given half a second before each logo.
        if (row.store == LogoStore::Printer)
            QVERIFY2(elapsedMs >= 2 * vgfx::PrinterPauseMs, qPrintable(QString::number(elapsedMs)));
    });
}

void TestMultiLoad::aFileThatIsNoMonochromeBitmapStopsBeforeTheDialog()
{
    const struct {
        const char *name;
        bool colour; // else missing
        const char *text;
    } rows[] = {{"colour", true, "Image %1 is not monochrome..."},
                {"missing", false, "Image %1 is not valid..."}};
    forEachRow(rows, [](const auto &row) {
        LogoRig rig;
        QStringList chosen = bandFiles(rig, 3);
        const QString odd = rig.file(QStringLiteral("odd.bmp"));
        if (row.colour)
            bandBmp(odd, 12, QImage::Format_RGB888);
        chosen.insert(1, odd);
        rig.load(LogoStore::Printer, chosen);
        QCOMPARE(rig.prompts.messages,
                 (Shown{{QString::fromLatin1(row.text).arg(odd), "Information"}}));
        QVERIFY(rig.driver.openedModal.isEmpty());
        QVERIFY(rig.sent().isEmpty());
    });
}

// A file gone after the choice is named and stops the run as a refused write does.
void TestMultiLoad::aFailureStopsTheRun()
{
    const Shown refused{{"Logo Write Error", "Error"}};
    const struct {
        const char *name;
        bool fileGone; // else the first write is refused
        Shown shown;
        Progress progress;
    } rows[] = {{"second file gone",
                 true,
                 {{"Image is not valid...", "Information"}, refused[0]},
                 {{true, 1}, {false, 1}}},
                {"write refused", false, refused, {{false, 0}}}};
    forEachRow(rows, [](const auto &row) {
        LogoRig rig;
        const QStringList chosen = bandFiles(rig, 3);
        if (!row.fileGone)
            rig.device.faults().logoWriteReply = 0x00;
        const Progress progress = multiLoad(rig, LogoStore::Depot, chosen, 20, [&] {
            QVERIFY(!row.fileGone || QFile::remove(chosen[1]));
        });
        QCOMPARE(rig.prompts.messages, row.shown);
        QCOMPARE(progress, row.progress);
        QCOMPARE(rig.sent().count(QByteArray::fromHex("122357")), 1);
        QCOMPARE(rig.stored(LogoStore::Depot, 20).isEmpty(), !row.fileGone);
        QVERIFY(rig.stored(LogoStore::Depot, 21).isEmpty() &&
                rig.stored(LogoStore::Depot, 22).isEmpty());
    });
}

// Only names whose part after the first dot is "bmp" or "BMP" are looked into.
void TestMultiLoad::fileDialogListsOnlyMonochromeBitmaps()
{
    QTemporaryDir dir;
    const struct {
        const char *name;
        QImage::Format format; // Format_Invalid: not a bitmap
        bool listed;
    } rows[] = {{"mono.bmp", QImage::Format_Mono, true},
                {"colour.BMP", QImage::Format_RGB888, false},
                {"broken.bmp", QImage::Format_Invalid, false},
                {"colour.v2.bmp", QImage::Format_RGB888, true},
                {"notes.txt", QImage::Format_Invalid, true}};
    forEachRow(rows, [&dir](const auto &row) {
        const QString path = dir.filePath(QString::fromLatin1(row.name));
        if (row.format == QImage::Format_Invalid)
            writeFile(path, "BM but not much more");
        else
            bandBmp(path, 9, row.format);
        QCOMPARE(vshell::listedForLogoLoad(path), row.listed);
    });
}

QTEST_MAIN(TestMultiLoad)
#include "tst_multi_load.moc"
