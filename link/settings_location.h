#pragma once

#include <QString>
#include <functional>

namespace vlink
{

// What the choice of the settings file's folder depends on, so that it can be decided without
// touching the real file system.
struct SettingsPlaces {
    std::function<bool(const QString &folder)> writable;
    QString home;
    // XDG_CONFIG_HOME; a relative value is ignored, as desktop programs do.
    QString configHome = {};
};

// Beside the program (besidePath) while its folder is writable, as a station run from its build
// or unpacked folder keeps it; an installed station, whose folder belongs to the system, keeps it
// in the user's configuration folder (~/.config unless XDG_CONFIG_HOME names another) under the
// same name.
QString settingsLocation(const QString &besidePath, const SettingsPlaces &places);
// The same for this process: the folder's permission for this user, and the user's home.
QString settingsLocation(const QString &besidePath);

} // namespace vlink
