#include "compose/text_fragment_editor.h"
#include "graphics/logo_read_write_form.h"
#include "graphics/multi_load_form.h"
#include "link/port.h"
#include "shell/answer_watch.h"
#include "shell/station_application.h"
#include "support/main_window_stand_in.h"
#include "support/station_fixture.h"
#include "support/station_parts.h"
#include "support/test_widgets.h"
#include "support/wire_bytes.h"
#include "ui/file_accept_proxy.h"

#include <QFileSystemModel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace
{

// A port whose device vanished after the presence test.
class VanishingPort : public vlink::ForwardingPort
{
public:
    VanishingPort(vlink::Port &port, int gone) : ForwardingPort(port), gone_(gone) {}
    bool openCom(int index) override
    {
        if (index == gone_)
            throw vlink::ExCom("open_com error\n/dev/ttyS2: No such file or directory");
        return ForwardingPort::openCom(index);
    }

private:
    int gone_;
};

} // namespace

using vui::Message;

class TestShellWindows : public QObject
{
    Q_OBJECT

private slots:
    void portThatCannotOpenIsReported();
    void enterDoesTheActionNeverCancel();
    void f1OpensTheTextEditorModallyOnce();
    void failedEditorReadEndsTheProgram();
    void sendIsHandledAtOncePostOnceTheLoopRuns();
    void fileProxyHidesRefusedFilesButNeverFolders();
};

void TestShellWindows::portThatCannotOpenIsReported()
{
    vp::Device com1;
    vp::Device com3;
    MemoryPort memory({&com1, nullptr, &com3, nullptr, nullptr, nullptr});
    VanishingPort port(memory, 2);
    PromptRecorder prompts;
    vui::ModalRunner modal;
    QTemporaryDir dir;
    vshell::StationEnvironment env{port, prompts, modal, dir.filePath(QStringLiteral("s.dev"))};
    env.lockPath = dir.filePath(QStringLiteral("lock"));
    env.workDir = dir.path();
    vshell::TAutoControl window(env);
    window.FormActivate();
    prompts.clear();
    // COM3 was there at start and is gone now: the reason is shown, then the choice has failed.
    window.findChild<QAction *>(QStringLiteral("Com31"))->trigger();
    QCOMPARE(prompts.messages,
             (PromptRecorder::ShownList{
                 {"open_com error\n/dev/ttyS2: No such file or directory", "VuvaZuvevov"},
                 {" Wait Please. After 5-10 seconds Programm select Initial Port", "Error"}}));
    QCOMPARE(window.state().line.currentPort, 0);
}

void TestShellWindows::enterDoesTheActionNeverCancel()
{
    StationFixture f;
    f.addDevice(0);
    f.startConnected();
    const vgfx::LogoFormContext logos = logoContext(f.state(), f.prompts, &f.window());
    const auto editorDialog = textEditor(f.state(), f.prompts, &f.window(), &f.window());
    vcompose::TOKHelpRightDlg &editor = *editorDialog;
    vgfx::TLogoReadWriteForm logo(logos, &f.window());
    vgfx::TMultiLoadForm multi(logos, {}, &f.window());
    const struct {
        QDialog *dialog;
        const char *action;
        const char *cancel;
        const char *field; // where the operator types, if anywhere
    } rows[] = {
        {&editor, "BtWriteText", "CancelBtn", "Fragtext"},
        {f.window().portForms(), "BitBtn1", "BitBtn2", nullptr},
        {&logo, "BtOk", "BtCancel", "LogoName"},
        {&multi, "BtLoad", "BtCancel", "FirstLogoNumEdit"},
    };
    for (const auto &row : rows) {
        QSignalSpy action(child<QAbstractButton>(*row.dialog, row.action), &QPushButton::clicked);
        QSignalSpy cancelled(row.dialog, &QDialog::rejected);
        for (const char *focus : {row.field ? row.field : row.cancel, row.cancel}) {
            row.dialog->show();
            QVERIFY(QTest::qWaitForWindowActive(row.dialog));
            QWidget *target = child<QWidget>(*row.dialog, focus);
            target->setFocus();
            QTest::keyClick(target, Qt::Key_Return);
        }
        QVERIFY2(action.count() == 2 && cancelled.isEmpty(), row.action);
        row.dialog->hide();
    }
}

// "FragEdit" sits in "Tools" and in the hidden "FKey" menu, both on F1: the key opens the editor
// once, and the next opening finds it where it was left.
void TestShellWindows::f1OpensTheTextEditorModallyOnce()
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
    QCOMPARE(printer.received(),
             cellReadRequest(1, 1) + cellReadRequest(2, 1) + cellReadRequest(2, 1));
    QCOMPARE(f.state().mark.cellRoutine, vui::CellRoutine::Read);
}

void TestShellWindows::failedEditorReadEndsTheProgram()
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

// A dialog that closes after posting must not be answered while it still runs its handler.
void TestShellWindows::sendIsHandledAtOncePostOnceTheLoopRuns()
{
    MainWindowStandIn window;
    vui::postMessage(&window, Message::ShowStamp);
    vui::sendMessage(&window, Message::ReadError);
    vui::postMessage(&window, Message::PrinterFound);
    QCOMPARE(window.received, QList<Message>{Message::ReadError});
    QCoreApplication::processEvents();
    QCOMPARE(window.received,
             (QList<Message>{Message::ReadError, Message::ShowStamp, Message::PrinterFound}));
}

void TestShellWindows::fileProxyHidesRefusedFilesButNeverFolders()
{
    QTemporaryDir dir;
    for (const char *name : {"mono.bmp", "colour.bmp", "notes.txt"}) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("colour.folder")));
    QFileSystemModel files;
    QSignalSpy loaded(&files, &QFileSystemModel::directoryLoaded);
    const QModelIndex root = files.setRootPath(dir.path());
    QVERIFY(loaded.wait(5000));
    vui::FileAcceptProxy proxy(
        [](const QString &path) { return !QFileInfo(path).fileName().startsWith(u"colour"); });
    proxy.setSourceModel(&files);
    QStringList listed;
    const QModelIndex proxyRoot = proxy.mapFromSource(root);
    for (int i = 0; i < proxy.rowCount(proxyRoot); ++i)
        listed.append(proxy.index(i, 0, proxyRoot).data().toString());
    listed.sort();
    QCOMPARE(listed, (QStringList{"colour.folder", "mono.bmp", "notes.txt"}));
}

int main(int argc, char **argv)
{
    vshell::StationApplication app(argc, argv);
    TestShellWindows test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_shell_windows.moc"
