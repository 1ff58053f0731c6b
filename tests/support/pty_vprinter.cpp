#include "support/pty_vprinter.h"

#include <QDeadlineTimer>

namespace
{
constexpr int StartTimeoutMs = 5000;
}

VPrinterProcess::~VPrinterProcess()
{
    kill();
}

QString VPrinterProcess::binary(const QString &name)
{
    const QString dir = qEnvironmentVariable("VUVA_BIN_DIR");
    return dir.isEmpty() ? name : dir + u'/' + name;
}

QString VPrinterProcess::start(const QStringList &args)
{
    kill();
    device_.clear();
    error_.clear();
    process_.setProgram(binary(QStringLiteral("vprinter")));
    process_.setArguments(args);
    process_.setReadChannel(QProcess::StandardOutput);
    process_.start();
    if (!process_.waitForStarted(StartTimeoutMs)) {
        error_ = process_.errorString();
        return {};
    }
    // The first line on stdout is the device file.
    QDeadlineTimer deadline(StartTimeoutMs);
    while (!process_.canReadLine() && !deadline.hasExpired() &&
           process_.state() == QProcess::Running)
        process_.waitForReadyRead(int(deadline.remainingTime()));
    if (!process_.canReadLine()) {
        error_ = QStringLiteral("vprinter printed no device: %1")
                     .arg(QString::fromLocal8Bit(process_.readAllStandardError()));
        kill();
        return {};
    }
    device_ = QString::fromLocal8Bit(process_.readLine()).trimmed();
    return device_;
}

void VPrinterProcess::kill()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(StartTimeoutMs);
    }
}

bool VPrinterProcess::terminate()
{
    if (process_.state() == QProcess::NotRunning)
        return false;
    process_.terminate();
    if (!process_.waitForFinished(StartTimeoutMs)) {
        kill();
        return false;
    }
    return process_.exitStatus() == QProcess::NormalExit && process_.exitCode() == 0;
}
