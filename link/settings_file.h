#pragma once

#include "link/com_io.h"

#include <QString>
#include <QStringList>

namespace vlink
{

// The station's INI settings file. Sections and keys are matched without regard to case, and
// saving keeps every other line of the file as it was.
class SettingsFile
{
public:
    SettingsFile() = default;
    explicit SettingsFile(const QString &path) { load(path); }

    // A missing or unreadable file, or one that is no regular file, reads as empty; of a larger
    // file only the first MaxBytes are read.
    void load(const QString &path);
    static constexpr qint64 MaxBytes = 1024 * 1024;
    // False with the system's reason when the file could not be written.
    bool save(QString *reason = nullptr) const;
    const QString &path() const { return path_; }

    QString value(const QString &section, const QString &key, const QString &fallback = {}) const;
    void setValue(const QString &section, const QString &key, const QString &value);

    // The program's own path with its extension replaced by ".dev".
    static QString pathForProgram(const QString &programPath);

private:
    int findSection(const QString &section) const;
    int findKey(int sectionLine, const QString &key) const;

    QString path_;
    QStringList lines_;
};

// The section of the port keys and the code page.
inline constexpr char PortParamsSection[] = "PortParams";

// COM1..COM6 as the settings map them: "Device1".."Device6" in "PortParams" override the defaults.
DeviceMap deviceMapFrom(const SettingsFile &settings);
// The port the station used last, "ComInteger" in "PortParams": 1 (COM2) without the key, -1 when
// the value is not a number, so that no port is remembered and the scan finds one.
int rememberedPort(const SettingsFile &settings);

} // namespace vlink
