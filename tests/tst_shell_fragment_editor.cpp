// The main window's ways into the text fragment editor.

#include "compose/text_fragment_editor.h"
#include "support/station_fixture.h"
#include "support/test_widgets.h"

#include <QTest>

namespace
{

QByteArray readRequest(int row, int column)
{
    return QByteArray(1, char(0x11)) + char(0x30 + row) + char(0x30 + column);
}

} // namespace

class TestShellFragmentEditor : public QObject
{
    Q_OBJECT

private slots:
    void f1OpensItModallyOnce();
    void failedReadEndsTheProgram();
};

// "FragEdit" sits in "Tools" and in the hidden "FKey" menu, both on F1: the key opens the editor
// once, and the next opening finds it where it was left.
void TestShellFragmentEditor::f1OpensItModallyOnce()
{
    StationFixture f;
    vp::Device &printer = f.addDevice(0);
    f.startConnected();
    f.window().show();
    QVERIFY(QTest::qWaitForWindowActive(&f.window()));
    f.state().mark.cellRoutine = vui::CellRoutine::Write;
    f.driver.whenOpen([](QDialog &dialog) {
        click(dialog, "RowUp");
        dialog.reject();
    });
    QTest::keyClick(&f.window(), Qt::Key_F1);
    QCOMPARE(f.driver.openedModal, QStringList{"TOKHelpRightDlg"});
    f.action("FKeyFragEdit")->trigger();
    QCOMPARE(printer.received(), readRequest(1, 1) + readRequest(2, 1) + readRequest(2, 1));
    QCOMPARE(f.state().mark.cellRoutine, vui::CellRoutine::Read);
}

void TestShellFragmentEditor::failedReadEndsTheProgram()
{
    StationFixture f;
    f.addDevice(0);
    f.startConnected();
    f.device(0).faults().silent = true;
    f.action("FragEdit1")->trigger();
    QCOMPARE(f.prompts.messages.value(0),
             (PromptRecorder::Shown{"TextFragmentRead Error", "Error"}));
    QCOMPARE(f.endCalls, 1);
}

QTEST_MAIN(TestShellFragmentEditor)
#include "tst_shell_fragment_editor.moc"
