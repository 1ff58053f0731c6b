#include "compose/auto_run_period_form.h"
#include "compose/mark_not_current_form.h"
#include "compose/script_read_form.h"
#include "compose/set_font_form.h"
#include "compose/spec_func_form.h"
#include "compose/spec_script.h"
#include "link/machine_commands.h"
#include "shell/auto_run_repeat.h"
#include "support/memory_port.h"
#include "support/prompt_recorder.h"
#include "support/station_fixture.h"
#include "support/station_parts.h"
#include "support/table_rows.h"
#include "support/test_widgets.h"
#include "support/wire_bytes.h"

#include <QLineEdit>
#include <QTest>

using Shown = PromptRecorder::ShownList;

namespace
{

const QByteArray scriptRead = bytes({0x01, 0x05});

struct Rig {
    vp::Device device;
    MemoryPort port{device};
    PromptRecorder prompts;
    StationParts parts{port, prompts, nullptr};

    // Shows the dialog, which may talk to the printer as it opens, and forgets what it sent.
    template <typename Dialog> Dialog &open(Dialog &dialog)
    {
        dialog.show();
        sent();
        return dialog;
    }
    QByteArray sent() { return port.takeWritten(); }
};

QByteArray counterFrame(const QByteArray &values)
{
    return bytes({0x01, 0x51, 0x49}) + values;
}

} // namespace

class TestMarkDialogs : public QObject
{
    Q_OBJECT

private slots:
    void counterWriteChecksAndSends();
    void groupCountWrite();
    void activationAndDelete();
    void shortScriptGivesWhatItHolds();
    void scriptViewer();
    void fontDialogBounds();
    void autoRunPeriod();
    void storedMarks();
    void printerRunsTheExpandedCounterByGroups();
    void itemsOpenTheirWindows();
};

void TestMarkDialogs::counterWriteChecksAndSends()
{
    const QByteArray values = "Q12N00000000E00000025S0001P0001";
    const QByteArray tail = bytes({0x0D, 0x1B, '1', '2', '0', 0x0D});
    const struct {
        const char *name;
        const char *init;
        const char *fragm;
        const char *script;
        QByteArray wire; // after the script read; empty: refused
        const char *focus = nullptr;
        const char *error = nullptr;
        const char *counter = "25";
        bool beep = false;
    } rows[] = {
        {"initial 0 goes out as eight zeros", "0", "12", "", counterFrame(values) + tail},
        {"the group the printer holds is kept", "0", "12", "Q11G3",
         counterFrame(values) + bytes({0x47, '3'}) + tail},
        {"longer initial value", "123", "12", "",
         counterFrame("Q12N00000123E00000025S0001P0001") + tail, nullptr, nullptr, "123"},
        {"10 refused silently", "0", "10", "", {}, "FragmNum"},
        {"123 refused", "0", "123", "", {}, "FragmNum"},
        {"ab, with its message", "0", "ab", "", {}, "FragmNum", "FragmentNumber must be >11 "},
        {"initial value no number", "x1", "12", "", {}, "InitValue"},
        {"initial value of nine digits", "123456789", "12", "", {}, "InitValue"},
        {"19, column 9 off the grid", "0", "19", "", {}, "FragmNum", nullptr, "25", true},
        {"20, column 0 off the grid", "0", "20", "", {}, "FragmNum", nullptr, "25", true},
        {"50, row 5 off the grid", "0", "50", "", {}, "FragmNum", nullptr, "25", true},
        {"a signed initial value", "-5", "12", "", {}, "InitValue", nullptr, "25", true},
    };
    forEachRow(rows, [&](const auto &row) {
        Rig rig;
        rig.device.mark().script = row.script;
        vcompose::TSpecFuncForm form(rig.parts.line, rig.prompts);
        rig.open(form);
        edit(form, "InitValue")->setText(row.init);
        edit(form, "FinishValue")->setText("25");
        edit(form, "CounStep")->setText("1");
        edit(form, "Discret")->setText("1");
        edit(form, "FragmNum")->setText(row.fragm);
        click(form, "BtWriteText");
        const QByteArray head = scriptRead + bytes({0x0C, 0x4E, 0x14, 0x19, '1', '2'}) +
                                QByteArray(row.counter) + bytes({0x0D});
        QCOMPARE(rig.sent().toHex(' '),
                 (row.wire.isEmpty() ? QByteArray() : head + row.wire).toHex(' '));
        if (row.focus)
            QCOMPARE(form.focusWidget(), edit(form, row.focus));
        QCOMPARE(rig.prompts.beeps, row.beep ? 1 : 0);
        Shown shown;
        if (row.error)
            shown = {{QString::fromLatin1(row.error), "Error"}};
        else if (!row.wire.isEmpty())
            shown = {okShown};
        QCOMPARE(rig.prompts.messages, shown);
    });
}

void TestMarkDialogs::groupCountWrite()
{
    const QByteArray held = "Q34N00000005E00000025S0002P0001G3";
    const struct {
        const char *name;
        const char *group;
        QByteArray script;
        QByteArray wire; // empty: refused with a beep
    } rows[] = {
        {"8 goes out with the counter held", "8", held,
         counterFrame(held.left(31)) + bytes({0x47, '8', 0x0D})},
        {"without a counter, the group alone", "8", "G3", counterFrame(bytes({0x47, '8', 0x0D}))},
        {"blank clears the group", "", held, counterFrame(held.left(31)) + bytes({0x0D})},
        {"9 refused", "9", held, {}},
        {"no number refused", "x", held, {}},
        {"a negative count refused", "-1", held, {}},
        {"a sign refused", "+5", held, {}},
    };
    forEachRow(rows, [](const auto &row) {
        Rig rig;
        rig.device.mark().script = row.script;
        vcompose::TSpecFuncForm form(rig.parts.line, rig.prompts);
        rig.open(form);
        edit(form, "MarkQuantaty")->setText(row.group);
        click(form, "Button1");
        const bool refused = row.wire.isEmpty();
        QCOMPARE(rig.sent().toHex(' '),
                 (refused ? QByteArray() : scriptRead + row.wire).toHex(' '));
        QCOMPARE(rig.prompts.beeps, refused ? 1 : 0);
        QCOMPARE(rig.prompts.messages, refused ? Shown{} : Shown{okShown});
    });
}

// Opening fills the fields from the script; "Delete Counter" asks, keeps the group and empties
// the cell.
void TestMarkDialogs::activationAndDelete()
{
    Rig rig;
    rig.device.mark().script = "Q34N00000005E00000025S0002P0001G3";
    rig.device.mark().cells[2][3] = {"00025", 0, vp::MarkFragment::SpecFunc, 0};
    vcompose::TSpecFuncForm form(rig.parts.line, rig.prompts);
    rig.open(form);
    QCOMPARE(edit(form, "FragmNum")->text(), QStringLiteral("34"));
    QCOMPARE(edit(form, "InitValue")->text(), QStringLiteral("00000005"));
    QCOMPARE(edit(form, "Discret")->text(), QStringLiteral("0001"));
    QCOMPARE(edit(form, "MarkQuantaty")->text(), QStringLiteral("3"));
    click(form, "Button3"); // answered No
    QCOMPARE(rig.sent(), QByteArray());
    rig.prompts.answer(true);
    click(form, "Button3");
    QCOMPARE(rig.prompts.questions,
             (Shown{{"Are you sure?", "Question"}, {"Are you sure?", "Question"}}));
    QCOMPARE(rig.sent().toHex(' '),
             (scriptRead + counterFrame(bytes({0x47, '3', 0x0D})) + bytes({0x18, '3', '4', 0x0D}))
                 .toHex(' '));
    QCOMPARE(rig.prompts.messages, Shown{okShown});
    QCOMPARE(rig.device.mark().script, QByteArray("G3"));
    QCOMPARE(rig.device.mark().cells[2][3], vp::MarkFragment{});
    // A cell off the grid is refused before the question.
    edit(form, "FragmNum")->setText("19");
    click(form, "Button3");
    QCOMPARE(rig.sent(), QByteArray());
    QCOMPARE(rig.prompts.questions.size(), 2);
    QCOMPARE(rig.prompts.beeps, 1);
}

void TestMarkDialogs::shortScriptGivesWhatItHolds()
{
    const vcompose::ScriptValues v = vcompose::valuesByPosition("xQ12N00000005E0002");
    QCOMPARE(v.fragment, QByteArray("12"));
    QCOMPARE(v.initial, QByteArray("00000005"));
    QCOMPARE(v.finish, QByteArray("0002"));
    QCOMPARE(v.step, QByteArray());
    QCOMPARE(v.discrete, QByteArray());
    QCOMPARE(vcompose::groupLetter("Q12N1"), QByteArray());
    QCOMPARE(vcompose::counterValueText("", ""), QByteArray("0"));
    QCOMPARE(vcompose::counterValueText("", "0042"), QByteArray("42"));
}

void TestMarkDialogs::scriptViewer()
{
    Rig rig;
    rig.device.mark().script = "Q12N00000001G2";
    vcompose::TScriptReadForm form(rig.parts.line, rig.prompts);
    form.show();
    QCOMPARE(edit(form, "FragText")->text(), QStringLiteral("Q12N00000001G2"));
    QVERIFY(rig.prompts.messages.isEmpty());
    rig.port.expectProtocolErrors(-1);
    rig.device.faults().silent = true;
    click(form, "BtWriteText");
    QCOMPARE(edit(form, "FragText")->text(), QString());
    QVERIFY(rig.prompts.messages.isEmpty());
    form.hide();
    form.show();
    QCOMPARE(rig.prompts.messages, (Shown{{"Read Error", "Error"}}));
}

void TestMarkDialogs::fontDialogBounds()
{
    Rig rig;
    rig.device.mark().cells[3][7] = {"ab", 1, 0xFF, 0};
    vcompose::TSetFontForm form(rig.parts.line, rig.prompts);
    rig.open(form);
    click(form, "RowDown");
    click(form, "FontDown");
    QCOMPARE(edit(form, "RowStr")->text(), QStringLiteral("1"));
    QCOMPARE(edit(form, "EFontSize")->text(), QStringLiteral("0"));
    click(form, "RowUp", 5);
    click(form, "ColUp", 9);
    click(form, "FontUp", 12);
    QCOMPARE(rig.sent(), QByteArray());
    click(form, "BtWriteText");
    QCOMPARE(rig.sent(), bytes({0x1B, '4', '8', '9', 0x0D}));
    QCOMPARE(rig.device.mark().cells[3][7].number, 9);
    QCOMPARE(rig.prompts.messages, Shown{okShown});
}

void TestMarkDialogs::autoRunPeriod()
{
    const QByteArray stop = bytes({0x0B, 0x41});
    const struct {
        const char *name;
        const char *period;
        QByteArray wire; // empty: refused with a beep
    } rows[] = {
        {"255 sent", "255", stop + bytes({0x0C, 0x41, '2', '5', '5', 0x0D, 0x08})},
        {"blanks are taken out", " 2 5", stop + bytes({0x0C, 0x41, '0', '2', '5', 0x0D, 0x08})},
        {"256 refused", "256", {}},
        {"-1 refused", "-1", {}},
        {"more than three digits refused", "0255", {}},
        {"blank refused", " ", {}},
    };
    forEachRow(rows, [&stop](const auto &row) {
        Rig rig;
        rig.device.printer().autoRunPeriod = "017";
        vcompose::TAutoRunPeriodForm form(rig.parts.line, rig.prompts, [](vlink::Port &p) {
            return vshell::AutoRunStopRepeated(p);
        });
        form.show();
        QCOMPARE(rig.sent(), stop + bytes({0x08}));
        QCOMPARE(edit(form, "MarkNum")->text(), QStringLiteral("17"));
        QCOMPARE(edit(form, "AL")->text(), QStringLiteral("291"));
        edit(form, "MarkNum")->setText(row.period);
        click(form, "BtOk");
        const bool refused = row.wire.isEmpty();
        QCOMPARE(rig.sent(), row.wire);
        QCOMPARE(rig.prompts.beeps, refused ? 1 : 0);
        QCOMPARE(rig.prompts.messages, refused ? Shown{} : Shown{okShown});
        if (!refused)
            QCOMPARE(edit(form, "MarkNum")->text(),
                     QString::number(rig.device.printer().autoRunPeriod.toInt()));
    });
    // A printer that never answers: the stop gives up and nothing else is asked.
    Rig rig;
    rig.port.expectProtocolErrors(-1);
    rig.device.faults().silent = true;
    vcompose::TAutoRunPeriodForm form(
        rig.parts.line, rig.prompts, [](vlink::Port &p) { return vshell::AutoRunStopRepeated(p); });
    form.show();
    QCOMPARE(rig.sent(), bytes({0x0B}).repeated(vshell::AutoRunStopSilentLimit));
    QCOMPARE(rig.prompts.messages, (Shown{{"AutoRun Stop Error", "Error"}}));
}

// The printer keeps a whole mark per slot: a stored mark comes back with its texts, fonts and
// kinds.
void TestMarkDialogs::storedMarks()
{
    using Op = vlink::StoredMarkOp;
    Rig rig;
    const vp::MarkFragment counter{"0007", 3, vp::MarkFragment::CounterUp, 0};
    rig.device.mark().cells[1][2] = counter;
    vcompose::TMarkNotCusrrent store(rig.parts.line, rig.prompts, Op::WriteToStorage);
    rig.open(store);
    for (const char *refused : {"0", "-3", "65", ""}) {
        edit(store, "MarkNum")->setText(refused);
        click(store, "BtOk");
    }
    QCOMPARE(rig.prompts.beeps, 4);
    edit(store, "MarkNum")->setText("64");
    click(store, "BtOk");
    QCOMPARE(rig.sent(), bytes({0x0C, 0x57, 0x6F, 0x0D}));
    click(store, "CancelBtn");
    QCOMPARE(rig.prompts.beeps, 5); // closing beeps

    rig.device.mark().cells[1][2] = {};
    vcompose::TMarkNotCusrrent restore(rig.parts.line, rig.prompts, Op::ReadFromStorage);
    rig.open(restore);
    edit(restore, "MarkNum")->setText("64");
    click(restore, "BtOk");
    QCOMPARE(rig.sent(), bytes({0x0C, 0x52, 0x6F, 0x0D}));
    QCOMPARE(rig.device.mark().cells[1][2], counter);
    QCOMPARE(rig.prompts.messages, (Shown{okShown, okShown}));
}

// Groups of two marks, the value held for two groups, counting 5, 7, 9 and then from 5 again.
void TestMarkDialogs::printerRunsTheExpandedCounterByGroups()
{
    Rig rig;
    QVERIFY(vlink::CounterSet(rig.port, 2, 3, "9"));
    QVERIFY(vlink::SpecFuncWrite(rig.port, {"2", "5", "9", "2", "2", "23"}));
    QByteArray shown;
    for (int mark = 0; mark < 14; ++mark) {
        shown += rig.device.mark().cells[1][2].text;
        QVERIFY(vlink::PrintStart(rig.port));
    }
    QCOMPARE(shown, QByteArray("55557777999955"));
    QCOMPARE(rig.device.mark().cells[1][2].kind, vp::MarkFragment::SpecFunc);
}

// Store and restore are modal, the rest modeless; the item chooses the stored-mark operation.
void TestMarkDialogs::itemsOpenTheirWindows()
{
    StationFixture f;
    f.addDevice(0);
    f.startConnected();
    f.driver.whenOpen([](QDialog &font) { font.reject(); });
    f.driver.whenOpen([](QDialog &store) {
        edit(store, "MarkNum")->setText("11");
        click(store, "BtOk");
        store.reject(); // Ok leaves the dialog up for the next slot
    });
    for (const char *name : {"ScriptRead1", "Write1", "TbSpecFuncWrite", "Font1", "AutoRunPeriod",
                             "MarkWriteToStorage_", "TbMarkRestore", "MarkRead2"})
        f.action(name)->trigger();
    const QString stored = QStringLiteral("TMarkNotCusrrent");
    QCOMPARE(f.driver.opened,
             (QStringList{"TScriptReadForm", "TSpecFuncForm", "TSpecFuncForm", "TSetFontForm",
                          "TAutoRunPeriodForm", stored, stored, stored}));
    QCOMPARE(f.driver.openedModal, (QStringList{"TSetFontForm", stored, stored}));
    QVERIFY(f.port->written().endsWith(bytes({0x0C, 0x57, 0x3A, 0x0D})));
}

QTEST_MAIN(TestMarkDialogs)
#include "tst_mark_dialogs.moc"
