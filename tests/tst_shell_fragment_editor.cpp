// The main window's ways into the text fragment editor.

#include "compose/text_fragment_editor.h"
#include "support/station_fixture.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace
{

QByteArray readRequest(int row, int column)
{
    QByteArray request(1, char(0x11));
    return request + char(0x30 + row) + char(0x30 + column);
}

void click(QWidget &dialog, const char *name)
{
    dialog.findChild<QAbstractButton *>(QLatin1String(name))->click();
}

} // namespace

class TestShellFragmentEditor : public QObject
{
    Q_OBJECT

private slots:
    void menuItemsOpenItModally_data();
    void menuItemsOpenItModally();
    void toolButtonShowsItAndReadsAtOnce();
    void failedReadEndsTheProgram();
    void f1OpensItThoughTwoItemsCarryIt();
    void textsGoOutInTheSettingsCodePage();
};

void TestShellFragmentEditor::menuItemsOpenItModally_data()
{
    QTest::addColumn<QByteArray>("item");
    QTest::newRow("Tools") << QByteArray("FragEdit1");
    QTest::newRow("hidden FKey") << QByteArray("FKeyFragEdit");
}

void TestShellFragmentEditor::menuItemsOpenItModally()
{
    QFETCH(QByteArray, item);
    StationFixture f;
    vp::Device &printer = f.addDevice(0);
    f.startConnected();
    QCOMPARE(f.action(item)->shortcut(), QKeySequence(Qt::Key_F1));
    printer.clearReceived();
    f.state().mark.cellRoutine = vui::CellRoutine::Write;
    // The first opening walks one row down; the next opening finds the editor where it was left.
    f.driver.whenOpen([](QDialog &dialog) {
        QCOMPARE(dialog.windowTitle(), QStringLiteral("TextFragmentReadWrite"));
        click(dialog, "RowUp");
        dialog.reject();
    });
    f.action(item)->trigger();
    f.driver.whenOpen([](QDialog &dialog) { dialog.reject(); });
    f.action(item)->trigger();
    QCOMPARE(f.driver.openedModal, (QStringList{"TOKHelpRightDlg", "TOKHelpRightDlg"}));
    QCOMPARE(printer.received(), readRequest(1, 1) + readRequest(2, 1) + readRequest(2, 1));
    QCOMPARE(f.state().mark.cellRoutine, vui::CellRoutine::Read);
}

void TestShellFragmentEditor::toolButtonShowsItAndReadsAtOnce()
{
    StationFixture f;
    vp::Device &printer = f.addDevice(0);
    printer.mark().cells[0][0] = {"abc", 2, 0xFF, 0};
    f.startConnected();
    printer.clearReceived();
    f.action("TbTextFragment")->trigger();
    QCOMPARE(f.driver.opened, QStringList{"TOKHelpRightDlg"});
    QVERIFY(f.driver.openedModal.isEmpty());
    auto *editor = f.window().findChild<vcompose::TOKHelpRightDlg *>();
    QVERIFY(editor && editor->isVisible());
    QCOMPARE(editor->findChild<QLineEdit *>("Fragtext")->text(), QStringLiteral("abc"));
    // Up already: the button reads the cell again, once.
    f.action("TbTextFragment")->trigger();
    QCOMPARE(printer.received(), readRequest(1, 1) + readRequest(1, 1));
    editor->close();
}

void TestShellFragmentEditor::failedReadEndsTheProgram()
{
    StationFixture f;
    vp::Device &printer = f.addDevice(0);
    f.startConnected();
    printer.clearReceived();
    printer.faults().silent = true;
    f.action("FragEdit1")->trigger();
    // Ten attempts, each ended by the missing echo of its first byte.
    QCOMPARE(printer.received(), QByteArray(10, 0x11));
    QCOMPARE(f.prompts.messages.value(0),
             (PromptRecorder::Shown{"TextFragmentRead Error", "Error"}));
    QCOMPARE(f.endCalls, 1);
}

void TestShellFragmentEditor::textsGoOutInTheSettingsCodePage()
{
    StationFixture f;
    vp::Device &printer = f.addDevice(0);
    f.writeSettings(QStringLiteral("[PortParams]\nComInteger=0\nCodePage=KOI8-R\n"));
    f.startConnected();
    if (vlink::CodePage(QStringLiteral("KOI8-R")).name() != QStringLiteral("KOI8-R"))
        QSKIP("this Qt knows no KOI8-R");
    f.driver.whenOpen([](QDialog &dialog) {
        dialog.findChild<QLineEdit *>("Fragtext")->setText(QStringLiteral("Аб"));
        click(dialog, "BtWriteText");
        dialog.reject();
    });
    f.action("FragEdit1")->trigger();
    QCOMPARE(printer.mark().cells[0][0].text, QByteArray("\xE1\xC2"));
}

// "FragEdit" sits in "Tools" and in the hidden "FKey" menu, both on F1: the key must still open
// the editor, once.
void TestShellFragmentEditor::f1OpensItThoughTwoItemsCarryIt()
{
    StationFixture f;
    f.addDevice(0);
    f.startConnected();
    f.window().show();
    QVERIFY(QTest::qWaitForWindowActive(&f.window()));
    QTest::keyClick(&f.window(), Qt::Key_F1);
    QCOMPARE(f.driver.openedModal, QStringList{"TOKHelpRightDlg"});
}

QTEST_MAIN(TestShellFragmentEditor)
#include "tst_shell_fragment_editor.moc"
