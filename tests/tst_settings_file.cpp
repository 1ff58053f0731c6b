#include "link/settings_file.h"
#include "link/settings_location.h"
#include "shell/help_page.h"
#include "support/table_rows.h"
#include "support/test_widgets.h"

#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <future>
#include <sys/stat.h>
#include <unistd.h>

using namespace vlink;

namespace
{

const char Station[] =
    "[Window]\nCom=Com9\n\n[PORTPARAMS]\n;Device5=/dev/ttyX\nCOMINTEGER=2\n"
    "device4 =  /dev/ttyUSB0  \nDevice2=\n\n[Other]\n# keep me\nDevice3=/dev/x\n";

QString writeFile(const QTemporaryDir &dir, const QByteArray &text)
{
    return ::writeFile(dir.filePath("vuvazuvevov.dev"), text);
}

} // namespace

class TestSettingsFile : public QObject
{
    Q_OBJECT

private slots:
    void lookupAndSaveKeepEveryOtherLine();
    void controlCharacterInDevicePath();
    void onlyRegularFilesAreRead();
    void readingStopsAtOneMebibyte();
    void settingsBesideTheProgramOnlyWhenWritable();
    void settingsSavedIntoAFolderNotYetMade();
    void helpPageOfTheWorkingFolderFirst();
};

void TestSettingsFile::lookupAndSaveKeepEveryOtherLine()
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, Station);
    SettingsFile settings(path);
    QCOMPARE(settings.value("portparams", "ComInteger"), QString("2"));
    // Keys of other sections and commented-out keys are not found.
    QCOMPARE(settings.value("PortParams", "Com") + settings.value("PortParams", "Device5"), "");
    DeviceMap expected = defaultDeviceMap();
    expected[3] = "/dev/ttyUSB0";
    QCOMPARE(deviceMapFrom(settings), expected);
    // An existing key keeps its spelling; a new one goes before the blank separator.
    settings.setValue("PortParams", "ComInteger", "-1");
    settings.setValue("portparams", "Device1", "/dev/a");
    settings.setValue("Extra", "Flag", "1");
    QVERIFY(settings.save());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QByteArray text = Station;
    text.replace("COMINTEGER=2", "COMINTEGER=-1")
        .replace("Device2=\n", "Device2=\nDevice1=/dev/a\n")
        .append("[Extra]\nFlag=1\n");
    QCOMPARE(QString::fromLatin1(file.readAll()), QString::fromLatin1(text));
}

// A NUL would send QSerialPort's lock file into endless recursion: the port counts as absent.
void TestSettingsFile::controlCharacterInDevicePath()
{
    QTemporaryDir dir;
    const SettingsFile settings(writeFile(dir, QByteArray("[PortParams]\nDevice1=/dev/null") +
                                                   '\0' + "x\nDevice2=/dev/\x1b[2Jtty\n"));
    const DeviceMap map = deviceMapFrom(settings);
    ComIo port(map);
    const QString shown[] = {"/dev/null\\x00x", "/dev/\\x1B[2Jtty"};
    for (int i : {0, 1}) {
        QCOMPARE(PortStatusTip(map[i]), shown[i] + ": the device path holds a control character");
        QVERIFY(!port.testCom(i));
        QVERIFY_THROWS_EXCEPTION(ExCom, port.openCom(i));
    }
}

// A FIFO without a writer would block the open for good; a device could hand out anything.
void TestSettingsFile::onlyRegularFilesAreRead()
{
    QTemporaryDir dir;
    const QByteArray fifo = QFile::encodeName(dir.filePath("vuvazuvevov.dev"));
    QVERIFY(mkfifo(fifo.constData(), 0600) == 0);
    auto read = std::async(std::launch::async, [&fifo] {
        return SettingsFile(QFile::decodeName(fifo)).value("PortParams", "Com", "none");
    });
    const bool done = read.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
    if (!done)
        ::close(::open(fifo.constData(), O_WRONLY | O_NONBLOCK)); // lets the test end
    QVERIFY(done);
    QCOMPARE(read.get(), QString("none"));
    // Nor is one that does have something to say.
    const int fd = ::open(fifo.constData(), O_RDWR | O_NONBLOCK);
    const QByteArray text = "[PortParams]\nCom=fifo\n";
    QCOMPARE(::write(fd, text.constData(), size_t(text.size())), ssize_t(text.size()));
    QCOMPARE(SettingsFile(QFile::decodeName(fifo)).value("PortParams", "Com", "none"), "none");
    ::close(fd);
}

void TestSettingsFile::readingStopsAtOneMebibyte()
{
    QByteArray text = "[PortParams]\nDevice2=/dev/early\n;";
    text += QByteArray(SettingsFile::MaxBytes - text.size(), 'x') + "\nDevice1=/dev/late\n";
    QTemporaryDir dir;
    const SettingsFile settings(writeFile(dir, text));
    QCOMPARE(settings.value("PortParams", "Device2"), QString("/dev/early"));
    QCOMPARE(settings.value("PortParams", "Device1", "none"), QString("none"));
}

// Where an installed station finds its settings file and its help page.
void TestSettingsFile::settingsBesideTheProgramOnlyWhenWritable()
{
    const struct {
        const char *name;
        bool writable;
        QString configHome;
        QString expected;
    } rows[] = {
        {"build folder", true, "/srv/cfg", "/opt/v/bin/vuvazuvevov.dev"},
        {"installed", false, "", "/home/op/.config/VuvaZuvevov/vuvazuvevov.dev"},
        {"XDG_CONFIG_HOME", false, "/srv/cfg", "/srv/cfg/VuvaZuvevov/vuvazuvevov.dev"},
        {"relative XDG_CONFIG_HOME", false, "cfg", "/home/op/.config/VuvaZuvevov/vuvazuvevov.dev"},
    };
    forEachRow(rows, [](const auto &row) {
        QStringList asked;
        const auto writable = [&](const QString &folder) { return asked << folder, row.writable; };
        QCOMPARE(
            settingsLocation("/opt/v/bin/vuvazuvevov.dev", {writable, "/home/op", row.configHome}),
            row.expected);
        QCOMPARE(asked, QStringList{"/opt/v/bin"});
    });
}

void TestSettingsFile::settingsSavedIntoAFolderNotYetMade()
{
    QTemporaryDir home;
    const QString path = home.filePath(".config/VuvaZuvevov/vuvazuvevov.dev");
    SettingsFile settings(path);
    settings.setValue("PortParams", "ComInteger", "3");
    QVERIFY(settings.save());
    QCOMPARE(SettingsFile(path).value("PortParams", "ComInteger"), QString("3"));
}

void TestSettingsFile::helpPageOfTheWorkingFolderFirst()
{
    const QString local = "/home/op/help.html";
    const QString installed = "/usr/share/vuvazuvevov/help.html";
    const struct {
        const char *name;
        QStringList present;
        QString expected;
    } rows[] = {
        {"both", {local, installed}, local},
        {"installed only", {installed}, installed},
        {"neither", {}, local},
    };
    forEachRow(rows, [&](const auto &row) {
        const QSet<QString> files(row.present.begin(), row.present.end());
        const auto exists = [&](const QString &file) { return files.contains(file); };
        QCOMPARE(vshell::helpPagePath("/home/op", "/usr/bin", exists), row.expected);
    });
}

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settings_file.moc"
