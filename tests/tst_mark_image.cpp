#include "link/mark_image.h"
#include "support/table_rows.h"
#include "support/wire_bytes.h"
#include "vprinter/mark_render.h"

#include <QElapsedTimer>
#include <QTest>

using namespace vlink;

namespace
{

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

class TestMarkImage : public QObject
{
    Q_OBJECT

private slots:
    void replies();
    void silentPrinter();
    void rendering();
};

void TestMarkImage::replies()
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

void TestMarkImage::silentPrinter()
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

void TestMarkImage::rendering()
{
    using vp::MarkFragment;
    const MarkFragment text{"I", 0}, dash{"-", 0}, tall{"I", 3}, wide{QByteArray(38, 'W'), 12};
    const MarkFragment graphic{{}, 16, MarkFragment::TextOrGraphic, 9};
    const MarkFragment freeLogo{{}, 16, MarkFragment::TextOrGraphic, 10};
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
        {"cut to the store at the right",
         {{11, wide}, {12, wide}, {13, wide}, {14, wide}, {15, wide}, {16, wide}},
         1,
         5120,
         0,
         0,
         0x7F},
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

QTEST_GUILESS_MAIN(TestMarkImage)
#include "tst_mark_image.moc"
