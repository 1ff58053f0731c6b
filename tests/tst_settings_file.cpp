#include "link/settings_file.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <future>
#include <sys/stat.h>
#include <unistd.h>

using namespace vlink;

namespace
{

const char Station[] = "; written by hand\n"
                       "[Window]\n"
                       "Com=Com9\n"
                       "\n"
                       "[PORTPARAMS]\n"
                       ";ComInteger=4\n"
                       ";Device5=/dev/ttyX\n"
                       "COMINTEGER=2\n"
                       "speed=19200\n"
                       "\n"
                       "[Other]\n"
                       "# keep me\n"
                       "Key=Value\n";

QString writeFile(const QTemporaryDir &dir, const QByteArray &text)
{
    const QString path = dir.filePath("vuvazuvevov.dev");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        return {};
    return path;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

} // namespace

class TestSettingsFile : public QObject
{
    Q_OBJECT

private slots:
    void lookupIgnoresCase_data();
    void lookupIgnoresCase();
    void missingFileGivesDefaults();
    void setValueKeepsEveryOtherLine_data();
    void setValueKeepsEveryOtherLine();
    void deviceMapOverrides();
    void controlCharacterInDevicePath();
    void onlyRegularFilesAreRead();
    void readingStopsAtOneMebibyte();
    void pathForProgram_data();
    void pathForProgram();
};

void TestSettingsFile::lookupIgnoresCase_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::newRow("as the station spells it") << "PortParams"
                                              << "ComInteger"
                                              << "2";
    QTest::newRow("all lower case") << "portparams"
                                    << "speed"
                                    << "19200";
    QTest::newRow("key in another section") << "PortParams"
                                            << "Com"
                                            << "fallback";
    QTest::newRow("commented-out key") << "PortParams"
                                       << "Device5"
                                       << "fallback";
    QTest::newRow("other section") << "window"
                                   << "COM"
                                   << "Com9";
    QTest::newRow("missing section") << "Nothing"
                                     << "Key"
                                     << "fallback";
}

void TestSettingsFile::lookupIgnoresCase()
{
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QTemporaryDir dir;
    const SettingsFile settings(writeFile(dir, Station));
    QCOMPARE(settings.value(section, key, "fallback"), value);
}

void TestSettingsFile::missingFileGivesDefaults()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("absent.dev");
    SettingsFile settings(path);
    QCOMPARE(settings.value("PortParams", "ComInteger", "1"), QString("1"));
    QCOMPARE(deviceMapFrom(settings), defaultDeviceMap());
    QCOMPARE(defaultDeviceMap()[0], QString("/dev/ttyS0"));
    QCOMPARE(defaultDeviceMap()[5], QString("/dev/ttyS5"));

    // Saving creates it.
    settings.setValue("PortParams", "ComInteger", "-1");
    QVERIFY(settings.save());
    QCOMPARE(readFile(path), QByteArray("[PortParams]\nComInteger=-1\n"));
}

void TestSettingsFile::setValueKeepsEveryOtherLine_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QByteArray>("expected");
    QByteArray replaced = Station;
    replaced.replace("COMINTEGER=2", "COMINTEGER=-1");
    QTest::newRow("existing key keeps its spelling") << "PortParams"
                                                     << "ComInteger" << replaced;
    QByteArray added = Station;
    added.replace("speed=19200\n", "speed=19200\nDevice1=-1\n");
    QTest::newRow("new key before the blank separator") << "portparams"
                                                        << "Device1" << added;
    QTest::newRow("new section at the end")
        << "Extra"
        << "Flag" << QByteArray(Station).append("[Extra]\nFlag=-1\n");
}

void TestSettingsFile::setValueKeepsEveryOtherLine()
{
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QByteArray, expected);
    QTemporaryDir dir;
    const QString path = writeFile(dir, Station);
    SettingsFile settings(path);
    settings.setValue(section, key, "-1");
    QCOMPARE(settings.value(section, key), QString("-1"));
    QVERIFY(settings.save());
    QCOMPARE(QString::fromLatin1(readFile(path)), QString::fromLatin1(expected));
    // Read back from disk, the other keys are as they were.
    const SettingsFile again(path);
    QCOMPARE(again.value("Other", "key"), QString("Value"));
    QCOMPARE(again.value(section, key), QString("-1"));
}

void TestSettingsFile::deviceMapOverrides()
{
    QTemporaryDir dir;
    const SettingsFile settings(writeFile(dir, "[PortParams]\n"
                                               "Device1=/dev/pts/7\n"
                                               "Device2=\n"
                                               "device4 =  /dev/ttyUSB0  \n"
                                               "Device7=/dev/ttyUSB9\n"
                                               "[Other]\n"
                                               "Device3=/dev/wrong\n"));
    DeviceMap expected = defaultDeviceMap();
    expected[0] = "/dev/pts/7";
    expected[3] = "/dev/ttyUSB0";
    QCOMPARE(deviceMapFrom(settings), expected);
}

// A NUL would send QSerialPort's lock file into endless recursion: the port counts as absent.
void TestSettingsFile::controlCharacterInDevicePath()
{
    QTemporaryDir dir;
    const SettingsFile settings(writeFile(dir, QByteArray("[PortParams]\nDevice1=/dev/null") +
                                                   '\0' + "x\nDevice2=/dev/\x1b[2Jtty\n"));
    const DeviceMap map = deviceMapFrom(settings);
    ComIo port(map);
    const struct {
        int index;
        QString shown;
    } rows[] = {{0, "/dev/null\\x00x"}, {1, "/dev/\\x1B[2Jtty"}};
    for (const auto &row : rows) {
        const QString reason = row.shown + ": the device path holds a control character";
        QCOMPARE(PortStatusTip(map[row.index]), reason);
        QVERIFY(!port.testCom(row.index));
        QVERIFY_THROWS_EXCEPTION(ExCom, port.openCom(row.index));
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

void TestSettingsFile::pathForProgram_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("settings");
    QTest::newRow("no extension") << "/opt/vuva/bin/vuvazuvevov"
                                  << "/opt/vuva/bin/vuvazuvevov.dev";
    QTest::newRow("extension replaced") << "/opt/vuva/VuvaZuvevov.exe"
                                        << "/opt/vuva/VuvaZuvevov.dev";
}

void TestSettingsFile::pathForProgram()
{
    QFETCH(QString, program);
    QFETCH(QString, settings);
    QCOMPARE(SettingsFile::pathForProgram(program), settings);
}

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settings_file.moc"
