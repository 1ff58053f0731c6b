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
// Each write keeps the rest of the file and answers what the operator is told when it fails, the
// file and the reason; empty when written.
// Written at every close of the main window.
QString writeComInteger(const QString &path, int port);
// Written by the port settings dialog.
QString writePortParams(const QString &path, const QString &com, const QString &speed);

} // namespace vshell
