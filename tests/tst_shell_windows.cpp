#include "compose/text_fragment_editor.h"
#include "graphics/logo_read_write_form.h"
#include "graphics/multi_load_form.h"
#include "link/port.h"
#include "shell/answer_watch.h"
#include "shell/port_params.h"
#include "shell/station_application.h"
#include "support/station_fixture.h"
#include "support/station_parts.h"
#include "support/test_widgets.h"

#include <QComboBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace
{

// Throws from its event handler, as a handler whose port cannot be opened does.
class Thrower : public QObject
{
public:
    bool com = true;
    bool event(QEvent *e) override
    {
        if (e->type() != QEvent::User)
            return QObject::event(e);
        if (com)
            throw vlink::ExCom("open_com error\n/dev/ttyS0: Permission denied");
        throw std::runtime_error("out of memory");
    }
};

// A port whose device vanished after the presence test.
class VanishingPort : public vshell::AnswerWatch
{
public:
    VanishingPort(vlink::Port &port, int gone) : AnswerWatch(port), gone_(gone) {}
    bool openCom(int index) override
    {
        if (index == gone_)
            throw vlink::ExCom("open_com error\n/dev/ttyS2: No such file or directory");
        return AnswerWatch::openCom(index);
    }

private:
    int gone_;
};

} // namespace

class TestShellWindows : public QObject
{
    Q_OBJECT

private slots:
    void portFormsShowAndSave();
    void portFormsCancelWritesNothing();
    void savedPortParamsSeedTheNextStart();
    void applicationShowsExceptionsAndGoesOn();
    void portThatCannotOpenIsReported();
    void enterDoesTheActionNeverCancel();
};

void TestShellWindows::portFormsShowAndSave()
{
    StationFixture f;
    f.addDevice(0, vp::Kind::Printer, 57600);
    f.writeSettings(QStringLiteral("[PortParams]\nDevice1=/dev/ttyUSB0\nComInteger=0\n"));
    f.startConnected();
    vshell::TPortForms *form = f.window().portForms();
    QVERIFY(form);
    QCOMPARE(form->windowTitle(), QStringLiteral("Параметры"));
    QVERIFY(form->windowFlags() & Qt::WindowStaysOnTopHint);
    auto *port = form->findChild<QComboBox *>(QStringLiteral("ComPortNum"));
    auto *speed = form->findChild<QComboBox *>(QStringLiteral("SpeedCB"));
    auto *save = form->findChild<QPushButton *>(QStringLiteral("BitBtn1"));
    auto *quit = form->findChild<QPushButton *>(QStringLiteral("BitBtn2"));
    QCOMPARE(save->text(), QStringLiteral("Сохранить"));
    QCOMPARE(quit->text(), QStringLiteral("Выйти"));
    QStringList ports;
    for (int i = 0; i < port->count(); ++i)
        ports << port->itemText(i);
    QCOMPARE(ports, (QStringList{"com1", "com2", "com3", "com4"}));
    QStringList speeds;
    for (int i = 0; i < speed->count(); ++i)
        speeds << speed->itemText(i);
    QCOMPARE(speeds, (QStringList{"1200", "2400", "4800", "9600", "19200", "38400"}));

    form->show();
    // It opens on what discovery found, even where that is not in its lists.
    QCOMPARE(port->currentText(), QStringLiteral("Com1"));
    QCOMPARE(speed->currentText(), QStringLiteral("57600"));
    port->setCurrentText(QStringLiteral("com3"));
    speed->setCurrentText(QStringLiteral("19200"));
    save->click();
    QVERIFY(!form->isVisible());
    QCOMPARE(f.state().line.portName, QStringLiteral("com3"));
    QCOMPARE(f.state().line.speedText, QStringLiteral("19200"));
    QCOMPARE(f.readSettings(), QStringLiteral("[PortParams]\nDevice1=/dev/ttyUSB0\nComInteger=0\n"
                                              "com=com3\nSpeed=19200\n"));
    // Saving neither reopens the port nor changes its speed.
    QVERIFY(f.port->written().isEmpty());
    QCOMPARE(f.port->lineSpeed(), 57600);
    QCOMPARE(f.state().line.currentPort, 0);
}

void TestShellWindows::portFormsCancelWritesNothing()
{
    StationFixture f;
    f.start();
    vshell::TPortForms *form = f.window().portForms();
    form->show();
    form->findChild<QComboBox *>(QStringLiteral("ComPortNum"))
        ->setCurrentText(QStringLiteral("com2"));
    form->findChild<QPushButton *>(QStringLiteral("BitBtn2"))->click();
    QVERIFY(!form->isVisible());
    QVERIFY(!QFile::exists(f.settingsPath()));
    QCOMPARE(f.state().line.portName, QStringLiteral("com1"));
}

void TestShellWindows::savedPortParamsSeedTheNextStart()
{
    StationFixture f;
    f.start();
    f.window().portForms()->show();
    f.window()
        .portForms()
        ->findChild<QComboBox *>(QStringLiteral("SpeedCB"))
        ->setCurrentText(QStringLiteral("2400"));
    f.window().portForms()->BitBtn1Click();
    f.window().close();

    StationFixture next;
    QVERIFY(QFile::copy(f.settingsPath(), next.settingsPath()));
    next.start();
    QCOMPARE(next.state().line.speedText, QStringLiteral("2400"));
    QCOMPARE(next.state().line.portName, QStringLiteral("com1"));
    QCOMPARE(next.state().line.currentPort, 1);
}

void TestShellWindows::applicationShowsExceptionsAndGoesOn()
{
    auto *app = qobject_cast<vshell::StationApplication *>(QCoreApplication::instance());
    QVERIFY(app);
    QStringList shown;
    app->setReporter([&shown](const QString &text) { shown << text; });
    Thrower thrower;
    QEvent first(QEvent::User);
    QVERIFY(!QCoreApplication::sendEvent(&thrower, &first));
    thrower.com = false;
    QEvent second(QEvent::User);
    QCoreApplication::sendEvent(&thrower, &second);
    QCOMPARE(shown,
             (QStringList{"open_com error\n/dev/ttyS0: Permission denied", "out of memory"}));
    // The loop goes on: a queued event is still delivered.
    bool delivered = false;
    QMetaObject::invokeMethod(
        app, [&delivered] { delivered = true; }, Qt::QueuedConnection);
    QCoreApplication::processEvents();
    QVERIFY(delivered);
    app->setReporter({});
}

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
    QCOMPARE(window.state().line.currentPort, 0);
    prompts.clear();

    // COM3 was there at start and is gone now: the reason is shown, then the choice has failed.
    window.findChild<QAction *>(QStringLiteral("Com31"))->trigger();
    QCOMPARE(prompts.messages,
             (PromptRecorder::ShownList{
                 {"open_com error\n/dev/ttyS2: No such file or directory", "VuvaZuvevov"},
                 {" Wait Please. After 5-10 seconds Programm select Initial Port", "Error"}}));
    // Found again where it was.
    QCOMPARE(window.state().line.currentPort, 0);
    QVERIFY(window.state().line.connected);
    QVERIFY(window.state().line.portOpen);
}

void TestShellWindows::enterDoesTheActionNeverCancel()
{
    StationFixture f;
    f.addDevice(0);
    f.startConnected();
    const vgfx::LogoFormContext logos = logoContext(f.state(), f.prompts, &f.window());
    const auto editor = textEditor(f.state(), f.prompts, &f.window(), &f.window());
    vgfx::TLogoReadWriteForm logo(logos, &f.window());
    vgfx::TMultiLoadForm multi(logos, {}, &f.window());
    const struct {
        QDialog *dialog;
        const char *action;
        const char *cancel;
        const char *field; // where the operator types, if anywhere
    } rows[] = {
        {editor.get(), "BtWriteText", "CancelBtn", "Fragtext"},
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

int main(int argc, char **argv)
{
    vshell::StationApplication app(argc, argv);
    TestShellWindows test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_shell_windows.moc"
