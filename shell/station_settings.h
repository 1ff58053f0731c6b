#pragma once

#include <QString>

namespace vshell
{

// Section "PortParams" of the settings file beside the program, as the station reads it at start.
struct PortSettings {
    QString com = QStringLiteral("com1");
    int comInteger = 1; // COM2; -1 when the file holds no usable port
    QString speed = QStringLiteral("9600");
};

PortSettings readPortSettings(const QString &path);
// Written at every close of the main window; the rest of the file is kept.
bool writeComInteger(const QString &path, int port);
// Written by the port settings dialog.
bool writePortParams(const QString &path, const QString &com, const QString &speed);

} // namespace vshell
