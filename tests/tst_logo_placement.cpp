#include "compose/logo_to_mark_form.h"
#include "graphics/model/logo_bmp.h"
#include "link/depot_commands.h"
#include "link/mark_commands.h"
#include "shell/placement_flow.h"
#include "support/logo_rig.h"
#include "support/table_rows.h"
#include "support/wire_bytes.h"

#include <QCheckBox>
#include <QLabel>
#include <QTest>

using vgfx::LogoStore;
using vui::Message;

using PlacementRig = FlowRig<vshell::PlacementFlow>;

class TestLogoPlacement : public QObject
{
    Q_OBJECT

private slots:
    void pasteOverwritesOnlyAGraphicWithoutChange();
    void pasteAfterAnArrowGuardsTheCellItLandsOn_data();
    void pasteAfterAnArrowGuardsTheCellItLandsOn();
    void numberBoxRefusesTextAndForcesTheRange();
    void cellArrowsStayOnTheGridAndProbeTheNewCell();
    void viewerCopiesTheShownLogoUnderTheNameInItsField();
    void clearDeletesTheLogoShown();
    void printerViewerForgetsTheDepot_data();
    void printerViewerForgetsTheDepot();
};

void TestLogoPlacement::pasteOverwritesOnlyAGraphicWithoutChange()
{
    const struct {
        const char *name;
        bool graphic;
        PromptRecorder::Shown shown;
        int beeps;
        int logoInCell;
    } rows[] = {
        {"text refused", false, errorShown("Select \"Change\" mode, if you want LogoToMark insert"),
         1, -1},
        {"graphic overwritten", true, okShown, 0, 7},
    };
    forEachRow(rows, [](const auto &row) {
        PlacementRig rig;
        rig.logos.placementRow = 2;
        rig.logos.placementColumn = 3;
        if (row.graphic)
            QVERIFY(vlink::MarkLoad(rig.port, 9, 3, 2));
        else
            QVERIFY(vlink::TextFragmentWrite(rig.port, 2, 3, "AB"));
        rig.whenOpen(typeNumber("7", "BtPaste"));
        rig.items.paste(LogoStore::Printer);
        QCOMPARE(rig.prompts.messages.count(row.shown), 1);
        QCOMPARE(rig.prompts.beeps, row.beeps);
        const vp::MarkFragment *cell = rig.device.mark().cell(2, 3);
        if (row.logoInCell < 0)
            QCOMPARE(cell->text, QByteArray("AB"));
        else
            QCOMPARE(int(cell->logo), row.logoInCell);
    });
}

void TestLogoPlacement::pasteAfterAnArrowGuardsTheCellItLandsOn_data()
{
    QTest::addColumn<bool>("fromGraphic"); // else text, with "Change" ticked
    QTest::addColumn<bool>("silent");      // the cell the arrow lands on does not answer
    QTest::addColumn<QString>("kind");     // the kind field then
    QTest::newRow("graphic, then text") << true << false << "Text fragment";
    QTest::newRow("graphic, then no answer") << true << true << "";
    QTest::newRow("text ticked, then text") << false << false << "Text fragment";
}

// "Change" speaks only for the cell it was found on: the one the arrow lands on holds a text
// that a Paste without "Change" leaves alone.
void TestLogoPlacement::pasteAfterAnArrowGuardsTheCellItLandsOn()
{
    QFETCH(bool, fromGraphic);
    QFETCH(bool, silent);
    QFETCH(QString, kind);
    PlacementRig rig;
    rig.logos.placementRow = 2;
    rig.logos.placementColumn = 3;
    QVERIFY(fromGraphic ? vlink::MarkLoad(rig.port, 9, 3, 2)
                        : vlink::TextFragmentWrite(rig.port, 2, 3, "AB"));
    QVERIFY(vlink::TextFragmentWrite(rig.port, 2, 4, "CD"));
    rig.port.expectProtocolErrors(silent ? -1 : 0);
    QString shownKind;
    rig.whenOpen([&](QDialog &d) {
        if (!fromGraphic)
            child<QCheckBox>(d, "CBChange")->setChecked(true);
        rig.device.faults().silent = silent;
        click(d, "ColumnUp");
        rig.device.faults().silent = false;
        shownKind = child<QLineEdit>(d, "FragmentKind")->text();
        typeNumber("7", "BtPaste")(d);
    });
    rig.items.paste(LogoStore::Printer);
    QCOMPARE(shownKind, kind);
    QCOMPARE(rig.prompts.messages.count(
                 errorShown("Select \"Change\" mode, if you want LogoToMark insert")),
             1);
    QCOMPARE(rig.device.mark().cell(2, 4)->text, QByteArray("CD"));
}

// Text is refused and a number beyond the store is forced into it. The logo read is shown by the
// viewer opened again on it; the Depot's by the Depot's viewer.
void TestLogoPlacement::numberBoxRefusesTextAndForcesTheRange()
{
    const struct {
        const char *name;
        bool depot;
        QString typed; // empty: the up arrow
        int beeps;
        QByteArray viewSent; // empty: nothing read
    } rows[] = {
        {"not a number", false, "abc", 1, {}},
        {"above the store", false, "300", 0, bytes({0x07, 0x00, 0xFF})},
        {"negative", false, "-3", 0, bytes({0x07, 0x00, 0x00})},
        {"depot, the up arrow", true, {}, 0, bytes({0x12, 0x23, 0x52, 0x05})},
    };
    forEachRow(rows, [](const auto &row) {
        PlacementRig rig;
        rig.logos.placementLogo = 4;
        rig.whenOpen([&row, &rig](QDialog &d) {
            rig.port.clearWritten();
            child<QLineEdit>(d, "LogoNumEdit")->setText(row.typed.isEmpty() ? "4" : row.typed);
            click(d, row.typed.isEmpty() ? "LogoNumUp" : "BtShow");
        });
        QString reopenedWith;
        rig.whenOpen([&reopenedWith](QDialog &d) {
            reopenedWith = child<QLineEdit>(d, "LogoNumEdit")->text();
        });
        row.depot ? rig.items.depotRead() : rig.items.open({LogoStore::Printer, true});
        QCOMPARE(rig.prompts.beeps, row.beeps);
        QCOMPARE(rig.port.written().left(int(row.viewSent.size())), row.viewSent);
        QCOMPARE(rig.logos.depotSource, row.depot);
        const QString viewer = row.depot ? "TDPLogoToMarkFormSmall" : "TLogoToMarkFormSmall";
        QCOMPARE(rig.driver.openedModal, QStringList(row.viewSent.isEmpty() ? 1 : 2, viewer));
        if (!row.viewSent.isEmpty())
            QCOMPARE(reopenedWith, QString::number(quint8(row.viewSent.back())));
    });
}

// The arrows stay on the grid and probe the new cell, "Change" ticked or not. A cell that does not
// answer is tried fifty less its column times.
void TestLogoPlacement::cellArrowsStayOnTheGridAndProbeTheNewCell()
{
    const struct {
        const char *name;
        const char *button; // nullptr: none
        bool change;
        int row, column;        // as the form opens
        int afterRow, afterCol; // the cell remembered after the arrow
        int tries = 0;          // of a silent device
    } rows[] = {
        {"column stops at 8", "ColumnUp", false, 2, 8, 2, 8},
        {"row stops at 1", "RowDown", false, 1, 5, 1, 5},
        {"row up", "RowUp", false, 3, 5, 4, 5},
        {"with Change the new cell is probed too", "ColumnDown", true, 3, 5, 3, 4},
        {"silent, column 8", nullptr, false, 2, 8, 2, 8, 42},
        {"silent, column 1", nullptr, false, 2, 1, 2, 1, 49},
    };
    forEachRow(rows, [](const auto &row) {
        PlacementRig rig;
        rig.logos.placementRow = row.row;
        rig.logos.placementColumn = row.column;
        rig.device.faults().silent = row.tries > 0;
        rig.whenOpen([&row, &rig](QDialog &d) {
            child<QCheckBox>(d, "CBChange")->setChecked(row.change);
            if (row.button) {
                rig.port.clearWritten();
                click(d, row.button);
            }
        });
        rig.items.open({LogoStore::Printer, false});
        QCOMPARE(rig.logos.placementRow, row.afterRow);
        QCOMPARE(rig.logos.placementColumn, row.afterCol);
        if (row.tries) {
            QCOMPARE(int(rig.port.written().count(char(vlink::MarkOp::FragmentRead))), row.tries);
            QCOMPARE(rig.prompts.messages.count(errorShown("TextFragmentRead Error")), 1);
            return;
        }
        QCOMPARE(rig.port.written().left(3), cellReadRequest(row.afterRow, row.afterCol));
    });
}

// The copy reads nothing again: it is the logo shown, handed to the store's load dialog as
// tmp1.bmp, which writes it under the number chosen there. A rename in the Depot's viewer writes
// the logo again under its number, at once, and the main window closes the load dialog.
void TestLogoPlacement::viewerCopiesTheShownLogoUnderTheNameInItsField()
{
    const struct {
        const char *name;
        const char *button;
        LogoStore source, target;
        const char *loadDialog; // nullptr: a file is written instead
        int number;             // where the copy lands
    } rows[] = {
        {"to a file", "BtSaveToFile", LogoStore::Printer, LogoStore::Printer, nullptr, 7},
        {"to the printer", "BtSaveToPrinter", LogoStore::Printer, LogoStore::Printer,
         "TLogoReadWriteForm", 7},
        {"to the depot", "BtSaveToDepot", LogoStore::Printer, LogoStore::Depot,
         "TDPLogoReadWriteForm", 7},
        {"renamed in the depot", "BtRename", LogoStore::Depot, LogoStore::Depot,
         "TDPLogoReadWriteForm", 5},
    };
    forEachRow(rows, [](const auto &row) {
        PlacementRig rig;
        rig.stored(row.source, 5) = logoRecord("LOGO5");
        QVERIFY(row.source == LogoStore::Depot
                    ? vlink::DPLogoView(rig.port, 5, rig.logos.logo)
                    : vlink::PrinterLogoView(rig.port, 5, rig.logos.logo));
        rig.logos.placementLogo = 5;
        rig.prompts.chooseFiles({rig.file("copy")});
        rig.whenOpen([&row](QDialog &d) {
            child<QLineEdit>(d, "LogoName")->setText(QStringLiteral("NEWNAME"));
            click(d, row.button);
        });
        row.number == 5 ? rig.leaveOpen() : rig.whenOpen(typeNumber("7"));
        rig.items.open({row.source, true});
        if (!row.loadDialog) {
            vlink::LogoBuffer saved;
            QCOMPARE(vgfx::convertBmpToLogo(rig.file("copy.bmp"), saved), vgfx::BmpLoad::Loaded);
            QCOMPARE(saved.width, 2);
            return;
        }
        QTRY_COMPARE(rig.driver.openedModal.value(1), QString::fromLatin1(row.loadDialog));
        QCOMPARE(rig.stored(row.target, row.number), logoRecord("NEWNAME"));
        QCOMPARE(rig.prompts.messages.count(okShown), 1);
    });
}

// A delete closes the viewer. The printer's opens again on the blank logo; the Depot's has nothing
// to show. A library listing the store gets its names again.
void TestLogoPlacement::clearDeletesTheLogoShown()
{
    const struct {
        const char *name;
        LogoStore store;
        bool depotListed;
    } rows[] = {{"printer, the library lists the printer", LogoStore::Printer, false},
                {"printer, the library lists the depot", LogoStore::Printer, true},
                {"depot, the library lists the depot", LogoStore::Depot, true},
                {"depot, the library lists the printer", LogoStore::Depot, false}};
    forEachRow(rows, [](const auto &row) {
        const bool depot = row.store == LogoStore::Depot;
        PlacementRig rig;
        rig.stored(row.store, 5) = logoRecord("LOGO5");
        QVERIFY(depot ? vlink::DPLogoView(rig.port, 5, rig.logos.logo)
                      : vlink::PrinterLogoView(rig.port, 5, rig.logos.logo));
        rig.logos.placementLogo = 5;
        rig.logos.depotView = row.depotListed;
        QList<vlink::LogoNames> lists;
        rig.flow.setLibraryRefresh([&](const vlink::LogoNames &names) { lists.append(names); });
        rig.prompts.answer(true);
        bool closed = false;
        rig.whenOpen([&closed](QDialog &d) {
            click(d, "BtClear");
            closed = !d.isVisible();
        });
        QString size;
        rig.whenOpen([&size](QDialog &d) { size = child<QLabel>(d, "LSize")->text(); });
        rig.items.open({row.store, true});
        QVERIFY(closed);
        QCOMPARE(rig.prompts.questions.size(), 1);
        QCOMPARE(rig.prompts.messages.count(okShown), 1);
        QVERIFY(rig.stored(LogoStore::Depot, 5).isEmpty() &&
                rig.stored(LogoStore::Printer, 5).isEmpty());
        const QString form = depot ? "TDPLogoToMarkFormSmall" : "TLogoToMarkFormSmall";
        QCOMPARE(rig.driver.openedModal, QStringList(depot ? 1 : 2, form));
        QCOMPARE(size, depot ? QString() : QStringLiteral("Col:1*Row:4"));
        QCOMPARE(lists.size(), row.depotListed == depot ? 1 : 0);
    });
}

void TestLogoPlacement::printerViewerForgetsTheDepot_data()
{
    QTest::addColumn<bool>("library");
    QTest::newRow("opened from the library") << true;
    QTest::newRow("opened again by a printer viewer") << false;
}

// After a Depot viewer the printer's viewer still names itself and its logo from the printer.
void TestLogoPlacement::printerViewerForgetsTheDepot()
{
    QFETCH(bool, library);
    PlacementRig rig;
    rig.stored(LogoStore::Printer, 5) = logoRecord("LOGO5");
    rig.whenOpen([](QDialog &) {});
    rig.items.depotRead();
    QVERIFY(rig.logos.depotSource);
    rig.port.clearWritten();
    rig.logos.placementLogo = 5;
    QString caption, name;
    rig.whenOpen([&](QDialog &d) {
        caption = d.windowTitle();
        name = child<QLineEdit>(d, "LogoName")->text();
    });
    library ? rig.items.openFromLibrary(LogoStore::Printer, 5)
            : void(rig.items.dispatch(Message::LogoReadOKSmallnotDP));
    QCOMPARE(caption, QStringLiteral("PrinterLogoToMark"));
    QCOMPARE(name, QStringLiteral("LOGO5"));
    QVERIFY(!rig.port.written().contains(bytes({0x12, 0x23, 0x4E, 0x30})));
}

QTEST_MAIN(TestLogoPlacement)
#include "tst_logo_placement.moc"
