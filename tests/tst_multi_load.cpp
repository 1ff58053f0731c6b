#include "graphics/multi_load_form.h"
#include "shell/logo_flow.h"
#include "support/memory_port.h"
#include "support/modal_driver.h"
#include "support/prompt_recorder.h"
#include "support/station_parts.h"
#include "support/test_widgets.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTest>

using vgfx::LogoStore;
using Shown = PromptRecorder::ShownList;
using Progress = QList<std::pair<bool, int>>; // the bar's visibility and value at each message
Q_DECLARE_METATYPE(LogoStore)

namespace
{

// One band with a dot in every column of its bottom row.
QString bandBmp(const QString &path, int width, QImage::Format format = QImage::Format_Mono)
{
    return writeBmp(
        path, width, 8, [](int, int y) { return y == 7; }, format);
}

void writeText(const QString &path, const char *text)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(text) < 0)
        qFatal("cannot write %s", qPrintable(path));
}

QByteArray storedName(const QByteArray &stored)
{
    return stored.mid(vp::LogoState::NameOffset, vp::LogoState::NameLength);
}

// The main window's logo flow on a printer behind a Depot unit, in memory.
struct Rig {
    QString file(const QString &name) const { return dir.filePath(name); }
    QStringList files(int count)
    {
        QStringList list;
        for (int i = 0; i < count; ++i)
            list << bandBmp(file(QStringLiteral("logo%1.bmp").arg(i)), 10 + i);
        return list;
    }
    // Chooses the files in the store's load item; the dialog, if it opens, loads from `first`.
    void load(LogoStore store, const QStringList &chosen, const QString &first = {})
    {
        driver.whenOpen([this, first](QDialog &d) {
            if (!first.isNull())
                child<QLineEdit>(d, "FirstLogoNumEdit")->setText(first);
            auto *bar = child<QProgressBar>(d, "ProgressBar");
            prompts.onMessage = [this, bar](const PromptRecorder::Shown &) {
                progress.append({bar->isVisible(), bar->value()});
            };
            caption = d.windowTitle();
            selected = child<QLabel>(d, "LSelected")->text();
            if (beforeLoad)
                beforeLoad();
            QElapsedTimer timer;
            timer.start();
            click(d, "BtLoad");
            elapsedMs = timer.elapsed();
            click(d, "BtCancel");
        });
        prompts.chooseFiles(chosen);
        flow.logoLoad(store);
    }
    const QByteArray &stored(LogoStore store, int number)
    {
        return store == LogoStore::Printer ? device.logos().printer[std::size_t(number)]
                                           : device.logos().depot[0][std::size_t(number)];
    }

    QTemporaryDir dir;
    QObject mainWindow;
    vp::Device device{vp::Kind::ViaDepot};
    MemoryPort port{device};
    PromptRecorder prompts;
    StationParts parts{port, prompts, &mainWindow};
    vui::ModalRunner modal;
    ModalDriver driver{modal};
    vshell::LogoFlow flow{parts.logoFlow(modal, dir.path())};
    std::function<void()> beforeLoad; // runs in the dialog, after the files were checked
    QString caption;
    QString selected;
    qint64 elapsedMs = 0;
    Progress progress;
};

} // namespace

class TestMultiLoad : public QObject
{
    Q_OBJECT

private slots:
    void firstNumberMustLeaveRoomForEveryFile_data();
    void firstNumberMustLeaveRoomForEveryFile();
    void aFileThatIsNoMonochromeBitmapStopsBeforeTheDialog_data();
    void aFileThatIsNoMonochromeBitmapStopsBeforeTheDialog();
    void aFailureStopsTheRun_data();
    void aFailureStopsTheRun();
    void namesComeFromTheFileNames();
    void arrowsStayWithinTheDepotRange_data();
    void arrowsStayWithinTheDepotRange();
    void fileDialogListsOnlyMonochromeBitmaps_data();
    void fileDialogListsOnlyMonochromeBitmaps();
};

void TestMultiLoad::firstNumberMustLeaveRoomForEveryFile_data()
{
    QTest::addColumn<LogoStore>("store");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("printer, 2 files from 255") << LogoStore::Printer << 255 << 2 << false;
    QTest::newRow("printer, 2 files from 254") << LogoStore::Printer << 254 << 2 << true;
    QTest::newRow("depot, 2 files from 249") << LogoStore::Depot << 249 << 2 << false;
    QTest::newRow("depot, 2 files from 248") << LogoStore::Depot << 248 << 2 << true;
    QTest::newRow("depot, 3 files from 0") << LogoStore::Depot << 0 << 3 << true;
}

void TestMultiLoad::firstNumberMustLeaveRoomForEveryFile()
{
    QFETCH(LogoStore, store);
    QFETCH(int, first);
    QFETCH(int, count);
    QFETCH(bool, accepted);
    Rig rig;
    rig.load(store, rig.files(count), QString::number(first));

    QCOMPARE(rig.driver.openedModal, QStringList{QStringLiteral("TMultiLoadForm")});
    QCOMPARE(rig.caption, QStringLiteral("MultiLogoLoad"));
    QCOMPARE(rig.selected, QStringLiteral("Selected Image Quantaty : %1").arg(count));
    if (!accepted) {
        QCOMPARE(rig.prompts.beeps, 1);
        QVERIFY(rig.prompts.messages.isEmpty());
        QVERIFY(rig.device.received().isEmpty());
        return;
    }
    QCOMPARE(rig.prompts.messages, (Shown{{"Ok", "Information"}}));
    // The bar is gone when "Ok" shows, having counted every file.
    QCOMPARE(rig.progress, (Progress{{false, count}}));
    for (int i = 0; i < count; ++i) {
        const QByteArray &stored = rig.stored(store, first + i);
        QCOMPARE(int(quint8(stored[1])), 10 + i);
        QCOMPARE(storedName(stored), QStringLiteral("logo%1   ").arg(i).toLatin1());
    }
    // The printer is given half a second before each logo.
    if (store == LogoStore::Printer)
        QVERIFY2(rig.elapsedMs >= count * vgfx::TMultiLoadForm::PrinterPauseMs,
                 qPrintable(QString::number(rig.elapsedMs)));
}

void TestMultiLoad::aFileThatIsNoMonochromeBitmapStopsBeforeTheDialog_data()
{
    QTest::addColumn<int>("kind"); // 0 colour, 1 missing, 2 not a bitmap
    QTest::addColumn<QString>("text");
    QTest::newRow("colour") << 0 << "Image %1 is not monochrome...";
    QTest::newRow("missing") << 1 << "Image %1 is not valid...";
    QTest::newRow("not a bitmap") << 2 << "Image %1 is not valid...";
}

void TestMultiLoad::aFileThatIsNoMonochromeBitmapStopsBeforeTheDialog()
{
    QFETCH(int, kind);
    QFETCH(QString, text);
    Rig rig;
    QStringList chosen = rig.files(3);
    const QString odd = rig.file(QStringLiteral("odd.bmp"));
    if (kind == 0)
        bandBmp(odd, 12, QImage::Format_RGB888);
    else if (kind == 2)
        writeText(odd, "not a picture");
    chosen.insert(1, odd);
    rig.prompts.chooseFiles(chosen);
    rig.flow.logoLoad(LogoStore::Printer);
    QCOMPARE(rig.prompts.messages, (Shown{{text.arg(odd), "Information"}}));
    QVERIFY(rig.driver.openedModal.isEmpty());
    QVERIFY(rig.device.received().isEmpty());
}

void TestMultiLoad::aFailureStopsTheRun_data()
{
    QTest::addColumn<bool>("fileGone"); // else the Depot refuses the first write
    QTest::addColumn<Shown>("shown");
    QTest::addColumn<Progress>("progress");
    QTest::newRow("file gone after the choice")
        << true << Shown{{"Image is not valid...", "Information"}, {"Logo Write Error", "Error"}}
        << Progress{{true, 1}, {false, 1}};
    QTest::newRow("write refused")
        << false << Shown{{"Logo Write Error", "Error"}} << Progress{{false, 0}};
}

void TestMultiLoad::aFailureStopsTheRun()
{
    QFETCH(bool, fileGone);
    QFETCH(Shown, shown);
    QFETCH(Progress, progress);
    Rig rig;
    const QStringList chosen = rig.files(3);
    if (fileGone)
        rig.beforeLoad = [&] { QVERIFY(QFile::remove(chosen[1])); };
    else
        rig.device.faults().logoWriteReply = 0x00;
    rig.load(LogoStore::Depot, chosen, QStringLiteral("20"));
    QCOMPARE(rig.prompts.messages, shown);
    QCOMPARE(rig.progress, progress);
    QCOMPARE(rig.device.received().count(QByteArray::fromHex("122357")), 1);
    QCOMPARE(rig.stored(LogoStore::Depot, 20).isEmpty(), !fileGone);
    QVERIFY(rig.stored(LogoStore::Depot, 21).isEmpty());
    QVERIFY(rig.stored(LogoStore::Depot, 22).isEmpty());
}

void TestMultiLoad::namesComeFromTheFileNames()
{
    Rig rig;
    rig.load(LogoStore::Depot, {bandBmp(rig.file(QStringLiteral("arrow.v2.bmp")), 5),
                                bandBmp(rig.file(QStringLiteral("averylongname.bmp")), 6)});
    QCOMPARE(storedName(rig.stored(LogoStore::Depot, 0)), QByteArray("arrow   "));
    QCOMPARE(storedName(rig.stored(LogoStore::Depot, 1)), QByteArray("averylon"));
    QCOMPARE(vgfx::logoNameOfFile(QStringLiteral("/some.dir/logo.bmp")), QStringLiteral("logo"));
}

void TestMultiLoad::arrowsStayWithinTheDepotRange_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<bool>("up");
    QTest::addColumn<QString>("after");
    QTest::newRow("up") << "10" << true << "11";
    QTest::newRow("up at 249") << "249" << true << "249";
    QTest::newRow("up from a typed 255") << "255" << true << "249";
    QTest::newRow("down at 0") << "0" << false << "0";
}

void TestMultiLoad::arrowsStayWithinTheDepotRange()
{
    QFETCH(QString, before);
    QFETCH(bool, up);
    QFETCH(QString, after);
    Rig rig;
    QString shown;
    rig.driver.whenOpen([&](QDialog &d) {
        child<QLineEdit>(d, "FirstLogoNumEdit")->setText(before);
        click(d, up ? "FirstLogoNumUp" : "FirstLogoNumDown");
        shown = child<QLineEdit>(d, "FirstLogoNumEdit")->text();
        click(d, "BtCancel");
    });
    rig.prompts.chooseFiles(rig.files(2));
    rig.flow.logoLoad(LogoStore::Printer);
    QCOMPARE(shown, after);
    QVERIFY(rig.device.received().isEmpty());
}

void TestMultiLoad::fileDialogListsOnlyMonochromeBitmaps_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("kind"); // 0 monochrome, 1 colour, 2 not a bitmap
    QTest::addColumn<bool>("listed");
    QTest::newRow("monochrome") << "mono.bmp" << 0 << true;
    QTest::newRow("colour") << "colour.bmp" << 1 << false;
    QTest::newRow("colour, upper case") << "colour.BMP" << 1 << false;
    QTest::newRow("broken") << "broken.bmp" << 2 << false;
    // Only "bmp" and "BMP" after the first dot are looked at.
    QTest::newRow("colour, mixed case") << "colour.Bmp" << 1 << true;
    QTest::newRow("colour, two dots") << "colour.v2.bmp" << 1 << true;
    QTest::newRow("not a bitmap") << "notes.txt" << 2 << true;
}

void TestMultiLoad::fileDialogListsOnlyMonochromeBitmaps()
{
    QFETCH(QString, name);
    QFETCH(int, kind);
    QFETCH(bool, listed);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    if (kind == 2)
        writeText(path, "BM but not much more");
    else
        bandBmp(path, 9, kind == 0 ? QImage::Format_Mono : QImage::Format_RGB888);
    QCOMPARE(vshell::listedForLogoLoad(path), listed);
}

QTEST_MAIN(TestMultiLoad)
#include "tst_multi_load.moc"
