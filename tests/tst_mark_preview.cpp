// The mark read: its reply on the line, the printer's rendering, and as the operator runs it (the
// progress window, the preview, its grid and "Read").

#include "link/mark_commands.h"
#include "link/mark_image.h"
#include "shell/mark_form.h"
#include "support/main_window_stand_in.h"
#include "support/station_fixture.h"
#include "support/station_parts.h"
#include "support/table_rows.h"
#include "support/test_widgets.h"
#include "support/wire_bytes.h"
#include "vprinter/mark_render.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QTest>

namespace
{

using Shown = PromptRecorder::Shown;

bool dark(const QImage &picture, int x, int y)
{
    return qGray(picture.pixel(x, y)) < 128;
}

QByteArray header(int rows, int width)
{
    return bytes({rows, width % 255, width / 255});
}

// A line where the printer's reply is the one given: it comes once the request was echoed.
struct ScriptedReply {
    explicit ScriptedReply(const QByteArray &reply) : device(vp::Kind::None), port(device)
    {
        port.onRead = [this, reply] {
            if (port.readAttempts() == 4)
                port.inject(reply);
        };
    }
    vp::Device device;
    MemoryPort port;
};

} // namespace

using namespace vlink;

class TestMarkPreview : public QObject
{
    Q_OBJECT

private slots:
    void composedMarkReadBack();
    void refusedReads();
    void drawnPixels();
    void replies();
    void silentPrinter();
    void rendering();
};

// Text through the editor, a logo placed beside it: the preview shows what the printer renders,
// and "Read" runs the whole cycle again.
void TestMarkPreview::composedMarkReadBack()
{
    StationFixture f;
    vp::Device &printer = f.addDevice(0);
    printer.logos().printer[9] = middleColumnLogo();
    f.startConnected();
    f.window().show();
    QVERIFY(QTest::qWaitForWindowActive(&f.window()));
    f.driver.whenOpen([](QDialog &editor) {
        child<QLineEdit>(editor, "Fragtext")->setText("IH");
        QTest::keyRelease(child<QLineEdit>(editor, "Fragtext"), Qt::Key_H);
        click(editor, "BtWriteText");
        editor.reject();
    });
    f.action("FragEdit1")->trigger();
    QVERIFY(vlink::MarkLoad(*f.port, 9, 2, 1));
    f.prompts.clear();

    f.driver.whenOpen([](QDialog &) {});
    f.action("TbMarkRead")->trigger();
    vshell::TMarkForm *preview = f.window().markPreview().preview();
    QCOMPARE(f.prompts.messages, PromptRecorder::ShownList{});
    QVERIFY(preview && preview->isVisible());
    QCOMPARE(child<QLabel>(*preview, "Label1")->text(), QStringLiteral("2*16"));

    const vp::MarkDots dots = vp::renderMark(printer.mark(), printer.printer(), printer.logos());
    const QImage &picture = preview->picture();
    QCOMPARE(picture.size(), QSize(16 * 4, 16 * 4));
    for (int c = 0; c < 16; ++c)
        for (int h = 0; h < 16; ++h)
            QCOMPARE(dark(picture, c * 4 + 2, (15 - h) * 4 + 2), bool(dots.columns[c] >> h & 1));
    // The text's "I" in the cell's font 0 stands 7 dots high, the logo's middle column 16.
    QVERIFY(dark(picture, 2 * 4, 9 * 4) && !dark(picture, 2 * 4, 8 * 4));
    QVERIFY(dark(picture, 14 * 4, 0) && dark(picture, 14 * 4, 63));

    f.driver.whenOpen([](QDialog &) {});
    click(*preview, "OKBtn");
    QTRY_VERIFY(f.window().markPreview().preview() != preview);
    QCOMPARE(f.driver.openedModal,
             QStringList({"TOKHelpRightDlg", "MarkProgreesForm", "MarkProgreesForm"}));
    QVERIFY(f.window().markPreview().preview()->isVisible());
}

void TestMarkPreview::refusedReads()
{
    const struct {
        const char *name;
        vp::MarkImageFault fault;
        bool silent;
        Shown shown;
        bool previewOpens;
    } rows[] = {
        {"clear mark", vp::MarkImageFault::None, false, {"Mark is Clear", "Information"}, true},
        {"five bands", vp::MarkImageFault::TallBands, false, {"Mark Read Error", "Error"}, false},
        {"over the store", vp::MarkImageFault::Oversized, false, {"Mark Read Error", "Error"}, 0},
        {"no echo", vp::MarkImageFault::None, true, {"Mark Read Error", "Error"}, false},
    };
    forEachRow(rows, [](const auto &row) {
        StationFixture f;
        vp::Device &printer = f.addDevice(0);
        f.startConnected();
        if (row.silent)
            f.port->expectProtocolErrors(-1);
        printer.faults().markImage = row.fault;
        printer.faults().silent = row.silent;
        f.driver.whenOpen([](QDialog &) {});
        f.action("MarkRead1")->trigger();
        QCOMPARE(f.prompts.messages, PromptRecorder::ShownList{row.shown});
        // The preview opens once the main window has its message.
        QCoreApplication::processEvents();
        QCOMPARE(bool(f.window().markPreview().preview()), row.previewOpens);
        QVERIFY(!f.state().mark.stampRead && !f.state().mark.readStart);
        QVERIFY(row.silent || printer.settled());
    });
}

// Column 0 has its top and bottom dots, column 1 none; then a mark four bands high.
void TestMarkPreview::drawnPixels()
{
    vp::Device device;
    MemoryPort port(device);
    PromptRecorder prompts;
    MainWindowStandIn mainWindow;
    StationParts parts(port, prompts, &mainWindow);
    vlink::MarkImage &image = parts.mark.markImage;
    image.rows = 1;
    image.width = 2;
    image.at(0, 0) = 0x81;
    image.at(1, 0) = 0x00;
    parts.mark.redraw = true;
    vshell::TMarkForm preview(parts.mark, prompts, &mainWindow);
    preview.show();
    const QImage plain = preview.picture();
    QCOMPARE(plain.size(), QSize(8, 32));
    QVERIFY(dark(plain, 1, 1) && dark(plain, 1, 30) && !dark(plain, 1, 5) && !dark(plain, 5, 1));

    click(preview, "DrawGrids_");
    QVERIFY(parts.mark.markGrid);
    const QImage grid = preview.picture();
    QVERIFY(dark(grid, 4, 10) && dark(grid, 6, 8) && dark(grid, 7, 0) && !dark(grid, 6, 10));
    click(preview, "DrawGrids_");
    QCOMPARE(prompts.messages, (PromptRecorder::ShownList{
                                   {"Grid will be deleted after Mark redraw", "Information"}}));
    QCOMPARE(preview.picture(), grid);

    image.rows = 4;
    image.width = 1;
    parts.mark.redraw = true;
    parts.mark.markGrid = true;
    vshell::TMarkForm tall(parts.mark, prompts, &mainWindow);
    tall.show();
    QVERIFY(child<QCheckBox>(tall, "DrawGrids_")->isChecked());
    QVERIFY(dark(tall.picture(), 2, 4));
    QCOMPARE(child<QLabel>(tall, "Image1")->height(), 128);
    QCOMPARE(child<QScrollArea>(tall, "Panel1")->height(), 128 + 32);
    QCOMPARE(child<QLabel>(tall, "Label1")->text(), QStringLiteral("4*1"));
}

void TestMarkPreview::replies()
{
    const QByteArray dots = QByteArray(271, char(0x7E));
    const struct {
        const char *name;
        QByteArray reply;
        bool ok;
        int rows, width;
        int reads;    // after the three echoes
        int repaints; // at least
    } rows[] = {
        {"clear", header(0, 0), true, 0, 0, 3, 0},
        // The window repaints before every filler byte.
        {"width high counts 255", header(1, 271) + dots + ff(5120 - 271), true, 1, 271, 5123, 4849},
        {"no filler, bar at 20", header(4, 1280) + ff(5120) + "\xAA", true, 4, 1280, 5123, 20},
        {"five bands consumed, refused", header(5, 200) + ff(5120), false, 0, 0, 5123, 0},
        {"over the store consumed, refused", header(4, 1300) + ff(5200), false, 0, 0, 5203, 0},
        {"cut short", header(1, 10) + ff(5), false, 1, 10, 9, 0},
    };
    // Both full reads move the bar through every step, forward only.
    QList<int> everyStep;
    for (int p = 1; p <= MarkImageBarSteps; ++p)
        everyStep.append(p);
    forEachRow(rows, [&](const auto &row) {
        ScriptedReply line(row.reply);
        MarkImage image;
        image.at(5120, 3) = 0x11;
        QList<int> bar;
        int repaints = 0;
        const bool ok =
            MarkImageRead(line.port, image, {[&](int p) { bar.append(p); }, [&] { ++repaints; }});
        QCOMPARE(ok, row.ok);
        QCOMPARE(line.port.written(), bytes({0x07, 0x08, 0x08}));
        QCOMPARE(image.rows, row.rows);
        QCOMPARE(image.width, row.width);
        QCOMPARE(line.port.readAttempts() - 3, row.reads);
        if (row.ok && !image.isClear())
            QCOMPARE(bar, everyStep);
        QVERIFY(image.at(5120, 3) == 0xFF);
        QCOMPARE_GE(repaints, row.repaints);
    });
    // The bytes are stored inverted, column by column from band 0.
    ScriptedReply line(header(2, 2) + bytes({0xFE, 0x7F, 0x00, 0xFF}) + ff(5116));
    MarkImage image;
    QVERIFY(MarkImageRead(line.port, image));
    QCOMPARE(QList<int>({image.at(0, 0), image.at(0, 1), image.at(1, 0), image.at(1, 1)}),
             QList<int>({0x01, 0x80, 0xFF, 0x00}));
}

void TestMarkPreview::silentPrinter()
{
    vp::Device device(vp::Kind::None);
    MemoryPort port(device);
    MarkImage image;
    image.rows = 3;
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!MarkImageRead(port, image));
    QCOMPARE_GE(clock.elapsed(), MarkImageRowsWaitMs);
    QCOMPARE_LT(clock.elapsed(), MarkImageRowsWaitMs + 400);
    QCOMPARE(image.rows, 3);
}

void TestMarkPreview::rendering()
{
    using vp::MarkFragment;
    const MarkFragment text{"I", 0}, dash{"-", 0}, tall{"I", 3}, wide{QByteArray(38, 'W'), 12};
    const MarkFragment graphic{{}, 16, MarkFragment::TextOrGraphic, 9};
    const MarkFragment freeLogo{{}, 16, MarkFragment::TextOrGraphic, 10};
    const std::vector<std::pair<int, MarkFragment>> sixWide{{11, wide}, {12, wide}, {13, wide},
                                                            {14, wide}, {15, wide}, {16, wide}};
    const struct {
        const char *name;
        std::vector<std::pair<int, MarkFragment>> cells; // row * 10 + column
        int bands, width;
        int column, band, dots; // one byte of the image
    } rows[] = {
        {"clear", {}, 0, 0, 0, 0, 0},
        {"a free logo prints nothing", {{11, freeLogo}}, 0, 0, 0, 0, 0},
        {"font 0 is 7 high", {{11, text}}, 1, 5, 2, 0, 0x7F},
        {"font 3 is 28 high", {{11, tall}}, 4, 5, 2, 3, 0x0F},
        {"cells side by side", {{11, text}, {13, graphic}}, 2, 10, 8, 1, 0xFF},
        {"rows stacked, row 1 on top", {{11, text}, {21, dash}}, 2, 5, 2, 0, 0x08},
        {"cut to 32 at the bottom", {{11, tall}, {21, tall}}, 4, 5, 2, 0, 0xF7},
        {"cut to the store at the right", sixWide, 1, 5120, 0, 0, 0x7F},
    };
    forEachRow(rows, [&](const auto &row) {
        vp::MarkState mark;
        vp::PrinterState printer;
        vp::LogoState logos;
        logos.printer[9] = middleColumnLogo();
        for (const auto &[at, f] : row.cells)
            *mark.cell(at / 10, at % 10) = f;
        const QByteArray reply = vp::markImageReply(vp::renderMark(mark, printer, logos));
        QCOMPARE(reply.left(3), header(row.bands, row.width));
        QCOMPARE(reply.size(), row.bands ? 3 + 5120 : 3);
        if (row.bands == 0)
            return;
        const int at = 3 + row.column * row.bands + row.band;
        QCOMPARE(quint8(0xFF - quint8(reply[at])), quint8(row.dots));
    });
    const QDateTime at(QDate(2026, 12, 6), QTime(7, 5, 9));
    QCOMPARE(vp::formatMoment("DD.MM.YY YYYY HH:XX:SS WW UUU-", at),
             QByteArray("06.12.26 2026 07:05:09 49 340-"));
}

QTEST_MAIN(TestMarkPreview)
#include "tst_mark_preview.moc"
