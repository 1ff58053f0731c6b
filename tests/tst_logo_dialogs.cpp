#include "compose/logo_to_mark_form.h"
#include "graphics/dp_logo_read_write_form.h"
#include "graphics/logo_form_base.h"
#include "graphics/model/clip_grid.h"
#include "graphics/model/logo_preview.h"
#include "graphics/select_logos_num.h"
#include "graphics/show_all_logo_list_form.h"
#include "shell/library_flow.h"
#include "shell/placement_flow.h"
#include "support/logo_rig.h"
#include "support/station_fixture.h"
#include "support/table_rows.h"

#include <QCheckBox>
#include <QScreen>
#include <QTest>
#include <memory>

using vgfx::LogoFormBase;
using vgfx::LogoStore;
using vui::LogoMode;
using vui::Message;
using Shown = PromptRecorder::ShownList;

namespace
{

constexpr LogoStore Printer = LogoStore::Printer;
constexpr LogoStore Depot = LogoStore::Depot;

// The dialogs with a Depot bank box that selects the bank over the line.
enum class BankDialog { ReadWrite, Library, Viewer, Pieces };

std::unique_ptr<QDialog> bankDialog(BankDialog which, LogoRig &rig, const vgfx::ClipGrid &grid)
{
    switch (which) {
    case BankDialog::ReadWrite:
        return std::make_unique<vgfx::TDPLogoReadWriteForm>(rig.parts.logoContext());
    case BankDialog::Library:
        rig.logos.depotView = true;
        rig.driver.whenOpen([](QDialog &) {}); // the reading closes itself
        return std::make_unique<vgfx::TShowAllLogoListForm>(rig.parts.logoContext(), rig.modal);
    case BankDialog::Viewer:
        return std::make_unique<vcompose::LogoToMarkForm>(
            vcompose::Placement{Depot, true}, rig.parts.logoContext(), nullptr, rig.dir.path());
    case BankDialog::Pieces:
        return std::make_unique<vgfx::TSelectLogosNum>(Depot, rig.parts.line, rig.logos,
                                                       rig.prompts, vlink::CodePage(), grid, 0);
    }
    return nullptr;
}

} // namespace

class TestLogoDialogs : public QObject
{
    Q_OBJECT

private slots:
    void loadWritesAtMost255ColumnsUnderNumberAndName();
    void refusedLoadsAndReadsSendNothing();
    void depotRenameModeWritesAtOnce();
    void readIsRetriedOnceBeforeItIsReported_data();
    void readIsRetriedOnceBeforeItIsReported();
    void readModeRenameSaveAndClear();
    void zoomOutAtBaseBeepsZoomInReopens();
    void depotBankBoxes();
    void everyDepotBankBoxSetsTheBankAlike_data();
    void everyDepotBankBoxSetsTheBankAlike();
    void mainWindowItemsOpenTheDialogs();
};

// Arrows only change the number in Load mode. After the write, a library window listing the
// store gets its names again. The dialog grows with its preview after it was placed; it must still
// fit, and scroll instead.
void TestLogoDialogs::loadWritesAtMost255ColumnsUnderNumberAndName()
{
    const struct {
        const char *name;
        LogoStore store;
        int number;
        bool depotListed;
        bool refreshed;
    } rows[] = {{"printer, last number, listed", Printer, 255, false, true},
                {"depot bank 2, last number, listed", Depot, 249, true, true},
                {"printer, the depot listed", Printer, 255, true, false}};
    forEachRow(rows, [](const auto &row) {
        LogoRig rig;
        rig.logos.lastDepotBank = 2;
        rig.device.logos().bank = 2;
        rig.logos.depotView = row.depotListed;
        QList<vlink::LogoNames> lists;
        rig.flow.setLibraryRefresh([&](const vlink::LogoNames &names) { lists.append(names); });
        rig.whenOpen([&](QDialog &d) {
            const QRect screen = d.screen()->availableGeometry();
            QTRY_VERIFY_WITH_TIMEOUT(screen.contains(d.frameGeometry()), 1000);
            edit(d, "LogoNumEdit")->setText(QString::number(row.number - 1));
            click(d, "LogoNumUp", 2);
            edit(d, "LogoName")->setText(QStringLiteral("WIDE"));
            click(d, "BtOk");
        });
        // A dot in the top row of every column, so the logo is as wide as the bitmap.
        rig.load(row.store,
                 {writeBmp(rig.file("wide.bmp"), 500, 8, [](int, int y) { return !y; })});
        QCOMPARE(rig.prompts.messages, Shown{okShown});
        const QByteArray &stored = rig.stored(row.store, row.number, 2);
        QCOMPARE(stored.left(2), QByteArray::fromHex("01FF"));
        QCOMPARE(storedName(stored), QByteArray("WIDE    "));
        QCOMPARE(lists, QList<vlink::LogoNames>(row.refreshed, {{row.number, "WIDE"}}));
        // A Load dialog closed without a redraw is not opened again.
        QCOMPARE(rig.driver.openedModal.size(), 1);
    });
}

// A number beyond the store is refused before the error flag is cleared; a file that does not
// load is reported and the main window closes the dialog. Nothing is sent either way.
void TestLogoDialogs::refusedLoadsAndReadsSendNothing()
{
    const struct {
        const char *name;
        LogoStore store;
        LogoMode mode;
        const char *file; // nullptr: three dots
        int number;       // typed before OK; -1: nothing pressed, the main window closes it
        const char *text;
    } rows[] = {
        {"printer read beyond 255", Printer, LogoMode::Read, nullptr, 256,
         "Maximum Fragment №=255"},
        {"depot load beyond 249", Depot, LogoMode::Load, nullptr, 250, "Maximum Fragment №=249"},
        {"file gone", Printer, LogoMode::Load, "gone.bmp", -1, "Image is not valid..."},
        {"colour", Printer, LogoMode::Load, "colour.bmp", -1, "Image is not monochrome..."},
    };
    forEachRow(rows, [](const auto &row) {
        LogoRig rig;
        rig.logos.errorFlag = true;
        writeBmp(
            rig.file("colour.bmp"), 8, 8, [](int x, int) { return x == 2; }, QImage::Format_RGB888);
        if (row.number < 0)
            rig.leaveOpen();
        else
            rig.whenOpen(typeNumber(QString::number(row.number)));
        if (row.mode == LogoMode::Read)
            rig.openRead(row.store);
        else
            rig.load(row.store, row.file ? QStringList{rig.file(row.file)} : QStringList{});
        const char *caption = row.number < 0 ? "Information" : "Error";
        QCOMPARE(rig.prompts.messages, (Shown{{QString::fromUtf8(row.text), caption}}));
        QVERIFY(rig.sent().isEmpty());
        QVERIFY(rig.logos.errorFlag);
        QCOMPARE(rig.mainWindow.received,
                 QList<Message>(row.number < 0 ? 1 : 0, Message::ImageNotLoadOK));
    });
}

// Nothing pressed: the dialog writes on its own, once, and the main window closes it. A file that
// did not load leaves nothing to write.
void TestLogoDialogs::depotRenameModeWritesAtOnce()
{
    const struct {
        const char *name;
        bool loads;
        const char *text;
        QByteArray stored;
        Message closing;
    } rows[] = {
        {"renamed", true, "Ok", "RENAMED ", Message::DPFormClose},
        {"file gone", false, "Image is not valid...", "KEEP    ", Message::DPImageNotLoadOK}};
    forEachRow(rows, [](const auto &row) {
        LogoRig rig;
        rig.stored(Depot, 12) = logoRecord("KEEP");
        rig.logos.logoFileName = row.loads ? threeDots(rig.file("tmp1.bmp")) : rig.file("gone");
        rig.logos.depotRename = 12;
        rig.logos.pendingName = QStringLiteral("RENAMED");
        rig.leaveOpen();
        rig.flow.openFresh(Depot);
        QCOMPARE(rig.prompts.messages, (Shown{{row.text, "Information"}}));
        QCOMPARE(storedName(rig.stored(Depot, 12)), row.stored);
        QCOMPARE(rig.mainWindow.received, QList<Message>{row.closing});
        QCOMPARE(rig.sent().isEmpty(), !row.loads);
        // The request held for that one opening: the next one waits for its OK, given the time.
        rig.device.clearReceived();
        rig.driver.whenOpen([](QDialog &d) { QTimer::singleShot(0, &d, [&d] { d.reject(); }); });
        rig.flow.openFresh(Depot);
        QVERIFY(rig.sent().isEmpty());
    });
}

// A read is tried again once, each failure on the very first byte with the short low tone. One
// arrow reads logo 0 and then the logo selected, whose close comes once, after both; the failed
// read before does not keep the dialog from coming back with the logo selected.
void TestLogoDialogs::readIsRetriedOnceBeforeItIsReported_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<bool>("silent"); // else the echo of the first 0x07 is lost
    QTest::addColumn<bool>("arrow");  // pressed after the read, the device answering again
    QTest::addColumn<int>("tones");
    QTest::addColumn<QByteArray>("written"); // from the last press on
    QTest::addColumn<QString>("shown"); // name and number in the dialog shown again; empty: none
    QTest::newRow("second try succeeds")
        << 3 << false << false << 1 << QByteArray::fromHex("0707010373") << "THREE 3";
    QTest::newRow("both fail") << 3 << true << false << 2 << QByteArray::fromHex("0707")
                               << QString();
    QTest::newRow("arrow after a failed read")
        << 5 << true << true << 2 << QByteArray::fromHex("0701007307010673") << "NEXT 6";
}

void TestLogoDialogs::readIsRetriedOnceBeforeItIsReported()
{
    QFETCH(int, number);
    QFETCH(bool, silent);
    QFETCH(bool, arrow);
    QFETCH(int, tones);
    QFETCH(QByteArray, written);
    QFETCH(QString, shown);
    LogoRig rig;
    rig.stored(Printer, 0) = logoRecord("ZERO");
    rig.stored(Printer, 3) = logoRecord("THREE");
    rig.stored(Printer, 6) = logoRecord("NEXT");
    rig.whenOpen([&](QDialog &d) {
        edit(d, "LogoNumEdit")->setText(QString::number(number));
        rig.port.clearWritten();
        if (silent)
            rig.device.faults().silent = true;
        else
            rig.device.faults().dropEchoAt = rig.device.received().size();
        click(d, "BtOk");
        if (!arrow)
            return;
        rig.port.expectProtocolErrors(-1);
        rig.device.faults().silent = false;
        rig.port.clearWritten();
        click(d, "LogoNumUp");
    });
    QString shownAgain;
    rig.whenOpen([&](QDialog &d) {
        shownAgain = edit(d, "LogoName")->text() + ' ' + edit(d, "LogoNumEdit")->text();
    });
    rig.flow.logoRead();
    QCOMPARE(rig.prompts.tones, tones);
    const Shown failed{{"Logo Read Error", "Error"}};
    QCOMPARE(rig.prompts.messages, silent ? failed : Shown{});
    QCOMPARE(rig.port.written().left(written.size()), written);
    QCOMPARE(shownAgain, shown);
    // Shown again with the logo, unless the error keeps the dialog from asking.
    QCOMPARE(rig.driver.openedModal.size(), shown.isEmpty() ? 1 : 2);
    QCOMPARE(rig.mainWindow.received.isEmpty(), shown.isEmpty());
}

// The name typed is filtered to what a printer name can hold; Rename writes it. Save writes the
// logo shown to a BMP file; Clear answered No sends nothing, answered Yes writes the deleted
// logo, which leaves nothing to save.
void TestLogoDialogs::readModeRenameSaveAndClear()
{
    LogoRig rig;
    rig.stored(Printer, 9) = logoRecord("OLD");
    QVERIFY(QDir(rig.dir.path()).mkdir(QStringLiteral("sub")));
    QString typed;
    qsizetype before = 0;
    qsizetype afterNo = 0;
    rig.whenOpen(typeNumber("9"));
    rig.whenOpen([&](QDialog &d) {
        for (const char *button : {"BtClear", "BtRename", "BtSaveToFile"}) // Read mode only
            QVERIFY2(child<QWidget>(d, button)->isVisible(), button);
        edit(d, "LogoName")->clear();
        QTest::keyClicks(edit(d, "LogoName"), QStringLiteral("NEW-N.A ME1"));
        typed = edit(d, "LogoName")->text();
        click(d, "BtRename");
        typed += ' ' + storedName(rig.stored(Printer, 9));
        rig.prompts.chooseFiles({rig.file("sub/one")});
        click(d, "BtSaveToFile");
        before = rig.sent().size();
        click(d, "BtClear");
        afterNo = rig.sent().size();
        rig.prompts.answer(true);
        click(d, "BtClear");
        rig.prompts.chooseFiles({rig.file("deleted.bmp")});
        click(d, "BtSaveToFile");
    });
    rig.flow.logoRead();
    QCOMPARE(rig.prompts.messages, (Shown{okShown, okShown}));
    QCOMPARE(typed, QStringLiteral("NEWNAME1 NEWNAME1"));
    QCOMPARE(rig.prompts.fileRequests.size(), 1);
    QCOMPARE(rig.prompts.fileRequests[0].filter, QStringLiteral("Bitmaps (*.bmp)"));
    QVERIFY(QFile::exists(rig.file("sub/one.bmp")));
    QCOMPARE(rig.logos.logoSaveDir, rig.file("sub")); // where the next save starts

    QCOMPARE(rig.prompts.questions, Shown(2, {"Logo delete. Are You Sure?", "Confirm"}));
    QCOMPARE(afterNo, before);
    QCOMPARE(rig.sent().mid(before, 5), QByteArray::fromHex("0789090401")); // the blank record
    QVERIFY(rig.stored(Printer, 9).isEmpty()); // the slot is free again
    QVERIFY(!QFile::exists(rig.file("deleted.bmp")));
}

// Each zoom in closes the dialog and the main window opens a fresh one, one at a time. The grid
// is drawn, its lines every zoom pixels across the dots too, and its box checked when the
// station asks for it.
void TestLogoDialogs::zoomOutAtBaseBeepsZoomInReopens()
{
    const struct {
        const char *name;
        LogoStore store;
        bool grid;
        const char *form;
        Message asks;
    } rows[] = {{"printer", Printer, false, "TLogoReadWriteForm", Message::ImageCompressOK},
                {"depot, grid", Depot, true, "TDPLogoReadWriteForm", Message::DPImageCompressOK}};
    forEachRow(rows, [](const auto &row) {
        LogoRig rig;
        rig.logos.grid = row.grid;
        QList<int> widths;
        QSet<QDialog *> instances;
        QList<QRgb> topDot; // column 1's top dot at zoom 4: x 4..7, y 0..3
        bool boxChecked = false;
        for (int i = 0; i < 4; ++i)
            rig.whenOpen([&](QDialog &d) {
                instances.insert(&d);
                const QImage &preview = static_cast<LogoFormBase &>(d).preview();
                widths.append(preview.width());
                if (widths.size() == 1) {
                    topDot = {preview.pixel(6, 2), preview.pixel(4, 2)};
                    boxChecked = child<QCheckBox>(d, "CBDrawGrids")->isChecked();
                    click(d, "BtZoomOut");
                }
                click(d, widths.size() < 4 ? "BtZoomIn" : "BtCancel");
            });
        rig.load(row.store);
        QCOMPARE(rig.prompts.beeps, 1);
        QCOMPARE(rig.driver.openedModal, QStringList(4, QString::fromLatin1(row.form)));
        QCOMPARE(instances.size(), 4);
        QCOMPARE(rig.mainWindow.received, QList<Message>(4, row.asks));
        // Three columns: (3 + 1) z + 2 z across at 4, 8, 16, 32.
        QCOMPARE(widths, (QList<int>{24, 48, 96, 192}));
        const QRgb line = row.grid ? 0xFF000000 | vgfx::GridColour : 0xFF000000;
        QCOMPARE(topDot, (QList<QRgb>{0xFF000000, line}));
        QCOMPARE(boxChecked, row.grid);
        QVERIFY(rig.sent().isEmpty());
    });
}

// Each box opens on the bank the Depot took last; its arrows stay within the banks. Set keeps the
// bank for the next opening, and none after a failure. The Depot echoes any byte, so a bank it
// does not have is refused before a byte is sent. The viewer's box is read-only.
void TestLogoDialogs::depotBankBoxes()
{
    enum Form { ReadWrite, Viewer, Library };
    const struct {
        const char *name;
        Form form;
        int start;
        const char *typed; // nullptr: the box as it opens
        const char *arrow;
        bool set, silent;
        const char *shown;   // in the box after the buttons
        const char *message; // "": none
        int bankAfter;
    } rows[] = {
        {"up at 15", ReadWrite, 3, "15", "BankNumUp", false, false, "15", "", 3},
        {"up on an empty box", ReadWrite, 3, "", "BankNumUp", false, false, "0", "", 3},
        {"set", ReadWrite, 3, "4", nullptr, true, false, "4", "Ok", 4},
        {"failed set", ReadWrite, 3, "4", nullptr, true, true, "4", "BankNumSet Error", -1},
        {"set beyond the banks", ReadWrite, 3, "16", nullptr, true, false, "16", "", 3},
        {"viewer, arrow up, set", Viewer, 3, nullptr, "BankNumUp", true, false, "4", "Ok", 4},
        {"viewer, set fails", Viewer, 3, nullptr, nullptr, true, true, "3", "BankNumSet Error", -1},
        {"viewer, bank 16", Viewer, 16, nullptr, nullptr, true, false, "16", "", 16},
        {"library, bank 16", Library, 3, "16", nullptr, true, false, "16", "", 3},
    };
    forEachRow(rows, [](const auto &row) {
        FlowRig<vshell::PlacementFlow> rig;
        vshell::LibraryFlow library(rig.parts.logoContext(), rig.modal, nullptr, rig.flow);
        rig.logos.lastDepotBank = row.start;
        QStringList banks; // as each opening shows it
        QString shown;
        const auto setBank = [&](QDialog &d) {
            banks << edit(d, "BankNumEdit")->text();
            if (row.form != ReadWrite) // the others read as they open
                rig.port.clearWritten();
            rig.port.expectProtocolErrors(row.silent ? -1 : 0);
            rig.device.faults().silent = row.silent;
            if (row.typed)
                edit(d, "BankNumEdit")->setText(QString::fromLatin1(row.typed));
            if (row.arrow)
                click(d, row.arrow);
            if (row.set)
                click(d, "BtBankSet");
            shown = edit(d, "BankNumEdit")->text();
        };
        if (row.form == Library) {
            rig.mainWindow.answer = [&](Message m) { library.dispatch(m); };
            rig.driver.whenOpen([](QDialog &) {}); // the reading closes itself
        }
        rig.whenOpen(setBank);
        if (row.form == ReadWrite)
            rig.openRead(Depot);
        else
            row.form == Viewer ? rig.items.open({Depot, true}) : library.logosView(Depot);
        QCOMPARE(shown, QString::fromLatin1(row.shown));
        QCOMPARE(rig.prompts.messages.value(0).first, QString::fromLatin1(row.message));
        QCOMPARE(rig.prompts.beeps, row.set && !*row.message ? 1 : 0);
        QCOMPARE(rig.port.written().isEmpty(), !*row.message);
        QCOMPARE(rig.logos.lastDepotBank, row.bankAfter);
        if (QLatin1String(row.message) == QLatin1String("Ok"))
            QCOMPARE(rig.device.logos().bank, row.bankAfter);
        if (row.form != ReadWrite)
            return;
        // Closed with nothing read, the dialog does not ask to be shown again.
        QVERIFY(rig.mainWindow.received.isEmpty());
        rig.whenOpen([&](QDialog &d) { banks << edit(d, "BankNumEdit")->text(); });
        rig.openRead(Depot);
        QCOMPARE(banks,
                 (QStringList{"3", row.bankAfter < 0 ? "" : QString::number(row.bankAfter)}));
    });
}

void TestLogoDialogs::everyDepotBankBoxSetsTheBankAlike_data()
{
    QTest::addColumn<int>("dialog"); // a BankDialog
    QTest::addColumn<QString>("bank");
    QTest::addColumn<bool>("silent");
    QTest::addColumn<QString>("shown"); // "": nothing
    QTest::addColumn<int>("bankAfter");
    const struct {
        const char *name;
        BankDialog dialog;
        QString okText; // the library reads the bank's list instead of saying "Ok"
    } dialogs[] = {{"read-write", BankDialog::ReadWrite, "Ok"},
                   {"library", BankDialog::Library, ""},
                   {"viewer", BankDialog::Viewer, "Ok"},
                   {"pieces", BankDialog::Pieces, "Ok"}};
    for (const auto &d : dialogs) {
        const int dialog = int(d.dialog);
        QTest::addRow("%s, set", d.name) << dialog << "5" << false << d.okText << 5;
        QTest::addRow("%s, unechoed", d.name) << dialog << "5" << true << "BankNumSet Error" << -1;
        QTest::addRow("%s, bank 16", d.name) << dialog << "16" << false << "" << 3;
    }
}

// The same bytes and texts from every box; a refused bank sends nothing, and a box that takes
// typing takes the focus back for the bank to be typed again.
void TestLogoDialogs::everyDepotBankBoxSetsTheBankAlike()
{
    QFETCH(int, dialog);
    QFETCH(QString, bank);
    QFETCH(bool, silent);
    QFETCH(QString, shown);
    QFETCH(int, bankAfter);
    LogoRig rig;
    vgfx::ClipGrid grid;
    grid.imageWidth = 10;
    rig.logos.lastDepotBank = 3;
    const std::unique_ptr<QDialog> form = bankDialog(BankDialog(dialog), rig, grid);
    rig.port.expectProtocolErrors(silent ? -1 : 0);
    rig.device.faults().silent = silent;
    QLineEdit *field = edit(*form, "BankNumEdit");
    field->setText(bank);
    click(*form, "BtBankSet");
    const bool refused = bank == QLatin1String("16");
    // An unechoed byte ends the command.
    const QByteArray wire = refused ? "" : silent ? "12" : "12235305";
    QCOMPARE(rig.sent().left(4).toHex(), wire);
    QCOMPARE(rig.prompts.messages.value(0).first, shown);
    QCOMPARE(rig.prompts.beeps, refused ? 1 : 0);
    QCOMPARE(rig.logos.lastDepotBank, bankAfter);
    QCOMPARE(rig.logos.errorFlag, silent);
    if (refused)
        QCOMPARE(form->focusWidget() == field, !field->isReadOnly());
}

// The items open their store's dialog in their mode; a load asks for a monochrome bitmap first.
void TestLogoDialogs::mainWindowItemsOpenTheDialogs()
{
    StationFixture f;
    f.addDevice(0, vp::Kind::ViaDepot, 57600);
    f.startConnected();
    const struct {
        const char *name; // the item
        const char *dialog;
        LogoMode mode;
        bool depotTarget;
    } rows[] = {{"TbLogoRead", "TLogoReadWriteForm", LogoMode::Read, false},
                {"Load1", "TLogoReadWriteForm", LogoMode::Load, false},
                {"DepotLogoLoad1", "TDPLogoReadWriteForm", LogoMode::Load, true}};
    forEachRow(rows, [&](const auto &row) {
        f.prompts.clear();
        f.driver.openedModal.clear();
        f.prompts.chooseFiles({threeDots(f.dir.filePath(QStringLiteral("a.bmp")))});
        f.driver.whenOpen([](QDialog &d) { d.reject(); });
        f.action(row.name)->setEnabled(true);
        f.action(row.name)->trigger();
        QCOMPARE(f.driver.openedModal, QStringList{QString::fromLatin1(row.dialog)});
        QCOMPARE(f.state().logos.logoMode, row.mode);
        QCOMPARE(f.state().logos.depotTarget, row.depotTarget);
        QCOMPARE(f.prompts.fileRequests.value(0).filter,
                 row.mode == LogoMode::Load ? "Monochrome Bitmaps (*.bmp)" : QString());
    });
}

QTEST_MAIN(TestLogoDialogs)
#include "tst_logo_dialogs.moc"
