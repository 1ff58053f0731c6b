#include "support/editor_rig.h"
#include "support/table_rows.h"
#include "support/test_widgets.h"
#include "support/wire_bytes.h"

#include <QCheckBox>
#include <QTest>

using vcompose::TOKHelpRightDlg;
using vui::Message;
using Shown = PromptRecorder::ShownList;

namespace
{

QByteArray writeFrames(int row, int column, const QByteArray &text, int font)
{
    return bytes({0x18, 0x30 + row, 0x30 + column}) + text +
           bytes({0x0D, 0x1B, 0x30 + row, 0x30 + column, 0x30 + font, 0x0D});
}

} // namespace

class TestTextFragmentEditor : public QObject
{
    Q_OBJECT

private slots:
    void navigationRereadsInTheMarkCancelSendsNothing();
    void kindDisplay();
    void textLengthRules();
    void nonTextCellNeedsChange();
    void depotOnlyModeReadsNothing();
    void changedTextAsksBeforeLeaving();
    void fontUpAsksThePrinterForF();
    void readTriedTenTimesThenEndsProgram();
    void failedWriteOrFontSet();
};

void TestTextFragmentEditor::navigationRereadsInTheMarkCancelSendsNothing()
{
    EditorRig rig;
    TOKHelpRightDlg &editor = rig.open();
    QCOMPARE(editor.windowTitle(), QStringLiteral("TextFragmentReadWrite"));
    QCOMPARE(rig.sent(), cellReadRequest(1, 1));
    rig.click("RowUp", 4);
    rig.click("ColDown");
    QCOMPARE(rig.sent(),
             cellReadRequest(2, 1) + cellReadRequest(3, 1) + cellReadRequest(4, 1).repeated(3));
    rig.click("ColUp", 8);
    rig.click("RowDown", 4);
    QCOMPARE(rig.sent().right(18), cellReadRequest(4, 8).repeated(2) + cellReadRequest(3, 8) +
                                       cellReadRequest(2, 8) + cellReadRequest(1, 8).repeated(2));
    // A new showing and the tool button's read on a shown editor read the cell it was left on.
    editor.hide();
    editor.show();
    editor.readCurrentCell();
    QCOMPARE(rig.sent(), cellReadRequest(1, 8).repeated(2));
    rig.edit("Fragtext")->setText("unsaved");
    rig.click("CancelBtn");
    QVERIFY(editor.isHidden());
    QCOMPARE(rig.sent(), QByteArray());
    QVERIFY(rig.prompts.messages.isEmpty());
}

void TestTextFragmentEditor::kindDisplay()
{
    const struct {
        const char *name;
        int kind;
        int number;
        const char *shown;
        const char *font;
        QByteArray text = "abc";
    } rows[] = {
        {"text", 0xFF, 3, "abc", "3"},
        {"graphic shows F - 1", 0xFF, 16, "Graphic fragment", "15"},
        {"font past F reads as text", 0xFF, 20, "abc", "20"},
        {"counter down", 0x05, 4, "Counter fragment", "4"},
        {"counter up", 0x06, 2, "Counter fragment", "2"},
        {"time and date", 0x00, 1, "TimeDate fragment", "1"},
        {"post date", 0x02, 5, "PostDate fragment", "5"},
        {"special function", 0x07, 0, "SpecFunc fragment", "0"},
        {"unknown kind reads as text", 0x33, 6, "abc", "6"},
        {"text in the code page", 0xFF, 1, "№7", "1", bytes({0xB9, '7'})},
    };
    forEachRow(rows, [](const auto &row) {
        EditorRig rig;
        rig.line.fontCount = 16;
        rig.cell(1, 1) = {row.text, quint8(row.number), quint8(row.kind), 0};
        rig.open();
        const QString shown = QString::fromUtf8(row.shown);
        const bool text = !shown.endsWith(QLatin1String(" fragment"));
        QCOMPARE(rig.edit("Fragtext")->text(), shown);
        QCOMPARE(rig.edit("Fragtext")->isEnabled(), text);
        QCOMPARE(child<QCheckBox>(*rig.form, "Ch_")->isHidden(), text);
        QVERIFY(!child<QCheckBox>(*rig.form, "Ch_")->isChecked());
        QCOMPARE(rig.edit("EFontSize")->text(), QString::fromLatin1(row.font));
    });
}

// A key released over 38 characters beeps; Ok then refuses 39 but lets 38 pass with a blank at
// either end, untrimmed. A refused text still has its font set.
void TestTextFragmentEditor::textLengthRules()
{
    const QString x37(37, 'x');
    const auto frames = [](const QString &text) { return writeFrames(1, 1, text.toLatin1(), 0); };
    const QByteArray fontSet = bytes({0x1B, '1', '1', '0', 0x0D});
    const struct {
        const char *name;
        QString text;
        QByteArray wire;
        const char *error; // nullptr: "Ok"
        int beeps;
    } rows[] = {
        {"38 with a leading blank goes out untrimmed", " " + x37, frames(" " + x37), nullptr, 0},
        {"38 with a trailing blank", x37 + " ", frames(x37 + " "), nullptr, 0},
        {"38 non-blank", x37 + "y", fontSet, "Maximum Fragment Length=37", 0},
        {"39: beeps, nothing sent", " " + x37 + " ", {}, "Fragment text length <=37 symbols", 2},
    };
    forEachRow(rows, [](const auto &row) {
        EditorRig rig;
        rig.open();
        rig.sent();
        rig.edit("Fragtext")->setText(row.text);
        QTest::keyRelease(rig.edit("Fragtext"), Qt::Key_X);
        rig.click("BtWriteText");
        QCOMPARE(rig.sent().toHex(' '), row.wire.toHex(' '));
        QCOMPARE(rig.prompts.messages, Shown{row.error ? errorShown(row.error) : okShown});
        QCOMPARE(rig.prompts.beeps, row.beeps);
        QVERIFY(rig.mainWindow.received.isEmpty());
    });
}

void TestTextFragmentEditor::nonTextCellNeedsChange()
{
    EditorRig rig;
    rig.cell(1, 1) = {{}, 16, 0xFF, 9};
    rig.open();
    rig.sent();
    rig.click("BtWriteText");
    QCOMPARE(rig.sent(), QByteArray());
    QCOMPARE(rig.prompts.messages,
             Shown{errorShown("Select \"Change\" mode, if you want Text insert")});
    QCOMPARE(rig.prompts.beeps, 1);

    rig.click("Ch_");
    QCOMPARE(rig.edit("Fragtext")->text(), QString());
    rig.edit("Fragtext")->setText("new");
    rig.click("BtWriteText");
    QCOMPARE(rig.sent(), writeFrames(1, 1, "new", 15));
    QCOMPARE(rig.cell(1, 1), (vp::MarkFragment{"new", 15, 0xFF, 0}));
    rig.click("Ch_"); // unticked, the edit is locked again
    QVERIFY(!rig.edit("Fragtext")->isEnabled());
}

// No cell is read, so the edit stays empty and leaving asks nothing; F is 16. Ok, or Enter in the
// edit, still writes, in the code page.
void TestTextFragmentEditor::depotOnlyModeReadsNothing()
{
    EditorRig rig;
    rig.line.depotOnly = true;
    rig.line.fontCount = 7;
    rig.cell(1, 1) = {"there", 2, 0xFF, 0};
    rig.open();
    rig.click("RowUp");
    QCOMPARE(rig.edit("Fragtext")->text(), QString());
    rig.click("FontUp", 20);
    QCOMPARE(rig.edit("EFontSize")->text(), QStringLiteral("15"));
    QCOMPARE(rig.sent(), QByteArray());
    rig.edit("Fragtext")->setText(QStringLiteral("Ёж中"));
    QTest::keyClick(rig.edit("Fragtext"), Qt::Key_Return); // Enter is Ok
    QCOMPARE(rig.sent(), writeFrames(2, 1, bytes({0xA8, 0xE6, '?'}), 15));
    QCOMPARE(rig.prompts.messages, Shown{okShown});
    rig.edit("Fragtext")->setText("other");
    rig.click("ColUp");
    QVERIFY(rig.prompts.questions.isEmpty());
}

void TestTextFragmentEditor::changedTextAsksBeforeLeaving()
{
    const struct {
        const char *name;
        int kind;
        const char *typed; // nullptr: the edit is left as read
        bool yes;
        bool asked;
        QByteArray written;
    } rows[] = {
        {"edited, Yes", 0xFF, "abd", true, true, writeFrames(1, 1, "abd", 2)},
        {"edited, No", 0xFF, "abd", false, true, {}},
        {"case counts", 0xFF, "ABC", false, true, {}},
        {"unchanged", 0xFF, "abc", true, false, {}},
        {"kind label left alone", 0x06, nullptr, true, false, {}},
    };
    forEachRow(rows, [](const auto &row) {
        EditorRig rig;
        rig.cell(1, 1) = {"abc", 2, quint8(row.kind), 0};
        rig.open();
        rig.sent();
        if (row.typed)
            rig.edit("Fragtext")->setText(QString::fromLatin1(row.typed));
        rig.prompts.answer(row.yes);
        rig.click("ColUp");
        const Shown question{{"Text was changed. Save?", vui::CaptionConfirm}};
        QCOMPARE(rig.prompts.questions, row.asked ? question : Shown{});
        QCOMPARE(rig.sent().toHex(' '), (row.written + cellReadRequest(1, 2)).toHex(' '));
        // Leaving the new cell asks nothing: the flag went with the old one.
        rig.click("ColDown");
        QCOMPARE(rig.prompts.questions.size(), row.asked ? 1 : 0);
    });
}

// Up asks the printer for F on each click and stops at F - 1; a failed read keeps F. Down asks
// nothing and stops at 0.
void TestTextFragmentEditor::fontUpAsksThePrinterForF()
{
    EditorRig rig;
    rig.device.printer().fontCount = 8;
    rig.open();
    rig.sent();
    rig.click("FontUp", 10);
    QCOMPARE(rig.edit("EFontSize")->text(), QStringLiteral("7"));
    QCOMPARE(rig.sent(), QByteArray(10, 0x08));
    rig.device.faults().silent = true;
    rig.click("FontUp");
    QCOMPARE(rig.line.fontCount, quint8(8));
    rig.sent();
    rig.click("FontDown", 10);
    QCOMPARE(rig.edit("EFontSize")->text(), QStringLiteral("0"));
    QCOMPARE(rig.sent(), QByteArray());
}

void TestTextFragmentEditor::readTriedTenTimesThenEndsProgram()
{
    const struct {
        const char *name;
        int losses;
        bool fails;
    } rows[] = {{"nine lost, the tenth read succeeds", 9, false}, {"ten lost", 10, true}};
    forEachRow(rows, [](const auto &row) {
        EditorRig rig(row.losses);
        rig.cell(1, 1) = {{}, 4, 0xFF, 0};
        rig.open();
        QCOMPARE(rig.sent(), cellReadRequest(1, 1).repeated(10));
        const Shown shown{errorShown("TextFragmentRead Error")};
        QCOMPARE(rig.prompts.messages, row.fails ? shown : Shown{});
        QCOMPARE(rig.mainWindow.received, QList<Message>(row.fails ? 1 : 0, Message::ReadError));
        QCOMPARE(rig.edit("EFontSize")->text(), QString::fromLatin1(row.fails ? "1" : "4"));
    });
}

// A failed write ends the program, and the font is set all the same; a failed font set keeps the
// cell loaded, so leaving it still asks.
void TestTextFragmentEditor::failedWriteOrFontSet()
{
    const QByteArray frames = writeFrames(1, 1, "abd", 2);
    const struct {
        const char *name;
        int dropEchoAt; // the read is bytes 0..2, the write 3..9 with its text from 6
        QByteArray sent;
        Shown shown;
    } rows[] = {
        {"write", 6, frames.left(4) + frames.mid(7), {errorShown("TextFragmentWrite Error")}},
        {"font set", 10, frames.left(8), {okShown, errorShown("Font Set Error")}},
    };
    forEachRow(rows, [](const auto &row) {
        const bool writeFailed = row.shown.size() == 1;
        EditorRig rig;
        rig.cell(1, 1) = {"abc", 2, 0xFF, 0};
        rig.open();
        rig.sent();
        rig.device.faults().dropEchoAt = row.dropEchoAt;
        rig.edit("Fragtext")->setText("abd");
        rig.click("BtWriteText");
        QCOMPARE(rig.sent().toHex(' '), row.sent.toHex(' '));
        QCOMPARE(rig.prompts.messages, row.shown);
        QCOMPARE(rig.mainWindow.received, QList<Message>(writeFailed ? 1 : 0, Message::ReadError));
        rig.click("ColUp");
        QCOMPARE(rig.prompts.questions.size(), writeFailed ? 0 : 1);
    });
}

QTEST_MAIN(TestTextFragmentEditor)
#include "tst_text_fragment_editor.moc"
