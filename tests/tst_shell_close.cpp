#include "shell/instance_lock.h"
#include "support/station_fixture.h"
#include "support/table_rows.h"
#include "ui/messages.h"

#include <QDir>
#include <QTest>

class TestShellClose : public QObject
{
    Q_OBJECT

private slots:
    void closeSteps();
    void readErrorWhileModalDialogOpen();
};

// Closing writes back only ComInteger, frees the lock, empties the logo folder of *.logo and
// pulses RTS only while the port is open.
void TestShellClose::closeSteps()
{
    const struct {
        const char *name;
        bool printer;
        const char *written;
        QList<bool> rts;
    } rows[] = {
        {"connected on COM3", true, "2", {true, false}},
        {"no port", false, "-1", {}},
    };
    forEachRow(rows, [](const auto &row) {
        StationFixture f;
        f.addDevice(2).faults().silent = !row.printer;
        const QString settings = QStringLiteral("; kept\n[PortParams]\nCom=com4\nSpeed=38400\n"
                                                "ComInteger=%1\nDevice1=/dev/ttyUSB0\n\n[Other]\n");
        f.writeSettings(settings.arg(5));
        QDir work(f.workDir());
        QVERIFY(work.mkdir(QStringLiteral("Logo")));
        for (const char *name :
             {"Logo/tmp0.logo", "Logo/ARROW.LOGO", "Logo/.h.logo", "Logo/a.bmp", "kept.logo"}) {
            QFile file(work.filePath(QString::fromLatin1(name)));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        f.startConnected();
        f.window().close();
        QCOMPARE(f.readSettings(), settings.arg(QString::fromLatin1(row.written)));
        QVERIFY(vshell::InstanceLock(f.lockPath()).held());
        QCOMPARE(f.port->rtsChanges(), row.rts);
        QVERIFY(f.port->written().isEmpty());
        QCOMPARE(QDir(work.filePath(QStringLiteral("Logo")))
                     .entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{"a.bmp"});
        QVERIFY(QFile::exists(work.filePath(QStringLiteral("kept.logo"))));
    });
}

void TestShellClose::readErrorWhileModalDialogOpen()
{
    StationFixture f;
    f.addDevice(3);
    f.writeSettings(QStringLiteral("[PortParams]\nComInteger=-1\n"));
    f.startConnected();
    // An editor runs modally and finds its cell unreadable.
    QDialog editor(&f.window());
    f.driver.whenOpen([&f](QDialog &) { vui::sendMessage(&f.window(), vui::Message::ReadError); });
    QCOMPARE(f.modal.exec(editor), int(QDialog::Rejected));
    QCOMPARE(f.endCalls, 1);
    QVERIFY(f.readSettings().contains(QStringLiteral("ComInteger=3")));
    QVERIFY(vshell::InstanceLock(f.lockPath()).held());
    QCOMPARE(f.port->rtsChanges(), (QList<bool>{true, false}));
}

QTEST_MAIN(TestShellClose)
#include "tst_shell_close.moc"
