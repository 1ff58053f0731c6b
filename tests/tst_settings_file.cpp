#include "link/settings_file.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

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
