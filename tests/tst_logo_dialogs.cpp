#include "graphics/dp_logo_read_write_form.h"
#include "graphics/logo_bmp.h"
#include "graphics/logo_preview.h"
#include "graphics/logo_read_write_form.h"
#include "graphics/up_down_box.h"
#include "link/logo_record.h"
#include "shell/logo_flow.h"
#include "support/memory_port.h"
#include "support/modal_driver.h"
#include "support/prompt_recorder.h"
#include "support/station_fixture.h"
#include "support/station_parts.h"
#include "support/test_widgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

using vgfx::LogoFormBase;
using vgfx::LogoStore;
using vlink::LogoBuffer;
using vui::LogoMode;
using vui::Message;
using Shown = PromptRecorder::ShownList;
using Action = std::function<void(QDialog &)>;
Q_DECLARE_METATYPE(LogoStore)
Q_DECLARE_METATYPE(LogoMode)

namespace
{

const QRgb Black = 0xFF000000;
const QRgb White = 0xFFFFFFFF;
const QRgb Silver = 0xFF000000 | vgfx::GridColour;

// Three columns of one band: the bottom dot of column 0, the top dot of column 1 and the fifth
// dot from the bottom of column 2.
QString threeDots(const QString &path)
{
    return writeBmp(path, 3, 8, [](int x, int y) {
        return (x == 0 && y == 7) || (x == 1 && y == 0) || (x == 2 && y == 3);
    });
}

// The printer's record of a two-column logo, as a write leaves it in the virtual printer.
QByteArray record(const QByteArray &name)
{
    LogoBuffer logo;
    logo.width = 2;
    logo.height = 1;
    logo.at(0, 0) = 0x81;
    logo.at(1, 0) = 0x30;
    logo.name = name;
    return QByteArray(1, char(logo.height)) + QByteArray(1, char(logo.width)) +
           vlink::LogoBlock(logo, vlink::DotEncoding::Reversed);
}

QByteArray storedName(const QByteArray &stored)
{
    return stored.mid(vp::LogoState::NameOffset, vp::LogoState::NameLength);
}

QLineEdit *nameBox(QWidget &w)
{
    return child<QLineEdit>(w, "LogoName");
}

void setNumber(QWidget &w, const QString &number)
{
    child<QLineEdit>(w, "LogoNumEdit")->setText(number);
}

void setNumber(QWidget &w, int number)
{
    setNumber(w, QString::number(number));
}

// The name and number a dialog shows, e.g. "FIVE 5".
QString shownLogo(QWidget &w)
{
    return nameBox(w)->text() + QLatin1Char(' ') + child<QLineEdit>(w, "LogoNumEdit")->text();
}

int visibleLogoForms()
{
    int count = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (qobject_cast<LogoFormBase *>(w) && w->isVisible())
            ++count;
    return count;
}

const auto noAction = [](QDialog &) {};
const auto cancel = [](QDialog &d) { click(d, "BtCancel"); };

// What the main window is to the logo dialogs: it receives their messages, in order, and answers
// them through the logo flow, on a printer behind a Depot unit in memory.
class Rig : public QObject
{
public:
    Rig() { vui::registerMessages(); }
    bool event(QEvent *e) override
    {
        const std::optional<Message> m = vui::messageOf(e->type());
        if (!m)
            return QObject::event(e);
        received.append(*m);
        flow.dispatch(*m);
        return true;
    }
    QString file(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }
    // Opens a dialog of the store in Read mode, as the Depot's own items do.
    void openRead(LogoStore store)
    {
        logos.logoMode = LogoMode::Read;
        logos.logo.fill(0);
        flow.openFresh(store);
    }
    // Loads a file, by default three dots, through the store's load item.
    void openLoad(LogoStore store, const QString &file = {})
    {
        prompts.chooseFiles({file.isEmpty() ? threeDots(this->file("a.bmp")) : file});
        flow.logoLoad(store);
    }
    void open(LogoStore store, LogoMode mode)
    {
        mode == LogoMode::Load ? openLoad(store) : openRead(store);
    }
    // "LogoRead" of the printer's logo `number`; `then` acts in the dialog that shows it.
    void read(int number, const Action &then)
    {
        whenOpen([number](QDialog &d) {
            setNumber(d, number);
            click(d, "BtOk");
        });
        whenOpen(then);
        flow.logoRead();
    }
    QByteArray sent() const { return device.received(); }
    QByteArray &printer(int number) { return device.logos().printer[std::size_t(number)]; }
    // Every action but the one that leaves the dialog to the main window ends with it closed.
    // One that left it open fails the test on its checks instead of hanging it.
    void whenOpen(const Action &action)
    {
        driver.whenOpen([action](QDialog &d) {
            action(d);
            if (d.isVisible())
                d.reject();
        });
    }

    QTemporaryDir dir;
    vp::Device device{vp::Kind::ViaDepot};
    MemoryPort port{device};
    PromptRecorder prompts;
    StationParts parts{port, prompts, this};
    vui::LogoWorkflow &logos = parts.logos;
    vui::ModalRunner modal;
    ModalDriver driver{modal};
    vshell::LogoFlow flow{parts.logoFlow(modal, dir.path())};
    QList<Message> received;
};

} // namespace

class TestLogoDialogs : public QObject
{
    Q_OBJECT

private slots:
    void loadWritesUnderNumberAndName_data();
    void loadWritesUnderNumberAndName();
    void numberBeyondTheStoreIsRefused_data();
    void numberBeyondTheStoreIsRefused();
    void fileThatDoesNotLoadClosesAndWritesNothing_data();
    void fileThatDoesNotLoadClosesAndWritesNothing();
    void readIsRetriedOnceBeforeItIsReported_data();
    void readIsRetriedOnceBeforeItIsReported();
    void arrowsInReadModeReadLogoZeroThenTheSelected_data();
    void arrowsInReadModeReadLogoZeroThenTheSelected();
    void arrowsElsewhereOnlyChangeTheNumber_data();
    void arrowsElsewhereOnlyChangeTheNumber();
    void clear_data();
    void clear();
    void renameAndSaveToFile();
    void closingAsksTheMainWindowOnlyWithSomethingToShow_data();
    void closingAsksTheMainWindowOnlyWithSomethingToShow();
    void zoomInThreeTimesReopensThreeTimes_data();
    void zoomInThreeTimesReopensThreeTimes();
    void zoomAfterAFailedLoadDoesNotLeakIntoTheNextLoad();
    void previewPixelsInBothOrders_data();
    void previewPixelsInBothOrders();
    void bankBoxSteps_data();
    void bankBoxSteps();
    void bankSet_data();
    void bankSet();
    void depotRenameModeWritesAtOnce_data();
    void depotRenameModeWritesAtOnce();
    void printerNameFieldIsFiltered();
    void libraryListingTheStoreIsRefreshedAfterALoad_data();
    void libraryListingTheStoreIsRefreshedAfterALoad();
    void mainWindowItemsOpenTheDialogs();
};

void TestLogoDialogs::loadWritesUnderNumberAndName_data()
{
    QTest::addColumn<LogoStore>("store");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("writtenWidth");
    QTest::newRow("printer, 300 columns") << LogoStore::Printer << 300 << 5 << 255;
    QTest::newRow("printer, 255 columns, last number") << LogoStore::Printer << 255 << 255 << 255;
    QTest::newRow("depot, 300 columns") << LogoStore::Depot << 300 << 17 << 255;
    QTest::newRow("depot, 40 columns, last number") << LogoStore::Depot << 40 << 249 << 40;
}

void TestLogoDialogs::loadWritesUnderNumberAndName()
{
    QFETCH(LogoStore, store);
    QFETCH(int, width);
    QFETCH(int, number);
    QFETCH(int, writtenWidth);
    Rig rig;
    rig.logos.lastDepotBank = 2;
    rig.device.logos().bank = 2;
    rig.whenOpen([number](QDialog &d) {
        setNumber(d, number);
        nameBox(d)->setText(QStringLiteral("WIDE"));
        click(d, "BtOk");
        click(d, "BtCancel");
    });
    // A dot in the top row of every column, so the logo is as wide as the bitmap.
    rig.openLoad(store,
                 writeBmp(rig.file("wide.bmp"), width, 8, [](int, int y) { return y == 0; }));

    QCOMPARE(rig.prompts.messages, (Shown{{"Ok", "Information"}}));
    const QByteArray stored = store == LogoStore::Printer
                                  ? rig.printer(number)
                                  : rig.device.logos().depot[2][std::size_t(number)];
    QCOMPARE(stored.left(2), QByteArray::fromHex("01") + char(writtenWidth));
    // The last column written still carries the top dot, inverted on the wire; the next is blank.
    QCOMPARE(stored.mid(2 + writtenWidth - 1, 2), QByteArray::fromHex("7FFF"));
    QCOMPARE(storedName(stored), QByteArray("WIDE    "));
    // A Load dialog that closes without a redraw is not reopened.
    QCOMPARE(rig.driver.openedModal.size(), 1);
}

void TestLogoDialogs::numberBeyondTheStoreIsRefused_data()
{
    QTest::addColumn<LogoStore>("store");
    QTest::addColumn<LogoMode>("mode");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("text");
    const QString printer = QStringLiteral("Maximum Fragment №=255");
    const QString depot = QStringLiteral("Maximum Fragment №=249");
    QTest::newRow("printer load 256") << LogoStore::Printer << LogoMode::Load << 256 << printer;
    QTest::newRow("printer read 256") << LogoStore::Printer << LogoMode::Read << 256 << printer;
    QTest::newRow("printer load 999") << LogoStore::Printer << LogoMode::Load << 999 << printer;
    QTest::newRow("depot load 250") << LogoStore::Depot << LogoMode::Load << 250 << depot;
    QTest::newRow("depot read 250") << LogoStore::Depot << LogoMode::Read << 250 << depot;
}

void TestLogoDialogs::numberBeyondTheStoreIsRefused()
{
    QFETCH(LogoStore, store);
    QFETCH(LogoMode, mode);
    QFETCH(int, number);
    QFETCH(QString, text);
    Rig rig;
    rig.logos.errorFlag = true; // a refusal comes before the flag is cleared
    rig.whenOpen([number](QDialog &d) {
        setNumber(d, number);
        click(d, "BtOk");
        click(d, "BtCancel");
    });
    rig.open(store, mode);
    QCOMPARE(rig.prompts.messages, (Shown{{text, "Error"}}));
    QVERIFY(rig.sent().isEmpty());
    QVERIFY(rig.logos.errorFlag);
}

void TestLogoDialogs::fileThatDoesNotLoadClosesAndWritesNothing_data()
{
    QTest::addColumn<LogoStore>("store");
    QTest::addColumn<bool>("colour"); // else the file is gone
    QTest::addColumn<QString>("text");
    QTest::addColumn<Message>("closing");
    const QString notValid = QStringLiteral("Image is not valid...");
    QTest::newRow("printer, vanished")
        << LogoStore::Printer << false << notValid << Message::ImageNotLoadOK;
    QTest::newRow("printer, colour")
        << LogoStore::Printer << true << "Image is not monochrome..." << Message::ImageNotLoadOK;
    QTest::newRow("depot, vanished")
        << LogoStore::Depot << false << notValid << Message::DPImageNotLoadOK;
}

void TestLogoDialogs::fileThatDoesNotLoadClosesAndWritesNothing()
{
    QFETCH(LogoStore, store);
    QFETCH(bool, colour);
    QFETCH(QString, text);
    QFETCH(Message, closing);
    Rig rig;
    const QString file = rig.file("logo.bmp");
    if (colour)
        writeBmp(
            file, 8, 8, [](int x, int) { return x == 2; }, QImage::Format_RGB888);
    // The dialog is left alone: the main window closes it on the posted message, and whatever
    // the operator presses then finds nothing to write.
    rig.driver.whenOpen(noAction);
    rig.openLoad(store, file);
    QCOMPARE(rig.prompts.messages, (Shown{{text, "Information"}}));
    QVERIFY(rig.received.startsWith(closing));
    QVERIFY(rig.sent().isEmpty());
    QVERIFY(rig.logos.logo.isEmpty());
}

void TestLogoDialogs::readIsRetriedOnceBeforeItIsReported_data()
{
    QTest::addColumn<int>("failures");
    QTest::newRow("second try succeeds") << 1;
    QTest::newRow("both fail") << 2;
}

void TestLogoDialogs::readIsRetriedOnceBeforeItIsReported()
{
    QFETCH(int, failures);
    Rig rig;
    rig.printer(3) = record("THREE");
    rig.whenOpen([&](QDialog &d) {
        setNumber(d, 3);
        rig.port.clearWritten();
        if (failures == 2)
            rig.device.faults().silent = true;
        else // the echo of the next byte, the first 0x07, is lost
            rig.device.faults().dropEchoAt = rig.device.received().size();
        click(d, "BtOk");
        if (failures == 2)
            click(d, "BtCancel");
    });
    rig.whenOpen(cancel);
    rig.flow.logoRead();

    // Each failure was on the very first byte: the short low tone, once per try.
    QCOMPARE(rig.prompts.tones, (QList<std::pair<int, int>>(failures, {100, 100})));
    QCOMPARE(rig.logos.errorFlag, failures == 2);
    if (failures == 2) {
        QCOMPARE(rig.prompts.messages, (Shown{{"Logo Read Error", "Error"}}));
        QCOMPARE(rig.port.written(), QByteArray::fromHex("0707"));
        // The error keeps the dialog from asking to be shown again.
        QVERIFY(rig.received.isEmpty());
        QCOMPARE(rig.driver.openedModal.size(), 1);
    } else {
        QVERIFY(rig.prompts.messages.isEmpty());
        QCOMPARE(rig.port.written().left(5), QByteArray::fromHex("0707010373"));
        QCOMPARE(rig.driver.openedModal.size(), 2);
        QCOMPARE(rig.logos.logo.name, QByteArray("THREE"));
        QVERIFY(!rig.logos.readRequested);
        // Read's close and the final Cancel each asked once; only the first was answered.
        QCOMPARE(rig.received, QList<Message>(2, Message::ImageCompressOK));
    }
}

void TestLogoDialogs::arrowsInReadModeReadLogoZeroThenTheSelected_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<bool>("failedRead");
    QTest::addColumn<Shown>("messages");
    QTest::newRow("up from 4") << 4 << false << Shown{};
    QTest::newRow("up after a failed read of 5")
        << 5 << true << Shown{{"Logo Read Error", "Error"}};
}

void TestLogoDialogs::arrowsInReadModeReadLogoZeroThenTheSelected()
{
    QFETCH(int, number);
    QFETCH(bool, failedRead);
    QFETCH(Shown, messages);
    Rig rig;
    rig.printer(0) = record("ZERO");
    rig.printer(number + 1) = record("NEXT");
    QString shown;
    rig.whenOpen([&](QDialog &d) {
        setNumber(d, number);
        if (failedRead) {
            rig.device.faults().silent = true;
            click(d, "BtOk");
            rig.device.faults().silent = false;
        }
        rig.port.clearWritten();
        click(d, "LogoNumUp");
    });
    rig.whenOpen([&](QDialog &d) {
        shown = shownLogo(d);
        click(d, "BtCancel");
    });
    rig.flow.logoRead();
    // Two reads, logo 0 first; the close they asked for comes once, after both.
    const QByteArray sent = rig.port.written();
    QCOMPARE(sent.left(3), QByteArray::fromHex("070100"));
    QCOMPARE(sent.count(QByteArray::fromHex("0701")), 2);
    QCOMPARE(sent.mid(sent.lastIndexOf(QByteArray::fromHex("0701")), 3),
             QByteArray::fromHex("0701") + char(number + 1));
    QCOMPARE(rig.driver.openedModal.size(), 2);
    QCOMPARE(shown, QStringLiteral("NEXT %1").arg(number + 1));
    QCOMPARE(rig.prompts.messages, messages);
}

void TestLogoDialogs::arrowsElsewhereOnlyChangeTheNumber_data()
{
    QTest::addColumn<LogoStore>("store");
    QTest::addColumn<LogoMode>("mode");
    QTest::addColumn<QString>("before");
    QTest::addColumn<bool>("up");
    QTest::addColumn<QString>("after");
    const auto printer = LogoStore::Printer;
    const auto depot = LogoStore::Depot;
    QTest::newRow("printer load up") << printer << LogoMode::Load << "7" << true << "8";
    QTest::newRow("printer load up at 255") << printer << LogoMode::Load << "255" << true << "255";
    QTest::newRow("printer load down at 0") << printer << LogoMode::Load << "0" << false << "0";
    QTest::newRow("depot read up at 249") << depot << LogoMode::Read << "249" << true << "249";
    QTest::newRow("depot read down") << depot << LogoMode::Read << "10" << false << "9";
    QTest::newRow("depot load empty up") << depot << LogoMode::Load << "" << true << "1";
}

void TestLogoDialogs::arrowsElsewhereOnlyChangeTheNumber()
{
    QFETCH(LogoStore, store);
    QFETCH(LogoMode, mode);
    QFETCH(QString, before);
    QFETCH(bool, up);
    QFETCH(QString, after);
    Rig rig;
    QString number;
    rig.whenOpen([&](QDialog &d) {
        setNumber(d, before);
        click(d, up ? "LogoNumUp" : "LogoNumDown");
        number = child<QLineEdit>(d, "LogoNumEdit")->text();
        click(d, "BtCancel");
    });
    rig.open(store, mode);
    QCOMPARE(number, after);
    QVERIFY(rig.sent().isEmpty());
    QCOMPARE(rig.driver.openedModal.size(), 1);
}

void TestLogoDialogs::clear_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("answered No changes nothing") << false;
    QTest::newRow("answered Yes writes the deleted logo") << true;
}

void TestLogoDialogs::clear()
{
    QFETCH(bool, yes);
    Rig rig;
    rig.printer(7) = record("SEVEN");
    qsizetype before = 0;
    rig.read(7, [&](QDialog &d) {
        for (const char *button : {"BtClear", "BtRename", "BtSaveToFile"}) // Read mode only
            QVERIFY2(child<QWidget>(d, button)->isVisible(), button);
        before = rig.sent().size();
        rig.prompts.answer(yes);
        click(d, "BtClear");
        if (yes) {
            rig.prompts.chooseFiles({rig.file("deleted.bmp")});
            click(d, "BtSaveToFile");
        }
        click(d, "BtCancel");
    });
    QCOMPARE(rig.prompts.questions, (Shown{{"Logo delete. Are You Sure?", "Confirm"}}));
    if (!yes) {
        QVERIFY(rig.prompts.messages.isEmpty());
        QCOMPARE(rig.sent().size(), before);
        QCOMPARE(storedName(rig.printer(7)), QByteArray("SEVEN   "));
        QCOMPARE(rig.logos.logo.name, QByteArray("SEVEN"));
        return;
    }
    QCOMPARE(rig.prompts.messages, (Shown{{"Ok", "Information"}}));
    // Header 4, 1, four blank dot bytes, filler, eight spaces and their check byte 0x00.
    const QByteArray write = rig.sent().mid(before);
    QCOMPARE(write.left(9), QByteArray::fromHex("0789070401FFFFFFFF"));
    QCOMPARE(write.mid(5 + 501, 9), QByteArray(8, ' ') + QByteArray(1, '\0'));
    QVERIFY(rig.printer(7).isEmpty()); // the slot is free again
    QVERIFY(rig.logos.logo.isDeleted());
    // Nothing to save: no file dialog, no file; an empty buffer asks for no reopening either.
    QVERIFY(rig.prompts.fileRequests.isEmpty());
    QVERIFY(!QFile::exists(rig.file("deleted.bmp")));
    QCOMPARE(rig.driver.openedModal.size(), 2);
}

// Rename writes the new name over the same dots; save-to-file writes the logo shown as a BMP.
void TestLogoDialogs::renameAndSaveToFile()
{
    Rig rig;
    rig.printer(9) = record("OLD");
    QVERIFY(QDir(rig.dir.path()).mkdir(QStringLiteral("sub")));
    rig.read(9, [&](QDialog &d) {
        nameBox(d)->setText(QStringLiteral("NEWNAME"));
        click(d, "BtRename");
        rig.prompts.chooseFiles({rig.file("sub/one")});
        click(d, "BtSaveToFile");
        click(d, "BtCancel");
    });
    QCOMPARE(rig.prompts.messages, (Shown{{"Ok", "Information"}}));
    QCOMPARE(rig.printer(9).left(4), record("OLD").left(4));
    QCOMPARE(storedName(rig.printer(9)), QByteArray("NEWNAME "));
    QCOMPARE(rig.prompts.fileRequests.size(), 1);
    QCOMPARE(rig.prompts.fileRequests[0].filter, QStringLiteral("Bitmaps (*.bmp)"));
    // The default extension; the next save starts where this one went.
    QCOMPARE(rig.logos.logoSaveDir, rig.file("sub"));
    // The picture shown, one pixel per dot: loaded back it composes to the logo first written.
    LogoBuffer back;
    QCOMPARE(vgfx::convertBmpToLogo(rig.file("sub/one.bmp"), back), vgfx::BmpLoad::Loaded);
    QCOMPARE(QSize(back.width, back.height), QSize(2, 1));
    QCOMPARE(QByteArray() + char(back.at(0, 0)) + char(back.at(1, 0)), QByteArray::fromHex("8130"));
}

void TestLogoDialogs::closingAsksTheMainWindowOnlyWithSomethingToShow_data()
{
    QTest::addColumn<LogoMode>("mode");
    QTest::addColumn<bool>("error");
    QTest::addColumn<int>("asked");
    QTest::newRow("read mode, empty buffer") << LogoMode::Read << false << 0;
    QTest::newRow("load mode") << LogoMode::Load << false << 1;
    QTest::newRow("load mode after a failure") << LogoMode::Load << true << 0;
}

void TestLogoDialogs::closingAsksTheMainWindowOnlyWithSomethingToShow()
{
    QFETCH(LogoMode, mode);
    QFETCH(bool, error);
    QFETCH(int, asked);
    Rig rig;
    rig.whenOpen([&](QDialog &d) {
        if (error) {
            rig.device.faults().logoWriteReply = 0x00;
            click(d, "BtOk");
        }
        click(d, "BtCancel");
    });
    mode == LogoMode::Load ? rig.openLoad(LogoStore::Printer) : rig.flow.logoRead();
    QCOMPARE(rig.prompts.messages, (error ? Shown{{"Logo Load Error", "Error"}} : Shown{}));
    QCOMPARE(rig.received.size(), asked);
    QCOMPARE(rig.driver.openedModal.size(), 1);
}

void TestLogoDialogs::zoomInThreeTimesReopensThreeTimes_data()
{
    QTest::addColumn<LogoStore>("store");
    QTest::addColumn<QString>("form");
    QTest::addColumn<Message>("asks");
    QTest::newRow("printer") << LogoStore::Printer << "TLogoReadWriteForm"
                             << Message::ImageCompressOK;
    QTest::newRow("depot") << LogoStore::Depot << "TDPLogoReadWriteForm"
                           << Message::DPImageCompressOK;
}

// Zoom out at the base zoom only beeps; each zoom in reopens the dialog, one instance at a time.
void TestLogoDialogs::zoomInThreeTimesReopensThreeTimes()
{
    QFETCH(LogoStore, store);
    QFETCH(QString, form);
    QFETCH(Message, asks);
    Rig rig;
    QList<QDialog *> instances;
    QList<int> visible;
    QList<QSize> sizes;
    bool openAfterZoomOut = false;
    for (const char *button : {"BtZoomIn", "BtZoomIn", "BtZoomIn", "BtCancel"})
        rig.whenOpen([&, button](QDialog &d) {
            instances.append(&d);
            visible.append(visibleLogoForms());
            sizes.append(static_cast<LogoFormBase &>(d).preview().size());
            if (instances.size() == 1) {
                click(d, "BtZoomOut");
                openAfterZoomOut = d.isVisible() && rig.logos.zoomCurrent == rig.logos.zoomBase;
            }
            click(d, button);
        });
    rig.openLoad(store);

    QVERIFY(openAfterZoomOut);
    QCOMPARE(rig.prompts.beeps, 1);
    QCOMPARE(rig.driver.openedModal, QStringList(4, form));
    QCOMPARE(QSet<QDialog *>(instances.begin(), instances.end()).size(), 4);
    QCOMPARE(visible, (QList<int>{1, 1, 1, 1}));
    QCOMPARE(rig.received, QList<Message>(4, asks));
    QCOMPARE(rig.logos.zoomCurrent, 32);
    const LogoBuffer &logo = rig.logos.logo;
    QCOMPARE(sizes, (QList<QSize>{vgfx::previewSize(logo, 4), vgfx::previewSize(logo, 8),
                                  vgfx::previewSize(logo, 16), vgfx::previewSize(logo, 32)}));
    QVERIFY(rig.sent().isEmpty());
}

void TestLogoDialogs::zoomAfterAFailedLoadDoesNotLeakIntoTheNextLoad()
{
    Rig rig;
    // A failed write keeps the zoomed dialog from coming back ...
    rig.whenOpen([&](QDialog &d) {
        rig.device.faults().logoWriteReply = 0x00;
        click(d, "BtOk");
        click(d, "BtZoomIn");
    });
    rig.openLoad(LogoStore::Printer);
    QCOMPARE(rig.driver.openedModal.size(), 1);
    QVERIFY(rig.logos.redraw);

    // ... and the next load converts its own file rather than redrawing the old logo.
    rig.device.faults().logoWriteReply = 0x73;
    QString size;
    rig.whenOpen([&](QDialog &d) {
        size = child<QLabel>(d, "LSize")->text();
        click(d, "BtCancel");
    });
    rig.openLoad(LogoStore::Printer,
                 writeBmp(rig.file("second.bmp"), 20, 16, [](int, int) { return true; }));
    QCOMPARE(size, QStringLiteral("Col:20*Row:2"));
}

void TestLogoDialogs::previewPixelsInBothOrders_data()
{
    QTest::addColumn<bool>("grid");
    QTest::newRow("plain") << false;
    QTest::newRow("with the dot grid") << true;
}

void TestLogoDialogs::previewPixelsInBothOrders()
{
    QFETCH(bool, grid);
    Rig rig;
    rig.logos.grid = grid;
    QImage composed;
    QImage device;
    bool gridsChecked = false;
    rig.whenOpen([&](QDialog &d) {
        composed = static_cast<LogoFormBase &>(d).preview();
        setNumber(d, 9);
        click(d, "BtOk"); // written to the printer, composed order
        click(d, "BtCancel");
    });
    rig.openLoad(LogoStore::Printer);
    QCOMPARE(rig.logos.logo.order, vlink::DotOrder::Composed);
    rig.read(9, [&](QDialog &d) {
        device = static_cast<LogoFormBase &>(d).preview();
        gridsChecked = child<QCheckBox>(d, "CBDrawGrids")->isChecked();
        click(d, "BtCancel");
    });
    QCOMPARE(rig.logos.logo.order, vlink::DotOrder::Device);
    QCOMPARE(gridsChecked, grid);

    // Zoom 4: the logo's top dot is row 0 of the image, its bottom dot row 7.
    for (const QImage &image : {composed, device}) {
        QCOMPARE(image.size(), QSize((3 + 1) * 4 + 2 * 4, 4 * ((1 + 1) * 8 + 16)));
        QCOMPARE(image.pixel(1, 29), Black);  // column 0, bottom dot: y 28..31
        QCOMPARE(image.pixel(6, 2), Black);   // column 1, top dot: y 0..3
        QCOMPARE(image.pixel(10, 13), Black); // column 2, dot 4 from the bottom: y 12..15
        QCOMPARE(image.pixel(1, 1), White);
        QCOMPARE(image.pixel(6, 29), White);
        QCOMPARE(image.pixel(10, 29), White);
        QCOMPARE(image.pixel(14, 2), White); // right of the logo
        // The grid's lines every 4 pixels cross the dots as well as the paper.
        QCOMPARE(image.pixel(4, 2), grid ? Silver : Black);
        QCOMPARE(image.pixel(6, 28), grid ? Silver : White);
    }
    QCOMPARE(device, composed);
}

void TestLogoDialogs::bankBoxSteps_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("delta");
    QTest::addColumn<QString>("result");
    QTest::newRow("up on 15") << "15" << 1 << "15";
    QTest::newRow("up on an empty box") << "" << 1 << "0";
    QTest::newRow("down on an empty box") << "  " << -1 << "0";
    QTest::newRow("down on 0") << "0" << -1 << "0";
    QTest::newRow("up on 7") << "7" << 1 << "8";
    QTest::newRow("down on a padded 3") << " 3 " << -1 << "2";
    QTest::newRow("down from beyond the banks") << "40" << -1 << "15";
}

void TestLogoDialogs::bankBoxSteps()
{
    QFETCH(QString, text);
    QFETCH(int, delta);
    QFETCH(QString, result);
    QCOMPARE(vgfx::bankBoxStep(text, delta), result);
    // The dialog's arrows take the same steps.
    Rig rig;
    QString shown;
    rig.whenOpen([&](QDialog &d) {
        child<QLineEdit>(d, "BankNumEdit")->setText(text);
        click(d, delta > 0 ? "BankNumUp" : "BankNumDown");
        shown = child<QLineEdit>(d, "BankNumEdit")->text();
        click(d, "BtCancel");
    });
    rig.openRead(LogoStore::Depot);
    QCOMPARE(shown, result);
    QVERIFY(rig.sent().isEmpty());
}

void TestLogoDialogs::bankSet_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("silent");
    QTest::addColumn<Shown>("shown");
    QTest::addColumn<int>("beeps");
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<int>("bank");
    QTest::addColumn<QString>("nextShow");
    QTest::newRow("set") << "4" << false << Shown{{"Ok", "Information"}} << 0
                         << QByteArray::fromHex("12235304") << 4 << "4";
    QTest::newRow("failed set") << "4" << true << Shown{{"BankNumSet Error", "Error"}} << 0
                                << QByteArray::fromHex("12") << -1 << "";
    QTest::newRow("beyond the banks") << "16" << false << Shown{} << 1 << QByteArray() << 3 << "3";
    QTest::newRow("empty") << "" << false << Shown{} << 1 << QByteArray() << 3 << "3";
}

void TestLogoDialogs::bankSet()
{
    QFETCH(QString, typed);
    QFETCH(bool, silent);
    QFETCH(Shown, shown);
    QFETCH(int, beeps);
    QFETCH(QByteArray, sent);
    QFETCH(int, bank);
    QFETCH(QString, nextShow);
    Rig rig;
    rig.logos.lastDepotBank = 3;
    QStringList banksShown;
    const auto showBank = [&](QDialog &d) {
        banksShown << child<QLineEdit>(d, "BankNumEdit")->text();
        QCOMPARE(child<QLineEdit>(d, "LogoNumEdit")->text(), QStringLiteral("0"));
    };
    rig.whenOpen([&](QDialog &d) {
        showBank(d);
        child<QLineEdit>(d, "BankNumEdit")->setText(typed);
        rig.device.faults().silent = silent;
        click(d, "BtBankSet");
        click(d, "BtCancel");
    });
    rig.openRead(LogoStore::Depot);
    QCOMPARE(rig.prompts.messages, shown);
    QCOMPARE(rig.prompts.beeps, beeps);
    QCOMPARE(rig.port.written(), sent);
    QCOMPARE(rig.logos.lastDepotBank, bank);
    QCOMPARE(rig.logos.errorFlag, silent);
    if (bank == 4)
        QCOMPARE(rig.device.logos().bank, 4);
    rig.whenOpen([&](QDialog &d) {
        showBank(d);
        click(d, "BtCancel");
    });
    rig.openRead(LogoStore::Depot);
    QCOMPARE(banksShown, (QStringList{"3", nextShow}));
}

void TestLogoDialogs::depotRenameModeWritesAtOnce_data()
{
    QTest::addColumn<bool>("loads");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<Message>("closing");
    QTest::newRow("renamed") << true << "Ok" << QByteArray("RENAMED ") << Message::DPFormClose;
    QTest::newRow("file gone") << false << "Image is not valid..." << QByteArray("KEEP    ")
                               << Message::DPImageNotLoadOK;
}

void TestLogoDialogs::depotRenameModeWritesAtOnce()
{
    QFETCH(bool, loads);
    QFETCH(QString, text);
    QFETCH(QByteArray, name);
    QFETCH(Message, closing);
    Rig rig;
    rig.device.logos().depot[0][12] = record("KEEP");
    rig.logos.logoMode = LogoMode::Load;
    rig.logos.logoFileName = loads ? threeDots(rig.file("tmp1.bmp")) : rig.file("gone.bmp");
    rig.logos.zoomCurrent = rig.logos.zoomBase;
    rig.logos.depotRename = 12;
    rig.logos.pendingName = QStringLiteral("RENAMED");
    // Nothing pressed: the dialog writes on its own and the main window closes it.
    rig.driver.whenOpen(noAction);
    rig.flow.openFresh(LogoStore::Depot);
    QCOMPARE(rig.prompts.messages, (Shown{{text, "Information"}}));
    QCOMPARE(storedName(rig.device.logos().depot[0][12]), name);
    QCOMPARE(rig.received, QList<Message>{closing});
    QCOMPARE(rig.sent().isEmpty(), !loads);
    if (!loads)
        return;
    QVERIFY(!rig.logos.depotRename);
    QVERIFY(!rig.logos.pendingName);
    // The request held for that one opening: the next Depot load waits for its OK.
    rig.device.clearReceived();
    rig.whenOpen(cancel);
    rig.flow.openFresh(LogoStore::Depot);
    QVERIFY(rig.sent().isEmpty());
}

void TestLogoDialogs::printerNameFieldIsFiltered()
{
    Rig rig;
    QString printer;
    QString depot;
    const auto type = [](QDialog &d, QString &out) {
        QLineEdit *name = nameBox(d);
        name->clear();
        QTest::keyClicks(name, QStringLiteral("A-B.C D1234567"));
        out = name->text();
        click(d, "BtCancel");
    };
    rig.whenOpen([&](QDialog &d) { type(d, printer); });
    rig.openRead(LogoStore::Printer);
    rig.whenOpen([&](QDialog &d) { type(d, depot); });
    rig.openRead(LogoStore::Depot);
    QCOMPARE(printer, QStringLiteral("ABCD1234"));
    QCOMPARE(depot, QStringLiteral("A-B.C D1234567"));
}

void TestLogoDialogs::libraryListingTheStoreIsRefreshedAfterALoad_data()
{
    QTest::addColumn<LogoStore>("store");
    QTest::addColumn<bool>("depotView");
    QTest::addColumn<bool>("refreshed");
    QTest::newRow("printer listed") << LogoStore::Printer << false << true;
    QTest::newRow("depot listed") << LogoStore::Depot << true << true;
    QTest::newRow("the other store listed") << LogoStore::Printer << true << false;
}

void TestLogoDialogs::libraryListingTheStoreIsRefreshedAfterALoad()
{
    QFETCH(LogoStore, store);
    QFETCH(bool, depotView);
    QFETCH(bool, refreshed);
    Rig rig;
    rig.logos.depotView = depotView;
    QList<vlink::LogoNames> lists;
    rig.flow.setLibraryRefresh([&](const vlink::LogoNames &names) { lists.append(names); });
    rig.whenOpen([](QDialog &d) {
        setNumber(d, 2);
        nameBox(d)->setText(QStringLiteral("TWO"));
        click(d, "BtOk");
        click(d, "BtCancel");
    });
    rig.openLoad(store);
    QCOMPARE(lists.size(), refreshed ? 1 : 0);
    if (refreshed)
        QCOMPARE(lists[0], (vlink::LogoNames{{2, "TWO"}}));
}

void TestLogoDialogs::mainWindowItemsOpenTheDialogs()
{
    StationFixture f;
    f.addDevice(0, vp::Kind::ViaDepot, 57600);
    f.startConnected();
    const QString file = threeDots(f.dir.filePath(QStringLiteral("a.bmp")));
    const struct {
        const char *action;
        bool chooses;
        const char *dialog;
        const char *okText;
        bool depotTarget;
    } items[] = {
        {"Load1", true, "TLogoReadWriteForm", "Load", false},
        {"TbLogoLoad", true, "TLogoReadWriteForm", "Load", false},
        {"DepotLogoLoad1", true, "TDPLogoReadWriteForm", "Load", true},
        {"Read2", false, "TLogoReadWriteForm", "Read", false},
        {"TbLogoRead", false, "TLogoReadWriteForm", "Read", false},
    };
    for (const auto &item : items) {
        f.prompts.clear();
        f.driver.openedModal.clear();
        if (item.chooses)
            f.prompts.chooseFiles({file});
        QString okText;
        f.driver.whenOpen([&](QDialog &d) {
            okText = child<QPushButton>(d, "BtOk")->text();
            click(d, "BtCancel");
        });
        QAction *action = f.action(item.action);
        action->setEnabled(true);
        action->trigger();
        QCOMPARE(f.driver.openedModal, QStringList{QString::fromLatin1(item.dialog)});
        QCOMPARE(okText, QString::fromLatin1(item.okText));
        if (item.chooses) {
            QCOMPARE(f.state().logos.depotTarget, item.depotTarget);
            QCOMPARE(f.prompts.fileRequests.size(), 1);
            const vui::FileDialogRequest &request = f.prompts.fileRequests[0];
            QCOMPARE(request.filter, QStringLiteral("Monochrome Bitmaps (*.bmp)"));
            QVERIFY(request.accept);
            QCOMPARE(f.state().logos.logoFileName, file);
        }
    }
}

QTEST_MAIN(TestLogoDialogs)
#include "tst_logo_dialogs.moc"
