#include "graphics/multi_load_form.h"
#include "shell/logo_flow.h"
#include "support/memory_port.h"
#include "support/modal_driver.h"
#include "support/prompt_recorder.h"

#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using vgfx::LogoStore;
using Shown = PromptRecorder::ShownList;
Q_DECLARE_METATYPE(LogoStore)

namespace
{

// A bitmap of one band with a dot in every column of its bottom row; colour ones are 24-bit.
QString writeBmp(const QString &path, int width, QImage::Format format = QImage::Format_Mono)
{
    QImage image(width, 8, QImage::Format_RGB32);
    image.fill(qRgb(255, 255, 255));
    for (int x = 0; x < width; ++x)
        image.setPixel(x, 7, qRgb(0, 0, 0));
    image = image.convertToFormat(format, {qRgb(0, 0, 0), qRgb(255, 255, 255)});
    if (!image.save(path, "BMP"))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

template <typename T> T *child(QWidget &w, const char *name)
{
    T *found = w.findChild<T *>(QString::fromLatin1(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

QByteArray storedName(const QByteArray &stored)
{
    return stored.mid(vp::LogoState::NameOffset, vp::LogoState::NameLength);
}

// The main window's logo flow on a printer behind a Depot unit, in memory.
struct Rig {
    Rig() { state.mainWindow = &mainWindow; }
    QString file(const QString &name) const { return dir.filePath(name); }
    QStringList files(int count)
    {
        QStringList list;
        for (int i = 0; i < count; ++i)
            list << writeBmp(file(QStringLiteral("logo%1.bmp").arg(i)), 10 + i);
        return list;
    }
    // Chooses the files in the file dialog of the store's load item.
    void load(LogoStore store, const QStringList &chosen)
    {
        prompts.chooseFiles(chosen);
        flow.logoLoad(store);
    }
    const QByteArray &stored(LogoStore store, int number)
    {
        return store == LogoStore::Printer ? device.logos().printer[std::size_t(number)]
                                           : device.logos().depot[0][std::size_t(number)];
    }
    // What the dialog showed when a message box came up.
    void watchProgress(QDialog &d)
    {
        auto *bar = child<QProgressBar>(d, "ProgressBar");
        prompts.onMessage = [this, bar](const PromptRecorder::Shown &) {
            progressAtMessage.append({bar->isVisible(), bar->value()});
        };
    }

    QTemporaryDir dir;
    QObject mainWindow;
    vp::Device device{vp::Kind::ViaDepot};
    MemoryPort port{device};
    vlink::LogoBuffer logo;
    vui::StationState state{port, logo};
    PromptRecorder prompts;
    vui::ModalRunner modal;
    ModalDriver driver{modal};
    vshell::LogoFlow flow{state, prompts, modal, vlink::CodePage(), nullptr, dir.path()};
    QList<std::pair<bool, int>> progressAtMessage;
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
    void aFileGoneAfterTheChoiceStopsTheRun();
    void aFailedWriteStopsTheRun();
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
    QString caption;
    QString selected;
    qint64 elapsed = 0;
    rig.driver.whenOpen([&](QDialog &d) {
        caption = d.windowTitle();
        selected = child<QLabel>(d, "LSelected")->text();
        child<QLineEdit>(d, "FirstLogoNumEdit")->setText(QString::number(first));
        rig.watchProgress(d);
        QElapsedTimer timer;
        timer.start();
        child<QPushButton>(d, "BtLoad")->click();
        elapsed = timer.elapsed();
        child<QPushButton>(d, "BtCancel")->click();
    });
    rig.load(store, rig.files(count));

    QCOMPARE(rig.driver.openedModal, QStringList{QStringLiteral("TMultiLoadForm")});
    QCOMPARE(caption, QStringLiteral("MultiLogoLoad"));
    QCOMPARE(selected, QStringLiteral("Selected Image Quantaty : %1").arg(count));
    if (!accepted) {
        QCOMPARE(rig.prompts.beeps, 1);
        QVERIFY(rig.prompts.messages.isEmpty());
        QVERIFY(rig.device.received().isEmpty());
        return;
    }
    QCOMPARE(rig.prompts.messages, (Shown{{"Ok", "Information"}}));
    // The bar is gone when "Ok" shows, having counted every file.
    QCOMPARE(rig.progressAtMessage, (QList<std::pair<bool, int>>{{false, count}}));
    for (int i = 0; i < count; ++i) {
        const QByteArray &stored = rig.stored(store, first + i);
        QCOMPARE(int(quint8(stored[1])), 10 + i);
        QCOMPARE(storedName(stored), QStringLiteral("logo%1   ").arg(i).toLatin1());
    }
    // The printer is given half a second before each logo.
    if (store == LogoStore::Printer)
        QVERIFY2(elapsed >= count * vgfx::TMultiLoadForm::PrinterPauseMs,
                 qPrintable(QString::number(elapsed)));
}

void TestMultiLoad::aFileThatIsNoMonochromeBitmapStopsBeforeTheDialog_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("text");
    QTest::newRow("colour") << "colour"
                            << "Image %1 is not monochrome...";
    QTest::newRow("missing") << "missing"
                             << "Image %1 is not valid...";
    QTest::newRow("not a bitmap") << "text"
                                  << "Image %1 is not valid...";
}

void TestMultiLoad::aFileThatIsNoMonochromeBitmapStopsBeforeTheDialog()
{
    QFETCH(QString, kind);
    QFETCH(QString, text);
    Rig rig;
    QStringList chosen = rig.files(3);
    const QString odd = rig.file(QStringLiteral("odd.bmp"));
    if (kind == QLatin1String("colour")) {
        writeBmp(odd, 12, QImage::Format_RGB888);
    } else if (kind == QLatin1String("text")) {
        QFile f(odd);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("not a picture");
    }
    chosen.insert(1, odd);
    rig.load(LogoStore::Printer, chosen);
    QCOMPARE(rig.prompts.messages, (Shown{{text.arg(odd), "Information"}}));
    QVERIFY(rig.driver.openedModal.isEmpty());
    QVERIFY(rig.device.received().isEmpty());
}

void TestMultiLoad::aFileGoneAfterTheChoiceStopsTheRun()
{
    Rig rig;
    const QStringList chosen = rig.files(3);
    rig.driver.whenOpen([&](QDialog &d) {
        QVERIFY(QFile::remove(chosen[1]));
        child<QLineEdit>(d, "FirstLogoNumEdit")->setText(QStringLiteral("20"));
        rig.watchProgress(d);
        child<QPushButton>(d, "BtLoad")->click();
        child<QPushButton>(d, "BtCancel")->click();
    });
    rig.load(LogoStore::Depot, chosen);
    QCOMPARE(rig.prompts.messages,
             (Shown{{"Image is not valid...", "Information"}, {"Logo Write Error", "Error"}}));
    QVERIFY(!rig.stored(LogoStore::Depot, 20).isEmpty());
    QVERIFY(rig.stored(LogoStore::Depot, 21).isEmpty());
    QVERIFY(rig.stored(LogoStore::Depot, 22).isEmpty());
    QCOMPARE(rig.device.received().count(QByteArray::fromHex("122357")), 1);
    QCOMPARE(rig.progressAtMessage.last(), (std::pair<bool, int>{false, 1}));
}

void TestMultiLoad::aFailedWriteStopsTheRun()
{
    Rig rig;
    rig.device.faults().logoWriteReply = 0x00;
    rig.driver.whenOpen([](QDialog &d) {
        child<QPushButton>(d, "BtLoad")->click();
        child<QPushButton>(d, "BtCancel")->click();
    });
    rig.load(LogoStore::Depot, rig.files(3));
    QCOMPARE(rig.prompts.messages, (Shown{{"Logo Write Error", "Error"}}));
    QCOMPARE(rig.device.received().count(QByteArray::fromHex("122357")), 1);
}

void TestMultiLoad::namesComeFromTheFileNames()
{
    Rig rig;
    const QStringList chosen = {
        writeBmp(rig.file(QStringLiteral("arrow.v2.bmp")), 5),
        writeBmp(rig.file(QStringLiteral("averylongname.bmp")), 6),
    };
    rig.driver.whenOpen([](QDialog &d) {
        child<QPushButton>(d, "BtLoad")->click();
        child<QPushButton>(d, "BtCancel")->click();
    });
    rig.load(LogoStore::Depot, chosen);
    QCOMPARE(storedName(rig.stored(LogoStore::Depot, 0)), QByteArray("arrow   "));
    QCOMPARE(storedName(rig.stored(LogoStore::Depot, 1)), QByteArray("averylon"));
    QCOMPARE(vgfx::logoNameOfFile(QStringLiteral("/some.dir/logo.bmp")), QStringLiteral("logo"));
}

void TestMultiLoad::arrowsStayWithinTheDepotRange_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("arrow");
    QTest::addColumn<QString>("after");
    QTest::newRow("up") << "10"
                        << "Up"
                        << "11";
    QTest::newRow("up at 249") << "249"
                               << "Up"
                               << "249";
    QTest::newRow("up from a typed 255") << "255"
                                         << "Up"
                                         << "249";
    QTest::newRow("down at 0") << "0"
                               << "Down"
                               << "0";
}

void TestMultiLoad::arrowsStayWithinTheDepotRange()
{
    QFETCH(QString, before);
    QFETCH(QString, arrow);
    QFETCH(QString, after);
    Rig rig;
    QString shown;
    rig.driver.whenOpen([&](QDialog &d) {
        child<QLineEdit>(d, "FirstLogoNumEdit")->setText(before);
        child<QToolButton>(d, qPrintable(QStringLiteral("FirstLogoNum") + arrow))->click();
        shown = child<QLineEdit>(d, "FirstLogoNumEdit")->text();
        child<QPushButton>(d, "BtCancel")->click();
    });
    rig.load(LogoStore::Printer, rig.files(2));
    QCOMPARE(shown, after);
    QVERIFY(rig.device.received().isEmpty());
}

void TestMultiLoad::fileDialogListsOnlyMonochromeBitmaps_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("listed");
    QTest::newRow("monochrome") << "mono.bmp"
                                << "mono" << true;
    QTest::newRow("colour") << "colour.bmp"
                            << "colour" << false;
    QTest::newRow("colour, upper case") << "colour.BMP"
                                        << "colour" << false;
    QTest::newRow("broken") << "broken.bmp"
                            << "text" << false;
    // Only "bmp" and "BMP" after the first dot are looked at.
    QTest::newRow("colour, mixed case") << "colour.Bmp"
                                        << "colour" << true;
    QTest::newRow("colour, two dots") << "colour.v2.bmp"
                                      << "colour" << true;
    QTest::newRow("not a bitmap") << "notes.txt"
                                  << "text" << true;
}

void TestMultiLoad::fileDialogListsOnlyMonochromeBitmaps()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(bool, listed);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    if (kind == QLatin1String("text")) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("BM but not much more");
    } else {
        writeBmp(path, 9,
                 kind == QLatin1String("mono") ? QImage::Format_Mono : QImage::Format_RGB888);
    }
    QCOMPARE(vshell::listedForLogoLoad(path), listed);
}

QTEST_MAIN(TestMultiLoad)
#include "tst_multi_load.moc"
