#include "support/modal_driver.h"
#include "support/prompt_recorder.h"
#include "ui/file_accept_proxy.h"
#include "ui/messages.h"
#include "ui/modal_runner.h"

#include <QDialog>
#include <QFileSystemModel>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using vui::Message;

namespace
{

// Remembers the message events it receives, in order.
class Receiver : public QObject
{
public:
    QList<QEvent::Type> received;
    bool event(QEvent *e) override
    {
        if (vui::messageOf(e->type())) {
            received.append(e->type());
            const auto *m = static_cast<vui::MessageEvent *>(e);
            parametersZero = parametersZero && m->wParam() == 0 && m->lParam() == 0;
            return true;
        }
        return QObject::event(e);
    }
    bool parametersZero = true;
};

} // namespace

class TestUiSeams : public QObject
{
    Q_OBJECT

private slots:
    void everyNameRegisteredOnceAndDistinct();
    void namesAsTheWindowsUseThem_data();
    void namesAsTheWindowsUseThem();
    void sendIsHandledBeforeItReturns();
    void postWaitsForTheEventLoop();
    void fileProxyHidesRefusedFilesButNeverFolders();
    void modalDriverSeesAndDrivesDialogs();
    void recorderAnswersFromItsScript();
};

void TestUiSeams::everyNameRegisteredOnceAndDistinct()
{
    vui::registerMessages();
    QSet<int> seen;
    for (int i = 0; i <= int(Message::LogoListRequest); ++i) {
        const QEvent::Type t = vui::messageType(Message(i));
        QVERIFY(t >= QEvent::User);
        QVERIFY2(!seen.contains(t), vui::messageName(Message(i)));
        seen.insert(t);
        QCOMPARE(vui::messageType(Message(i)), t); // a second lookup registers nothing new
        QCOMPARE(vui::messageOf(t), std::optional<Message>(Message(i)));
    }
    // Registered in the order given: Qt hands event types out from the top down.
    for (int i = 1; i <= int(Message::LogoListRequest); ++i)
        QVERIFY(vui::messageType(Message(i)) < vui::messageType(Message(i - 1)));
    QCOMPARE(vui::messageOf(QEvent::MouseButtonPress), std::nullopt);
}

void TestUiSeams::namesAsTheWindowsUseThem_data()
{
    QTest::addColumn<int>("message");
    QTest::addColumn<QString>("name");
    QTest::newRow("first") << int(Message::ImageCompressOK) << "ImageCompressOK";
    QTest::newRow("trailing underscore") << int(Message::ReadClpBoard_) << "ReadClpBoard_";
    QTest::newRow("last of the nineteen")
        << int(Message::LogoReadOKSmallnotDP) << "LogoReadOKSmallnotDP";
    QTest::newRow("sender's own") << int(Message::SendToPrinter) << "SendToPrinter";
    QTest::newRow("printer found") << int(Message::PrinterFound) << "PrinterFound";
}

void TestUiSeams::namesAsTheWindowsUseThem()
{
    QFETCH(int, message);
    QFETCH(QString, name);
    QCOMPARE(QString::fromLatin1(vui::messageName(Message(message))), name);
}

void TestUiSeams::sendIsHandledBeforeItReturns()
{
    Receiver r;
    vui::sendMessage(&r, Message::ReadError);
    QCOMPARE(r.received, QList<QEvent::Type>{vui::messageType(Message::ReadError)});
    QVERIFY(r.parametersZero);
}

void TestUiSeams::postWaitsForTheEventLoop()
{
    Receiver r;
    vui::postMessage(&r, Message::ShowStamp);
    vui::postMessage(&r, Message::PrinterFound);
    QVERIFY(r.received.isEmpty());
    QCoreApplication::processEvents();
    QCOMPARE(r.received, (QList<QEvent::Type>{vui::messageType(Message::ShowStamp),
                                              vui::messageType(Message::PrinterFound)}));
}

void TestUiSeams::fileProxyHidesRefusedFilesButNeverFolders()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
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

void TestUiSeams::modalDriverSeesAndDrivesDialogs()
{
    vui::ModalRunner runner;
    ModalDriver driver(runner);
    QDialog accepted;
    accepted.setObjectName(QStringLiteral("TAboutBox"));
    driver.whenOpen([](QDialog &d) { d.accept(); });
    QCOMPARE(runner.exec(accepted), int(QDialog::Accepted));

    QDialog unscripted; // no action left: rejected rather than left hanging
    QCOMPARE(runner.exec(unscripted), int(QDialog::Rejected));

    QWidget modeless;
    modeless.setObjectName(QStringLiteral("TMarkForm"));
    runner.show(modeless);
    QVERIFY(modeless.isVisible());
    QCOMPARE(driver.opened, (QStringList{"TAboutBox", "QDialog", "TMarkForm"}));
    QCOMPARE(driver.openedModal, (QStringList{"TAboutBox", "QDialog"}));
}

void TestUiSeams::recorderAnswersFromItsScript()
{
    PromptRecorder p;
    p.answer(true);
    QVERIFY(p.question(QStringLiteral("Mark delete. Are You Sure?"), vui::CaptionConfirm));
    QVERIFY(!p.question(QStringLiteral("Text was changed. Save?"), vui::CaptionConfirm));
    p.chooseFiles({QStringLiteral("/a.bmp"), QStringLiteral("/b.bmp")});
    QCOMPARE(p.openFiles({}), (QStringList{"/a.bmp", "/b.bmp"}));
    QCOMPARE(p.openFile({}), QString());
    p.error(QStringLiteral("Start Command Error"));
    p.ok();
    QCOMPARE(p.messages,
             (PromptRecorder::ShownList{{"Start Command Error", "Error"}, {"Ok", "Information"}}));
    QCOMPARE(p.fileRequests.size(), 2);
}

QTEST_MAIN(TestUiSeams)
#include "tst_ui_seams.moc"
