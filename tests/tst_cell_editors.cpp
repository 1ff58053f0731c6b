#include "support/editor_rig.h"
#include "support/table_rows.h"
#include "support/wire_bytes.h"

#include "link/machine_commands.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

using vui::Message;
using Shown = PromptRecorder::ShownList;

namespace
{

const QByteArray fontFrame = bytes({0x1B, '1', '1', '1', 0x0D});
const QByteArray formatFrame = bytes({0x1A, '1', '1', 'd', 'd', 0x0D});

} // namespace

class TestCellEditors : public QObject
{
    Q_OBJECT

private slots:
    void kindVariants();
    void counterWrites();
    void counterDirectionFollowsTheCellAndCounts();
    void typedClock();
    void computerClockTimeFirst();
    void postDateWrites();
};

// How a graphic is told and which font it shows differ by editor and arrow.
void TestCellEditors::kindVariants()
{
    const struct {
        const char *name;
        int editor; // 0 counter, 1 time and date, 2 post date
        const char *arrow;
        vp::MarkFragment cell; // at (1, 2), or (2, 1) for the row arrows
        const char *shown;
        const char *font;
    } rows[] = {
        {"counter: its value", 0, "ColUp", {"0042", 3, 0x05, 0}, "0042", "3"},
        {"counter: graphic keeps the font", 0, "ColUp", {{}, 16, 0xFF, 0}, "Graphic fragment", "0"},
        {"time: 7 is a graphic", 1, "ColUp", {{}, 7, 0xFF, 0}, "Graphic fragment", "7"},
        {"time: row arrow goes to font 1", 1, "RowUp", {{}, 13, 0xFF, 0}, "Graphic fragment", "1"},
        {"post date: column up tells by F", 2, "ColUp", {{}, 7, 0xFF, 0}, "Text fragment", "7"},
        {"post date: row up by the bounds", 2, "RowUp", {{}, 7, 0xFF, 0}, "Graphic fragment", "7"},
    };
    forEachRow(rows, [](const auto &row) {
        EditorRig rig;
        const bool rowArrow = QByteArray(row.arrow) == "RowUp";
        rig.cell(rowArrow ? 2 : 1, rowArrow ? 1 : 2) = row.cell;
        if (row.editor == 0)
            rig.open(rig.parts.counterForm());
        else if (row.editor == 1)
            rig.open(rig.parts.timeForm());
        else
            rig.open(rig.parts.postDateForm());
        rig.click(row.arrow);
        QLineEdit *edit = rig.edit(row.editor == 0 ? "DayQuant" : "DateFormat");
        const bool own = !QByteArray(row.shown).endsWith(" fragment");
        QCOMPARE(edit->text(), QString::fromLatin1(row.shown));
        QCOMPARE(edit->isEnabled(), own);
        QCOMPARE(child<QCheckBox>(*rig.form, "Ch_")->isHidden(), own);
        QCOMPARE(rig.edit("EFontSize")->text(), QString::fromLatin1(row.font));
    });
}

// Direction first, the counter, then the font whatever became of the counter.
void TestCellEditors::counterWrites()
{
    const QByteArray up = bytes({0x0C, 0x4E, 0x14});
    const QByteArray counter = bytes({0x19, '1', '1', '0', '0', '7', 0x0D});
    const Shown failed{errorShown("Counter Set Error")};
    const struct {
        const char *name;
        QString value;
        qint64 dropEchoAt; // the cell read is bytes 0..2
        QByteArray sent;
        Shown shown;
        int beeps;
    } rows[] = {
        {"empty: nothing", "", -1, {}, {}, 0},
        {"sent", "007", -1, up + counter + fontFrame, {okShown}, 0},
        {"failed set", "007", 9, up + counter.left(4) + fontFrame, failed, 0},
        {"outside the code page", QStringLiteral("7中"), -1, {}, {}, 1},
    };
    forEachRow(rows, [](const auto &row) {
        EditorRig rig;
        rig.cell(1, 1) = {"1", 1, 0x06, 0};
        rig.open(rig.parts.counterForm());
        rig.sent();
        rig.device.faults().dropEchoAt = row.dropEchoAt;
        if (row.dropEchoAt >= 0)
            rig.port.expectProtocolErrors(-1);
        rig.type("DayQuant", row.value);
        rig.click("BtWriteText");
        QCOMPARE(rig.sent().toHex(' '), row.sent.toHex(' '));
        QCOMPARE(rig.prompts.messages, row.shown);
        QCOMPARE(rig.prompts.beeps, row.beeps);
        QCOMPARE(rig.mainWindow.received,
                 QList<Message>(row.dropEchoAt >= 0 ? 1 : 0, Message::ReadError));
    });
}

// The printer counts each mark printed from the value the editor set.
void TestCellEditors::counterDirectionFollowsTheCellAndCounts()
{
    EditorRig rig;
    rig.cell(1, 1) = {"0010", 1, 0x05, 0};
    rig.open(rig.parts.counterForm());
    QVERIFY(child<QRadioButton>(*rig.form, "BDown")->isChecked());
    rig.click("ColUp");
    QVERIFY(child<QRadioButton>(*rig.form, "BUp")->isChecked());
    rig.click("Ch_");
    rig.type("DayQuant", "0999");
    rig.click("BtWriteText");
    for (int i = 0; i < 3; ++i) // start, then two print starts
        QVERIFY(vlink::PrintStart(rig.port));
    QCOMPARE(rig.cell(1, 1).text, QByteArray("0008"));
    QCOMPARE(rig.cell(1, 2).text, QByteArray("1001"));
}

void TestCellEditors::typedClock()
{
    const QByteArray dateHead = bytes({0x1A, 0x44});
    const QByteArray timeHead = bytes({0x1A, 0x54});
    const struct {
        const char *name;
        QStringList fields;  // day, month, year, hour, minute, second
        const char *refused; // the field with the focus, or nullptr
        QByteArray clock;
    } rows[] = {
        {"24 hours, blanks, one digit",
         {" 5 ", "2", "24", "24", "0", "7"},
         nullptr,
         dateHead + "050224\r" + timeHead + "240007\r"},
        {"day 0", {"0", "1", "24", "1", "1", "1"}, "EDay", {}},
        {"day 32", {"32", "1", "24", "1", "1", "1"}, "EDay", {}},
        {"30 February", {"30", "2", "24", "1", "1", "1"}, "EDay", {}},
        {"29 February", {"29", "2", "23", "1", "1", "1"}, "EDay", {}},
    };
    const char *names[] = {"EDay", "EMonth", "EYear", "EHour", "EMin", "ESec"};
    forEachRow(rows, [&](const auto &row) {
        EditorRig rig;
        rig.cell(1, 1) = {"x", 1, 0x00, 0};
        rig.open(rig.parts.timeForm());
        rig.sent();
        rig.type("DateFormat", "dd");
        for (int i = 0; i < 6; ++i)
            rig.type(names[i], row.fields[i]);
        rig.click("BtWriteText");
        // The format stays in the printer when a field is refused.
        QCOMPARE(rig.sent(), formatFrame + row.clock + (row.refused ? "" : fontFrame));
        QCOMPARE(rig.prompts.beeps, row.refused ? 1 : 0);
        if (row.refused)
            QVERIFY(rig.focused(row.refused));
        QCOMPARE(rig.prompts.messages, row.refused ? Shown{} : Shown{okShown});
    });

    EditorRig rig; // a format the printer did not take: no clock value goes out
    rig.cell(1, 1) = {"x", 1, 0x00, 0};
    rig.open(rig.parts.timeForm());
    rig.sent();
    rig.device.faults().dropEchoAt = 5;
    rig.port.expectProtocolErrors(-1);
    rig.type("DateFormat", "dd");
    rig.click("BtWriteText");
    QCOMPARE(rig.sent(), formatFrame.left(2));
    QCOMPARE(rig.prompts.messages, Shown{errorShown("Time Format Set Error")});
}

// The computer's clock fills the fields and, confirmed, goes out time first.
void TestCellEditors::computerClockTimeFirst()
{
    EditorRig rig;
    rig.parts.state.clock.fix(QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7)));
    rig.cell(1, 1) = {"x", 1, 0x00, 0};
    rig.open(rig.parts.timeForm());
    rig.sent();
    rig.click("SetSystemDateTime");
    QCOMPARE(rig.edit("EDay")->text() + rig.edit("EYear")->text() + rig.edit("ESec")->text(),
             QStringLiteral("042607"));
    rig.click("BtWriteText"); // answered No
    rig.prompts.answer(true);
    rig.click("BtWriteText");
    QCOMPARE(rig.sent(), bytes({0x1A, 0x54}) + "050607\r" + bytes({0x1A, 0x44}) + "040326\r");
    QCOMPARE(rig.prompts.messages, Shown{okShown});
}

void TestCellEditors::postDateWrites()
{
    const QByteArray formatFrame = bytes({0x1D, '1', '1', 'd', 'd', 0x0D});
    const QByteArray days = bytes({0x1D, 0x44}) + "0007\r";
    const Shown fontFailed{okShown, errorShown("Font Set Error")};
    const struct {
        const char *name;
        bool depotOnly;
        QString days;
        qint64 dropEchoAt;
        QByteArray sent;
        Shown shown;
    } rows[] = {
        {"four digits", false, "7", -1, formatFrame + days + fontFrame, {okShown}},
        {"five digits", false, "12345", -1, {}, {}},
        {"not a number", false, "abc", -1, {}, {}},
        {"empty", false, "", -1, {}, {}},
        {"empty without a printer: format alone", true, "", -1, formatFrame + fontFrame, {okShown}},
        {"Ok before a failed font set", true, "7", 13, formatFrame + days + fontFrame.left(1),
         fontFailed},
    };
    forEachRow(rows, [&](const auto &row) {
        EditorRig rig;
        rig.line.depotOnly = row.depotOnly;
        rig.device.printer().postDateDays = 300;
        rig.cell(1, 1) = {"x", 1, 0x02, 0};
        rig.open(rig.parts.postDateForm());
        QCOMPARE(rig.edit("DayQuant")->text(), QString::fromLatin1(row.depotOnly ? "" : "300"));
        rig.sent();
        rig.device.faults().dropEchoAt = row.dropEchoAt;
        if (row.dropEchoAt >= 0)
            rig.port.expectProtocolErrors(-1);
        rig.type("DayQuant", row.days);
        rig.type("DateFormat", "dd");
        rig.click("BtWriteText");
        QCOMPARE(rig.sent().toHex(' '), row.sent.toHex(' '));
        QCOMPARE(rig.prompts.messages, row.shown);
        if (row.sent.isEmpty())
            QVERIFY(rig.focused("DayQuant"));
    });
}

QTEST_MAIN(TestCellEditors)
#include "tst_cell_editors.moc"
