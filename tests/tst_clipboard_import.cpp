#include "graphics/clip_brd_read_form.h"
#include "graphics/clip_sheet.h"
#include "graphics/model/clip_render.h"
#include "graphics/model/clip_store.h"
#include "graphics/select_logos_num.h"
#include "link/mark_commands.h"
#include "shell/clipboard_flow.h"
#include "support/logo_rig.h"
#include "support/station_fixture.h"
#include "support/table_rows.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QMimeData>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

using vgfx::ClipGrid;
using vgfx::DotRect;
using Shown = PromptRecorder::ShownList;

namespace
{

// A picture whose dark rows run from the top to row span(h), whatever height it is drawn at.
vgfx::PictureSource rowsTo(std::function<int(int)> span)
{
    return [span](int h) {
        QImage image(20, std::max(h, span(h) + 1), QImage::Format_RGB32);
        image.fill(Qt::white);
        for (int y = 0; y <= span(h); ++y)
            image.setPixel(3, y, 0xFF000000);
        return image;
    };
}

// The first or the last row with a dot in the first 2000 columns.
int dotRow(const ClipGrid &grid, bool first)
{
    for (int i = 0; i < vgfx::ClipRows; ++i)
        for (int c = 0, row = first ? i : vgfx::ClipRows - 1 - i; c < 2000; ++c)
            if (grid.isDot(c, row))
                return row;
    return -1;
}

using ClipRig = FlowRig<vshell::ClipboardFlow>;

void select(QDialog &d, DotRect rect)
{
    static_cast<vgfx::TClipBrdReadForm &>(d).sheet()->setSelection(rect);
}

void trigger(QDialog &d, const char *item)
{
    d.findChild<QAction *>(QLatin1String(item))->trigger();
}

} // namespace

class TestClipboardImport : public QObject
{
    Q_OBJECT

private slots:
    void heightSearchStepsTowardsTheTarget();
    void greyIsDarkAndEveryOtherShadeADot();
    void clipboardTextBecomesDotsOnTheBaseline();
    void pastedHtmlReadsOnlyOrdinaryPictureFiles();
    void selectionAndExpansionStayInTheGrid();
    void wideImageIsStoredAsPiecesPlacedInTheMarkOrTheBankSet();
    void piecesReportAFailedPlacementAndRunOnce_data();
    void piecesReportAFailedPlacementAndRunOnce();
    void reReadReopensTheWindowAndRefusesAnEmptyClipboard();
    void selectionIsLoadedOrSavedAndPastedBack();
    void mainWindowOpensTheWindowAndReadsOnItsMessage();
    void floatingBlockAnswersEnterDeleteAndEscape();
};

void TestClipboardImport::heightSearchStepsTowardsTheTarget()
{
    const struct {
        const char *name;
        int target;
        std::function<int(int)> span;
        std::vector<int> heights;
    } rows[] = {
        // last - first = h - 1: 17 rows are reached after five steps.
        {"16, met", 16, [](int h) { return h - 1; }, {16, 24, 20, 18, 14, 16, 17}},
        // The span is always odd, never 16: all six steps 8, 4, 2, 4, 2, 1 are taken.
        {"16, never met", 16, [](int h) { return h / 2 * 2 - 1; }, {16, 24, 20, 18, 14, 16, 17}},
        // 32 aims at a span of 31, with steps 16, 8, 4, 4, 2.
        {"32", 32, [](int h) { return h / 2; }, {32, 48, 56, 60, 64, 62}},
        {"32 at once", 32, [](int h) { return h - 1; }, {32}},
        // A picture that is always too tall is never drawn below 1 pixel.
        {"8, floor", 8, [](int) { return 40; }, {8, 4, 2, 1, 1, 1, 1}},
    };
    forEachRow(rows, [](const auto &row) {
        const vgfx::HeightSearch search = vgfx::searchRenderHeight(rowsTo(row.span), row.target);
        QCOMPARE(search.heights, row.heights);
    });
}

void TestClipboardImport::greyIsDarkAndEveryOtherShadeADot()
{
    QImage picture(10, 30, QImage::Format_RGB32);
    picture.fill(Qt::white);
    picture.setPixel(0, 2, 0xFF808080);  // grey: the top of the dark rows
    picture.setPixel(4, 18, 0xFF000000); // black: the bottom
    picture.setPixel(2, 10, 0xFFFEFEFE); // antialiasing: a dot, though not dark
    picture.setPixel(1, 5, 0xFFC0C0C0);  // light grey: a dot, not dark
    picture.setPixel(7, 20, 0xFF000000 | 0x7F7F7F);
    const vgfx::HeightSearch search = vgfx::searchRenderHeight([&](int) { return picture; }, 16);
    QCOMPARE(search.heights.size(), 1u);
    ClipGrid grid;
    QVERIFY(vgfx::placeSample(search, vgfx::ClipDefaultOffset, grid));
    // The last dark row lands on row 31 + 16 = 47.
    QCOMPARE(grid.imageWidth, 5);
    QCOMPARE(grid.imageHeight, 19);
    for (auto [x, y] : {std::pair{0, 31}, {4, 47}, {2, 39}, {1, 34}})
        QVERIFY2(grid.isDot(x, y), qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
    // Row 20 lies below the image.
    QVERIFY(!grid.isDot(7, 49));
}

void TestClipboardImport::clipboardTextBecomesDotsOnTheBaseline()
{
    const struct {
        const char *name;
        bool html;
        QString text;
    } rows[] = {
        {"word processor HTML", true,
         QStringLiteral("<p style=\"font-family:'DejaVu Serif'; font-size:14pt\"><b>Lot</b> "
                        "<span style=\"font-size:20pt\">4711</span></p>")},
        {"plain text", false, QStringLiteral("Best before 12.2027")},
    };
    forEachRow(rows, [](const auto &row) {
        auto *data = new QMimeData;
        row.html ? data->setHtml(row.text) : data->setText(row.text);
        QGuiApplication::clipboard()->setMimeData(data);
        const QImage picture = vgfx::clipboardPicture(QGuiApplication::clipboard()->mimeData());
        const vgfx::HeightSearch search =
            vgfx::searchRenderHeight(vgfx::scaledPicture(picture), 24);
        QVERIFY(std::abs(search.extent.lastRow - search.extent.firstRow - 24) <= 1);
        ClipGrid grid;
        QVERIFY(vgfx::pictureToDots(picture, 24, vgfx::ClipDefaultOffset, grid));
        QCOMPARE(dotRow(grid, false), 47);
        QVERIFY(dotRow(grid, true) <= 47 - 23);
        QVERIFY(grid.imageWidth > 40);
    });
}

void TestClipboardImport::pastedHtmlReadsOnlyOrdinaryPictureFiles()
{
    QTemporaryDir dir;
    const QString picturePath = dir.filePath(QStringLiteral("logo.png"));
    QImage logo(40, 10, QImage::Format_RGB32);
    logo.fill(Qt::black);
    QVERIFY(logo.save(picturePath));
    const auto widthOf = [](const QString &html) {
        QMimeData data;
        data.setHtml(html);
        return vgfx::clipboardPicture(&data).width();
    };
    const auto widthWith = [&](const QString &src) {
        return widthOf(QStringLiteral("<p>Lot<img src=\"%1\"></p>").arg(src));
    };
    // A picture that cannot be read is a white dot, not the platform's broken-file icon.
    const int plain = widthWith(QStringLiteral("absent.png"));
    QVERIFY(plain <= widthOf(QStringLiteral("<p>Lot</p>")) + 4);
    QVERIFY(widthWith(QUrl::fromLocalFile(picturePath).toString()) >= plain + 40);
    // Nothing but an ordinary file is read: a pipe would hang the station, /dev/zero fill its
    // memory.
    const QString pipePath = dir.filePath(QStringLiteral("pipe.png"));
    QCOMPARE(::mkfifo(QFile::encodeName(pipePath).constData(), 0600), 0);
    QCOMPARE(widthWith(pipePath), plain);
    QCOMPARE(widthWith(QUrl::fromLocalFile(pipePath).toString()), plain);
}

void TestClipboardImport::selectionAndExpansionStayInTheGrid()
{
    using vgfx::ClipColumns;
    using vgfx::ClipRows;
    ClipGrid grid;
    vgfx::ClipSheet sheet(grid);
    // The mouse pressed inside and released far beyond the right and bottom edges, then the
    // reverse beyond the left and top.
    const auto drag = [&](QPoint from, QPoint to) {
        QMouseEvent press(QEvent::MouseButtonPress, from, from, Qt::LeftButton, Qt::LeftButton, {});
        QMouseEvent release(QEvent::MouseButtonRelease, to, to, Qt::LeftButton, {}, {});
        QCoreApplication::sendEvent(&sheet, &press);
        QCoreApplication::sendEvent(&sheet, &release);
        return sheet.selection();
    };
    QCOMPARE(drag({ClipColumns * 8 - 20, ClipRows * 8 - 20}, {ClipColumns * 9, ClipRows * 9}),
             (DotRect{ClipColumns - 3, ClipRows - 3, ClipColumns - 1, ClipRows - 1}));
    QCOMPARE(drag({17, 9}, {-500, -3}), (DotRect{0, 0, 2, 1}));
    QCOMPARE(drag({-90, -90}, {-10, -1}), std::nullopt);

    // A block pasted at the last cells is cut at the edge and put back whole by Escape.
    grid.set(0, 0, vgfx::ClipDot);
    grid.set(ClipColumns - 1, ClipRows - 1, vgfx::ClipDot);
    grid.copy({0, 0, 9, 9});
    QVERIFY(grid.paste({ClipColumns - 2, ClipRows - 2, ClipColumns - 1, ClipRows - 1}));
    QVERIFY(grid.isDot(ClipColumns - 2, ClipRows - 2) &&
            !grid.isDot(ClipColumns - 1, ClipRows - 1));
    grid.escape();
    QVERIFY(grid.isDot(ClipColumns - 1, ClipRows - 1) &&
            !grid.isDot(ClipColumns - 2, ClipRows - 2));
    // A stretch far past the edges fills what lies inside from the block's first cell.
    grid.set(ClipColumns - 5, ClipRows - 5, vgfx::ClipDot);
    grid.set(ClipColumns - 1, ClipRows - 1, vgfx::ClipWhite);
    grid.expand({ClipColumns - 5, ClipRows - 5, ClipColumns - 1, ClipRows - 1}, 5000, 5000);
    QVERIFY(grid.isDot(ClipColumns - 1, ClipRows - 1));

    // 0 % stands for 100 %. A block of 2 x 2 at (10, 20): dots at its corners, one after it.
    grid.clear();
    grid.set(10, 20, vgfx::ClipDot);
    grid.set(11, 21, vgfx::ClipDot);
    grid.set(12, 20, vgfx::ClipDot);
    grid.expand({10, 20, 11, 21}, 200, 0);
    const QList<bool> row20{grid.isDot(10, 20), grid.isDot(11, 20), grid.isDot(12, 20),
                            grid.isDot(13, 20), grid.isDot(14, 20)};
    QCOMPARE(row20, (QList<bool>{true, true, false, false, true}));
    QVERIFY(grid.isDot(12, 21) && grid.isDot(13, 21) && !grid.isDot(12, 22));
    // Shrinking leaves the freed cells white.
    grid.expand({10, 20, 13, 21}, 50, 50);
    QVERIFY(grid.isDot(10, 20) && !grid.isDot(11, 20) && !grid.isDot(12, 21));
}

void TestClipboardImport::wideImageIsStoredAsPiecesPlacedInTheMarkOrTheBankSet()
{
    QCOMPARE(vgfx::pieceWidths(5000).size(), 9u);
    LogoRig rig;
    ClipGrid grid;
    // A dot at the foot of the last column of each piece, and one at the top of the band.
    for (int column : {124, 249, 299})
        grid.set(column, vgfx::ClipBaselineRow + vgfx::ClipDefaultOffset, vgfx::ClipDot);
    grid.set(0, vgfx::textBandTop(vgfx::ClipDefaultOffset), vgfx::ClipDot);
    grid.imageWidth = 300;
    vgfx::TSelectLogosNum form(vgfx::LogoStore::Printer, rig.parts.line, rig.logos, rig.prompts,
                               vlink::CodePage(), grid, vgfx::ClipDefaultOffset);
    QCOMPARE(form.pieces(), 3);
    child<QComboBox>(form, "LogoNum2")->setCurrentText(QStringLiteral("200"));
    child<QLineEdit>(form, "LogoName1")->setText(QStringLiteral("LOT"));
    click(form, "BtOk");
    QCOMPARE(rig.prompts.messages, Shown{okShown});
    for (const auto &[number, width, height, column] :
         {std::array{32, 125, 4, 1}, std::array{200, 125, 1, 2}, std::array{34, 50, 1, 3}}) {
        const QByteArray &record = rig.stored(vgfx::LogoStore::Printer, number);
        QCOMPARE(int(quint8(record.at(0))), height);
        QCOMPARE(int(quint8(record.at(1))), width);
        QCOMPARE(int(rig.device.mark().cell(1, column)->logo), number);
    }
    QCOMPARE(storedName(rig.stored(vgfx::LogoStore::Printer, 32)), QByteArray("LOT     "));

    rig.prompts.clear();
    rig.device.faults().silent = true;
    click(form, "BtOk");
    QCOMPARE(rig.prompts.messages, (Shown{{"Write Error", "Error"}}));

    // To the Depot the pieces go into the bank set.
    LogoRig depot;
    ClipGrid narrow;
    narrow.set(130, vgfx::ClipBaselineRow + vgfx::ClipDefaultOffset, vgfx::ClipDot);
    narrow.imageWidth = 131;
    vgfx::TSelectLogosNum depotForm(vgfx::LogoStore::Depot, depot.parts.line, depot.logos,
                                    depot.prompts, vlink::CodePage(), narrow,
                                    vgfx::ClipDefaultOffset);
    child<QLineEdit>(depotForm, "BankNumEdit")->setText(QStringLiteral("3"));
    click(depotForm, "BtBankSet");
    click(depotForm, "BtOk");
    QCOMPARE(depot.prompts.messages, (Shown{okShown, okShown}));
    QCOMPARE(depot.logos.lastDepotBank, 3);
    QCOMPARE(depot.stored(vgfx::LogoStore::Depot, 33, 3).left(2), QByteArray::fromHex("0106"));
    QCOMPARE(int(depot.device.mark().cell(1, 2)->logo), 33);
}

void TestClipboardImport::piecesReportAFailedPlacementAndRunOnce_data()
{
    QTest::addColumn<bool>("clickAgain"); // else the placement's second byte goes unechoed
    QTest::addColumn<QString>("shown");
    QTest::newRow("placement unechoed") << false << "Mark Load Error";
    QTest::newRow("a second click during the run") << true << "Ok";
}

void TestClipboardImport::piecesReportAFailedPlacementAndRunOnce()
{
    QFETCH(bool, clickAgain);
    QFETCH(QString, shown);
    LogoRig rig;
    ClipGrid grid;
    grid.imageWidth = 131; // two pieces
    vgfx::TSelectLogosNum form(vgfx::LogoStore::Printer, rig.parts.line, rig.logos, rig.prompts,
                               vlink::CodePage(), grid, vgfx::ClipDefaultOffset);
    rig.port.expectProtocolErrors(clickAgain ? 0 : -1);
    rig.port.onRead = [&, clicked = false]() mutable {
        const bool markLoad = rig.port.written().endsWith(char(vlink::MarkOp::MarkLoad));
        if (clickAgain && !std::exchange(clicked, true))
            click(form, "BtOk");
        else if (!clickAgain && markLoad && rig.device.faults().dropEchoAt < 0)
            rig.device.faults().dropEchoAt = rig.device.received().size();
    };
    click(form, "BtOk");
    QCOMPARE(rig.prompts.messages.size(), 1);
    QCOMPARE(rig.prompts.messages.first().first, shown);
}

void TestClipboardImport::reReadReopensTheWindowAndRefusesAnEmptyClipboard()
{
    ClipRig rig;
    rig.items.grid().set(5, 5, vgfx::ClipDot);
    QGuiApplication::clipboard()->clear();
    rig.whenOpen([](QDialog &d) { click(d, "BtReRead"); });
    int readsSeen = 0; // by the time the window is shown again
    rig.whenOpen([&](QDialog &) {
        QCoreApplication::processEvents();
        readsSeen = int(rig.prompts.messages.size());
    });
    rig.items.open();
    QCoreApplication::processEvents();
    QCOMPARE(rig.mainWindow.received, (QList<vui::Message>{vui::Message::ReadClpBoard_}));
    QCOMPARE(rig.driver.openedModal, (QStringList{"TClipBrdReadForm", "TClipBrdReadForm"}));
    QCOMPARE(readsSeen, 1);
    QCOMPARE(rig.prompts.messages, (Shown{{"not SupportsClipboardFormat", "Error"}}));
    QVERIFY(rig.items.grid().isDot(5, 5));
    QVERIFY(!rig.logos.clipboardReopen);
}

// The selection goes to the printer's load dialog as tmp1.bmp, 10 columns and the whole text band;
// "Save to File" adds the extension; "Paste from File" puts the dots back where they were and
// refuses a colour picture as the logo dialogs do. A Depot store button is offered only with a
// Depot on the line.
void TestClipboardImport::selectionIsLoadedOrSavedAndPastedBack()
{
    ClipRig rig;
    ClipGrid &grid = rig.items.grid();
    const int baseline = vgfx::ClipBaselineRow + vgfx::ClipDefaultOffset;
    const DotRect selection{0, baseline - 31, 9, baseline};
    grid.set(3, baseline, vgfx::ClipDot);
    grid.set(9, baseline - 31, vgfx::ClipDot);
    grid.set(10, baseline, vgfx::ClipDot); // outside the selection
    writeBmp(
        rig.file("red.bmp"), 4, 4, [](int x, int) { return x == 2; }, QImage::Format_RGB888);
    for (const char *name : {"line", "line.bmp", "red.bmp"})
        rig.prompts.chooseFiles({rig.file(name)});
    bool depotOffered = false;
    rig.whenOpen([&](QDialog &d) {
        depotOffered = !child<QWidget>(d, "TbLoadDepot")->isHidden();
        select(d, selection);
        trigger(d, "SavetoPrinterMemory1");
        select(d, selection);
        trigger(d, "SavetoFile1");
        grid.clear();
        trigger(d, "PastefromFile1");
        QVERIFY(grid.isDot(3, baseline) && grid.isDot(9, baseline - 31));
        QCOMPARE(grid.imageWidth, 10);
        trigger(d, "PastefromFile1");
    });
    rig.whenOpen(typeNumber("7"));
    rig.items.open();
    QVERIFY(depotOffered);
    QCOMPARE(rig.driver.openedModal, (QStringList{"TClipBrdReadForm", "TLogoReadWriteForm"}));
    QCOMPARE(rig.logos.logoFileName, rig.file("tmp1.bmp"));
    QCOMPARE(rig.stored(vgfx::LogoStore::Printer, 7).left(2), QByteArray::fromHex("040A"));
    QCOMPARE(QImage(rig.file("line.bmp")).size(), QSize(10, 32));
    QCOMPARE(rig.prompts.messages, (Shown{okShown, {"Image is not monochrome...", "Information"}}));
    QVERIFY(grid.isDot(3, baseline));

    rig.parts.line.deviceKind = vlink::DeviceKind::Printer;
    rig.whenOpen([&](QDialog &d) { depotOffered = !child<QWidget>(d, "TbLoadDepot")->isHidden(); });
    rig.items.open();
    QVERIFY(!depotOffered);
}

// The tool button asks for 24 dots, the item for the height last asked; "ReRead ClipBoard" makes
// the main window open the window again, which renders the clipboard through Logo/tmp.bmp.
void TestClipboardImport::mainWindowOpensTheWindowAndReadsOnItsMessage()
{
    StationFixture f;
    f.addDevice(0);
    f.startConnected();
    const auto height = [](QDialog &d) {
        return child<QComboBox>(d, "MaxTextHeight")->currentText().toInt();
    };
    QList<int> heights;
    f.driver.whenOpen([&](QDialog &d) {
        heights.append(height(d));
        d.reject();
    });
    f.action("TbClipBoard")->trigger();
    f.state().logos.clipboardWork = 12;
    f.driver.whenOpen([&](QDialog &d) {
        heights.append(height(d));
        child<QComboBox>(d, "MaxTextHeight")->setCurrentText(QStringLiteral("20"));
        click(d, "BtReRead");
    });
    f.driver.whenOpen([&](QDialog &d) {
        QCoreApplication::processEvents();
        heights.append(height(d));
        d.reject();
    });
    QGuiApplication::clipboard()->setText(QStringLiteral("Lot 4711"));
    f.action("ReadMSWordtextviaClipBoard1")->trigger();
    QCoreApplication::processEvents();
    QCOMPARE(heights, (QList<int>{24, 12, 20}));
    QCOMPARE(f.driver.openedModal.size(), 3);
    QCOMPARE(f.prompts.messages, Shown{});
    QVERIFY(QFile::exists(QDir(f.workDir()).filePath(QStringLiteral("Logo/tmp.bmp"))));
}

// Keys in the height box steer a pasted block; none of them closes the window.
void TestClipboardImport::floatingBlockAnswersEnterDeleteAndEscape()
{
    const struct {
        const char *name;
        Qt::Key key;
        bool pastedStays;
        bool underComesBack;
    } rows[] = {{"Enter", Qt::Key_Return, true, false},
                {"Delete", Qt::Key_Delete, false, false},
                {"Escape", Qt::Key_Escape, false, true}};
    forEachRow(rows, [](const auto &row) {
        ClipRig rig;
        ClipGrid &grid = rig.items.grid();
        grid.set(0, 0, vgfx::ClipDot);  // copied
        grid.set(21, 1, vgfx::ClipDot); // under the paste
        bool open = false;
        rig.whenOpen([&](QDialog &d) {
            select(d, DotRect{0, 0, 1, 1});
            trigger(d, "Copy1");
            select(d, DotRect{20, 0, 21, 1});
            trigger(d, "Paste1");
            QTest::keyClick(child<QComboBox>(d, "MaxTextHeight"), row.key);
            open = d.isVisible();
        });
        rig.items.open();
        QVERIFY(open);
        QCOMPARE(grid.isDot(20, 0), row.pastedStays);
        QCOMPARE(grid.isDot(21, 1), row.underComesBack);
    });
}

QTEST_MAIN(TestClipboardImport)
#include "tst_clipboard_import.moc"
