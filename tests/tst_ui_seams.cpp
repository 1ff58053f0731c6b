#include "support/main_window_stand_in.h"
#include "ui/file_accept_proxy.h"

#include <QFileSystemModel>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using vui::Message;

class TestUiSeams : public QObject
{
    Q_OBJECT

private slots:
    void sendIsHandledAtOncePostOnceTheLoopRuns();
    void fileProxyHidesRefusedFilesButNeverFolders();
};

// A dialog that closes after posting must not be answered while it still runs its handler.
void TestUiSeams::sendIsHandledAtOncePostOnceTheLoopRuns()
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

void TestUiSeams::fileProxyHidesRefusedFilesButNeverFolders()
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

QTEST_MAIN(TestUiSeams)
#include "tst_ui_seams.moc"
