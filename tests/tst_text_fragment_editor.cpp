#include "compose/cell_reader.h"
#include "compose/text_fragment_editor.h"
#include "support/memory_port.h"
#include "support/prompt_recorder.h"
#include "support/station_parts.h"
#include "support/wire_bytes.h"
#include "ui/messages.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <memory>

using vcompose::TOKHelpRightDlg;
using vui::Message;
Q_DECLARE_METATYPE(vcompose::CellKind)

namespace
{

QByteArray readRequest(int row, int column)
{
    return bytes({0x11, 0x30 + row, 0x30 + column});
}

QByteArray writeFrames(int row, int column, const QByteArray &text, int font)
{
    return bytes({0x18, 0x30 + row, 0x30 + column}) + text +
           bytes({0x0D, 0x1B, 0x30 + row, 0x30 + column, 0x30 + font, 0x0D});
}

// The main window as the editor sees it: it only receives messages.
class MainWindowStandIn : public QObject
{
public:
    QList<Message> received;
    bool event(QEvent *e) override
    {
        if (const auto m = vui::messageOf(e->type())) {
            received.append(*m);
            return true;
        }
        return QObject::event(e);
    }
};

// Loses the kind byte of the first cell reads: the printer answered in full, the station missed
// the tail. A read of an empty cell takes six reads (three echoes, length, number, kind).
class LossyPort : public MemoryPort
{
public:
    LossyPort(vp::Device &device, int losses) : MemoryPort(device), losses_(losses) {}
    bool readByte(quint8 &byte) override
    {
        const bool ok = MemoryPort::readByte(byte);
        if (++reads_ % 6 == 0 && losses_ > 0) {
            --losses_;
            return false;
        }
        return ok;
    }

private:
    int losses_;
    int reads_ = 0;
};

struct Rig {
    explicit Rig(vp::Kind kind = vp::Kind::Printer, int losses = 0)
        : device(kind), port(device, losses)
    {
        line.fontCount = device.printer().fontCount;
    }

    TOKHelpRightDlg &open()
    {
        editor = parts.textEditor();
        editor->show();
        return *editor;
    }
    template <typename W> W *widget(const char *name)
    {
        W *w = editor->findChild<W *>(QLatin1String(name));
        if (!w)
            qFatal("no widget %s", name);
        return w;
    }
    QLineEdit *edit(const char *name) { return widget<QLineEdit>(name); }
    void click(const char *name, int times = 1)
    {
        for (int i = 0; i < times; ++i)
            widget<QAbstractButton>(name)->click();
    }
    vp::MarkFragment &cell(int row, int column) { return device.mark().cells[row - 1][column - 1]; }
    // What the station sent since the last call.
    QByteArray sent()
    {
        const QByteArray out = port.written();
        port.clearWritten();
        return out;
    }

    vp::Device device;
    LossyPort port;
    PromptRecorder prompts;
    MainWindowStandIn mainWindow;
    StationParts parts{port, prompts, &mainWindow};
    vui::LineState &line = parts.line;
    std::unique_ptr<TOKHelpRightDlg> editor;
};

const PromptRecorder::Shown okShown{"Ok", "Information"};

PromptRecorder::Shown error(const char *text)
{
    return {QString::fromLatin1(text), QStringLiteral("Error")};
}

} // namespace

class TestTextFragmentEditor : public QObject
{
    Q_OBJECT

private slots:
    void cellKindRules_data();
    void cellKindRules();
    void openReadsTheCell();
    void navigationStaysInTheMark();
    void reopeningRereadsTheSameCell();
    void kindDisplay_data();
    void kindDisplay();
    void textLengthRules_data();
    void textLengthRules();
    void beepBeyond38Characters();
    void nonTextCellNeedsChange();
    void depotOnlyModeReadsNothing();
    void changedTextAsksBeforeLeaving_data();
    void changedTextAsksBeforeLeaving();
    void fontButtons();
    void fontUpAsksThePrinterForF();
    void readRetriedTenTimesThenEndsProgram_data();
    void readRetriedTenTimesThenEndsProgram();
    void writeFailureEndsProgramFontStillSent();
    void fontSetFailureKeepsTheCellLoaded();
    void textGoesOutInTheCodePage();
    void cancelSendsNothing();
    void rowOutsideTheMarkIsRefused();
};

// The rule every fragment editor shares, with the graphic test by F and by the fixed bounds.
void TestTextFragmentEditor::cellKindRules_data()
{
    using vcompose::CellKind;
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("number");
    QTest::addColumn<bool>("fixedBounds");
    QTest::addColumn<CellKind>("expected");
    // The F-based rule and the kind bytes are seen through the editor in kindDisplay.
    QTest::newRow("F: above F is text") << 0xFF << 13 << false << CellKind::Text;
    QTest::newRow("fixed: 6 is text") << 0xFF << 6 << true << CellKind::Text;
    QTest::newRow("fixed: 7 is a graphic") << 0xFF << 7 << true << CellKind::Graphic;
    QTest::newRow("fixed: 12 is neither, read as text") << 0xFF << 12 << true << CellKind::Text;
    QTest::newRow("fixed: 13 is a graphic") << 0xFF << 13 << true << CellKind::Graphic;
    QTest::newRow("fixed: counter up") << 0x06 << 0 << true << CellKind::Counter;
    QTest::newRow("fixed: post date") << 0x02 << 7 << true << CellKind::PostDate;
}

void TestTextFragmentEditor::cellKindRules()
{
    QFETCH(int, kind);
    QFETCH(int, number);
    QFETCH(bool, fixedBounds);
    QFETCH(vcompose::CellKind, expected);
    const vlink::Fragment f{"t", quint8(number), quint8(kind)};
    const auto test =
        fixedBounds ? vcompose::GraphicTest::fixedBounds() : vcompose::GraphicTest::fontCount(12);
    QCOMPARE(vcompose::cellKind(f, test), expected);
}

void TestTextFragmentEditor::openReadsTheCell()
{
    Rig rig;
    TOKHelpRightDlg &editor = rig.open();
    QCOMPARE(editor.windowTitle(), QStringLiteral("TextFragmentReadWrite"));
    QCOMPARE(rig.sent(), readRequest(1, 1));
    QCOMPARE(rig.parts.mark.cellRoutine, vui::CellRoutine::Read);
}

void TestTextFragmentEditor::navigationStaysInTheMark()
{
    Rig rig;
    rig.open();
    rig.sent();
    rig.click("RowUp", 4);
    rig.click("ColDown");
    QCOMPARE(rig.sent(), readRequest(2, 1) + readRequest(3, 1) + readRequest(4, 1) +
                             readRequest(4, 1) + readRequest(4, 1));
    rig.click("ColUp", 8);
    QCOMPARE(rig.edit("ColStr")->text(), QStringLiteral("8"));
    rig.sent();
    rig.click("ColUp");
    rig.click("RowDown", 4);
    QCOMPARE(rig.sent(), readRequest(4, 8) + readRequest(3, 8) + readRequest(2, 8) +
                             readRequest(1, 8) + readRequest(1, 8));
    QCOMPARE(rig.edit("RowStr")->text(), QStringLiteral("1"));
    QVERIFY(rig.prompts.messages.isEmpty());
}

void TestTextFragmentEditor::reopeningRereadsTheSameCell()
{
    Rig rig;
    TOKHelpRightDlg &editor = rig.open();
    rig.click("RowUp");
    rig.click("ColUp", 2);
    editor.hide();
    rig.sent();
    editor.show();
    QCOMPARE(rig.sent(), readRequest(2, 3));
    // The tool button's read on a dialog already shown.
    editor.readCurrentCell();
    QCOMPARE(rig.sent(), readRequest(2, 3));
}

void TestTextFragmentEditor::kindDisplay_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("fontCount");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("editable");
    QTest::addColumn<QString>("font");
    QTest::newRow("text") << 0xFF << 3 << 16 << "abc" << true << "3";
    QTest::newRow("graphic shows F - 1") << 0xFF << 16 << 16 << "Graphic fragment" << false << "15";
    QTest::newRow("graphic with F = 12") << 0xFF << 12 << 12 << "Graphic fragment" << false << "11";
    QTest::newRow("font past F reads as text") << 0xFF << 20 << 16 << "abc" << true << "20";
    QTest::newRow("counter up") << 0x06 << 2 << 16 << "Counter fragment" << false << "2";
    QTest::newRow("counter down") << 0x05 << 4 << 16 << "Counter fragment" << false << "4";
    QTest::newRow("time and date") << 0x00 << 1 << 16 << "TimeDate fragment" << false << "1";
    QTest::newRow("post date") << 0x02 << 5 << 16 << "PostDate fragment" << false << "5";
    QTest::newRow("special function") << 0x07 << 0 << 16 << "SpecFunc fragment" << false << "0";
    QTest::newRow("unknown kind reads as text") << 0x33 << 6 << 16 << "abc" << true << "6";
}

void TestTextFragmentEditor::kindDisplay()
{
    QFETCH(int, kind);
    QFETCH(int, number);
    QFETCH(int, fontCount);
    QFETCH(QString, shown);
    QFETCH(bool, editable);
    QFETCH(QString, font);
    Rig rig;
    rig.line.fontCount = quint8(fontCount);
    rig.cell(1, 1) = {"abc", quint8(number), quint8(kind), 0};
    rig.open();
    QCOMPARE(rig.edit("Fragtext")->text(), shown);
    QCOMPARE(rig.edit("Fragtext")->isEnabled(), editable);
    QCOMPARE(rig.widget<QCheckBox>("Ch_")->isHidden(), editable);
    QVERIFY(!rig.widget<QCheckBox>("Ch_")->isChecked());
    QCOMPARE(rig.edit("EFontSize")->text(), font);
}

void TestTextFragmentEditor::textLengthRules_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("wire");
    QTest::addColumn<PromptRecorder::ShownList>("shown");
    QTest::addColumn<int>("beeps");
    const QString x37(37, 'x');
    QTest::newRow("38 with a leading blank goes out untrimmed")
        << " " + x37 << writeFrames(1, 1, " " + x37.toLatin1(), 0)
        << PromptRecorder::ShownList{okShown} << 0;
    QTest::newRow("38 with a trailing blank")
        << x37 + " " << writeFrames(1, 1, x37.toLatin1() + " ", 0)
        << PromptRecorder::ShownList{okShown} << 0;
    QTest::newRow("38 non-blank: refused, font still set")
        << x37 + "y" << bytes({0x1B, '1', '1', '0', 0x0D})
        << PromptRecorder::ShownList{error("Maximum Fragment Length=37")} << 0;
    QTest::newRow("39: refused, nothing sent")
        << " " + x37 + " " << QByteArray()
        << PromptRecorder::ShownList{error("Fragment text length <=37 symbols")} << 1;
}

void TestTextFragmentEditor::textLengthRules()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, wire);
    QFETCH(PromptRecorder::ShownList, shown);
    QFETCH(int, beeps);
    Rig rig;
    rig.open();
    rig.sent();
    rig.edit("Fragtext")->setText(text);
    rig.click("BtWriteText");
    QCOMPARE(rig.sent().toHex(' '), wire.toHex(' '));
    QCOMPARE(rig.prompts.messages, shown);
    QCOMPARE(rig.prompts.beeps, beeps);
    QVERIFY(rig.mainWindow.received.isEmpty());
}

void TestTextFragmentEditor::beepBeyond38Characters()
{
    Rig rig;
    rig.open();
    QLineEdit *edit = rig.edit("Fragtext");
    edit->setText(QString(38, 'a'));
    QTest::keyRelease(edit, Qt::Key_A);
    QCOMPARE(rig.prompts.beeps, 0);
    edit->setText(QString(39, 'a'));
    QTest::keyRelease(edit, Qt::Key_A);
    QCOMPARE(rig.prompts.beeps, 1);
    QVERIFY(rig.prompts.messages.isEmpty());
}

void TestTextFragmentEditor::nonTextCellNeedsChange()
{
    Rig rig;
    rig.cell(1, 1) = {{}, 16, 0xFF, 9};
    rig.open();
    rig.sent();
    rig.click("BtWriteText");
    QCOMPARE(rig.sent(), QByteArray());
    QCOMPARE(rig.prompts.messages,
             PromptRecorder::ShownList{error("Select \"Change\" mode, if you want Text insert")});
    QCOMPARE(rig.prompts.beeps, 1);

    rig.click("Ch_");
    QVERIFY(rig.edit("Fragtext")->isEnabled());
    QCOMPARE(rig.edit("Fragtext")->text(), QString());
    rig.edit("Fragtext")->setText("new");
    rig.click("BtWriteText");
    QCOMPARE(rig.sent(), writeFrames(1, 1, "new", 15));
    QCOMPARE(rig.cell(1, 1), (vp::MarkFragment{"new", 15, 0xFF, 0}));
    // Unticking locks the edit again.
    rig.click("Ch_");
    QVERIFY(!rig.edit("Fragtext")->isEnabled());
}

void TestTextFragmentEditor::depotOnlyModeReadsNothing()
{
    Rig rig;
    rig.line.depotOnly = true;
    rig.cell(1, 1) = {"there", 2, 0xFF, 0};
    rig.open();
    rig.click("RowUp");
    QCOMPARE(rig.sent(), QByteArray());
    QCOMPARE(rig.edit("Fragtext")->text(), QString());
    rig.edit("Fragtext")->setText("abc");
    rig.click("BtWriteText");
    QCOMPARE(rig.sent(), writeFrames(2, 1, "abc", 1));
    QCOMPARE(rig.prompts.messages, PromptRecorder::ShownList{okShown});
    // Nothing was loaded, so leaving asks nothing.
    rig.edit("Fragtext")->setText("other");
    rig.click("ColUp");
    QVERIFY(rig.prompts.questions.isEmpty());
}

void TestTextFragmentEditor::changedTextAsksBeforeLeaving_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("edited, Yes") << 0xFF << "abd" << true << true << writeFrames(1, 1, "abd", 2);
    QTest::newRow("edited, No") << 0xFF << "abd" << false << true << QByteArray();
    QTest::newRow("case counts") << 0xFF << "ABC" << false << true << QByteArray();
    QTest::newRow("unchanged") << 0xFF << "abc" << true << false << QByteArray();
    QTest::newRow("kind label left alone") << 0x06 << "" << true << false << QByteArray();
}

void TestTextFragmentEditor::changedTextAsksBeforeLeaving()
{
    QFETCH(int, kind);
    QFETCH(QString, typed);
    QFETCH(bool, answer);
    QFETCH(bool, asked);
    QFETCH(QByteArray, written);
    Rig rig;
    rig.cell(1, 1) = {"abc", 2, quint8(kind), 0};
    rig.open();
    rig.sent();
    if (!typed.isEmpty())
        rig.edit("Fragtext")->setText(typed);
    rig.prompts.answer(answer);
    rig.click("ColUp");
    const PromptRecorder::ShownList question{{"Text was changed. Save?", vui::CaptionConfirm}};
    QCOMPARE(rig.prompts.questions, asked ? question : PromptRecorder::ShownList{});
    QCOMPARE(rig.sent().toHex(' '), (written + readRequest(1, 2)).toHex(' '));
    // Leaving the new cell asks nothing: the flag went with the old one.
    rig.click("ColDown");
    QCOMPARE(rig.prompts.questions.size(), asked ? 1 : 0);
}

void TestTextFragmentEditor::fontButtons()
{
    Rig rig;
    rig.line.depotOnly = true;
    rig.line.fontCount = 7;
    rig.open();
    rig.click("FontUp", 20);
    QCOMPARE(rig.edit("EFontSize")->text(), QStringLiteral("15"));
    QCOMPARE(rig.line.fontCount, quint8(16));
    rig.click("FontDown", 20);
    QCOMPARE(rig.edit("EFontSize")->text(), QStringLiteral("0"));
    QCOMPARE(rig.sent(), QByteArray());
}

void TestTextFragmentEditor::fontUpAsksThePrinterForF()
{
    Rig rig;
    rig.device.printer().fontCount = 8;
    rig.open();
    rig.sent();
    rig.click("FontUp", 10);
    QCOMPARE(rig.edit("EFontSize")->text(), QStringLiteral("7"));
    QCOMPARE(rig.line.fontCount, quint8(8));
    QCOMPARE(rig.line.timeParams[13], quint8(8));
    QCOMPARE(rig.sent(), QByteArray(10, 0x08));
    // A failed read leaves F as it was.
    rig.device.faults().silent = true;
    rig.click("FontUp");
    QCOMPARE(rig.line.fontCount, quint8(8));
    // Down asks nothing.
    rig.sent();
    rig.click("FontDown");
    QCOMPARE(rig.edit("EFontSize")->text(), QStringLiteral("6"));
    QCOMPARE(rig.sent(), QByteArray());
}

void TestTextFragmentEditor::readRetriedTenTimesThenEndsProgram_data()
{
    QTest::addColumn<int>("losses");
    QTest::addColumn<bool>("fails");
    QTest::newRow("nine lost, the tenth read succeeds") << 9 << false;
    QTest::newRow("ten lost") << 10 << true;
}

void TestTextFragmentEditor::readRetriedTenTimesThenEndsProgram()
{
    QFETCH(int, losses);
    QFETCH(bool, fails);
    Rig rig(vp::Kind::Printer, losses);
    rig.cell(1, 1) = {{}, 4, 0xFF, 0};
    rig.open();
    QCOMPARE(rig.sent(), readRequest(1, 1).repeated(qMin(losses + 1, 10)));
    if (fails) {
        QCOMPARE(rig.prompts.messages, PromptRecorder::ShownList{error("TextFragmentRead Error")});
        QCOMPARE(rig.mainWindow.received, QList<Message>{Message::ReadError});
        QCOMPARE(rig.edit("EFontSize")->text(), QStringLiteral("1"));
    } else {
        QVERIFY(rig.prompts.messages.isEmpty());
        QVERIFY(rig.mainWindow.received.isEmpty());
        QCOMPARE(rig.edit("EFontSize")->text(), QStringLiteral("4"));
    }
    QCOMPARE(rig.edit("Fragtext")->text(), QString());
}

void TestTextFragmentEditor::writeFailureEndsProgramFontStillSent()
{
    Rig rig;
    rig.open();
    rig.sent();
    // Bytes 0..2 were the read; the write's first text character is byte 6.
    rig.device.faults().wrongEchoAt = 6;
    rig.edit("Fragtext")->setText("abc");
    rig.click("BtWriteText");
    const QByteArray sent = rig.sent();
    QCOMPARE(sent.left(4), bytes({0x18, '1', '1', 'a'}));
    QCOMPARE(sent.mid(4), bytes({0x1B, '1', '1', '0', 0x0D}));
    QCOMPARE(rig.prompts.messages.value(0), error("TextFragmentWrite Error"));
    QCOMPARE(rig.mainWindow.received, QList<Message>{Message::ReadError});
}

void TestTextFragmentEditor::fontSetFailureKeepsTheCellLoaded()
{
    Rig rig;
    rig.cell(1, 1) = {"abc", 2, 0xFF, 0};
    rig.open();
    // Read: bytes 0..2; write "abd": 3..9; the font set starts at byte 10.
    rig.device.faults().dropEchoAt = 10;
    rig.edit("Fragtext")->setText("abd");
    rig.click("BtWriteText");
    QCOMPARE(rig.prompts.messages, (PromptRecorder::ShownList{okShown, error("Font Set Error")}));
    QVERIFY(rig.mainWindow.received.isEmpty());
    rig.click("ColUp");
    QCOMPARE(rig.prompts.questions.size(), 1);
}

void TestTextFragmentEditor::textGoesOutInTheCodePage()
{
    Rig rig;
    rig.cell(1, 1) = {bytes({0xB9, '7'}), 1, 0xFF, 0};
    rig.open();
    QCOMPARE(rig.edit("Fragtext")->text(), QStringLiteral("№7"));
    rig.sent();
    rig.edit("Fragtext")->setText(QStringLiteral("Ёж中"));
    rig.click("BtWriteText");
    QCOMPARE(rig.sent(), writeFrames(1, 1, bytes({0xA8, 0xE6, '?'}), 1));
}

void TestTextFragmentEditor::cancelSendsNothing()
{
    Rig rig;
    TOKHelpRightDlg &editor = rig.open();
    rig.sent();
    rig.edit("Fragtext")->setText("unsaved");
    rig.click("CancelBtn");
    QVERIFY(editor.isHidden());
    QCOMPARE(editor.result(), int(QDialog::Rejected));
    QCOMPARE(rig.sent(), QByteArray());
}

// The coordinates only move by their arrows; should they ever hold more, nothing is written.
void TestTextFragmentEditor::rowOutsideTheMarkIsRefused()
{
    Rig rig;
    rig.open();
    rig.sent();
    rig.edit("RowStr")->setText("5");
    rig.edit("Fragtext")->setText("t");
    rig.click("BtWriteText");
    QCOMPARE(rig.prompts.messages, PromptRecorder::ShownList{error("Maximum Row value=4")});
    QCOMPARE(rig.sent(), bytes({0x1B, '5', '1', '0', 0x0D}));
    rig.prompts.clear();
    rig.edit("RowStr")->setText("1");
    rig.edit("ColStr")->setText("x");
    rig.click("BtWriteText");
    QCOMPARE(rig.prompts.beeps, 1);
    QVERIFY(rig.prompts.messages.isEmpty());
}

QTEST_MAIN(TestTextFragmentEditor)
#include "tst_text_fragment_editor.moc"
