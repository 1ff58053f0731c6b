// Where an installed station finds its settings file and its help page.

#include "link/settings_file.h"
#include "link/settings_location.h"
#include "shell/help_page.h"
#include "support/table_rows.h"

#include <QSet>
#include <QTemporaryDir>
#include <QTest>

class TestInstallLocations : public QObject
{
    Q_OBJECT

private slots:
    void settingsBesideTheProgramOnlyWhenWritable();
    void settingsSavedIntoAFolderNotYetMade();
    void helpPageOfTheWorkingFolderFirst();
};

void TestInstallLocations::settingsBesideTheProgramOnlyWhenWritable()
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
        QCOMPARE(vlink::settingsLocation("/opt/v/bin/vuvazuvevov.dev",
                                         {writable, "/home/op", row.configHome}),
                 row.expected);
        QCOMPARE(asked, QStringList{"/opt/v/bin"});
    });
}

void TestInstallLocations::settingsSavedIntoAFolderNotYetMade()
{
    QTemporaryDir home;
    const QString path = home.filePath(".config/VuvaZuvevov/vuvazuvevov.dev");
    vlink::SettingsFile settings(path);
    settings.setValue("PortParams", "ComInteger", "3");
    QVERIFY(settings.save());
    QCOMPARE(vlink::SettingsFile(path).value("PortParams", "ComInteger"), QString("3"));
}

void TestInstallLocations::helpPageOfTheWorkingFolderFirst()
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

QTEST_GUILESS_MAIN(TestInstallLocations)
#include "tst_install_locations.moc"
