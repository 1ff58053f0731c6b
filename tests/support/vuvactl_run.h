#pragma once

#include <QString>
#include <QStringList>

// One run of build/bin/vuvactl as a shell would see it.
struct VuvactlRun {
    int exitCode = -1; // -1 when it did not finish normally in time
    QString out;
    QStringList errLines; // without trailing blank lines
    QString lastErr;      // where the failure text stands
};

// program: another copy of the binary (e.g. one beside a test settings file); default the built
// one.
VuvactlRun runVuvactl(const QStringList &args, const QString &program = {}, int timeoutMs = 30000);
