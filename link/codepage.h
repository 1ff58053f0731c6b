#pragma once

#include "link/settings_file.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace vlink
{

// The 8-bit code page of every text the printer keeps. The stations this printer serves write
// Windows-1251; the settings file may name another ("CodePage" in "PortParams"). One character
// always gives one byte: whatever the code page cannot hold goes out as "?".
class CodePage
{
public:
    static constexpr const char *DefaultName = "windows-1251";
    static constexpr const char *SettingsKey = "CodePage";

    // An empty or unknown name gives the default code page.
    explicit CodePage(const QString &name = {});
    static CodePage fromSettings(const SettingsFile &settings);

    // The code page actually in use.
    const QString &name() const { return name_; }

    QByteArray encode(QStringView text) const;
    QString decode(const QByteArray &bytes) const;
    // Whether every character of text has a byte of its own here, none going out as "?".
    bool holds(QStringView text) const;

private:
    QString name_;
    // Qt without ICU knows no Windows code pages: then our own table serves the default one.
    bool ownTable_ = false;
};

// Windows-1251 by table, independent of the Qt build.
QByteArray encodeWindows1251(QStringView text);
QString decodeWindows1251(const QByteArray &bytes);

} // namespace vlink
