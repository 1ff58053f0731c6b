// The mark read as the operator runs it: the progress window, the preview, its grid and "Read".

#include "link/mark_commands.h"
#include "shell/mark_form.h"
#include "support/main_window_stand_in.h"
#include "support/station_fixture.h"
#include "support/station_parts.h"
#include "support/table_rows.h"
#include "support/test_widgets.h"
#include "support/wire_bytes.h"
#include "vprinter/mark_render.h"

#include <QCheckBox>
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

} // namespace

class TestMarkPreview : public QObject
{
    Q_OBJECT

private slots:
    void composedMarkReadBack();
    void refusedReads();
    void drawnPixels();
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

QTEST_MAIN(TestMarkPreview)
#include "tst_mark_preview.moc"
