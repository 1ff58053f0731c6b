#include "support/pty_vprinter.h"

#include "support/protocol_check.h"

#include <QDeadlineTimer>
#include <QRegularExpression>

namespace
{

constexpr int StartTimeoutMs = 5000;

bool injectsFaults(const QStringList &args)
{
    for (const char *fault :
         {"--silent", "--drop-echo-at", "--wrong-echo-at", "--drop-echo-rate", "--wrong-echo-rate"})
        if (args.contains(QLatin1String(fault)))
            return true;
    return false;
}

// The lines that report a protocol warning.
QStringList warningLines(const QStringList &lines)
{
    QStringList warnings;
    for (const QString &line : lines)
        if (line.contains(QLatin1String("protocol warning at")))
            warnings << line;
    return warnings;
}

// The count from "vprinter: K protocol errors", its last line; -1 when it is missing.
int reportedErrors(const QStringList &lines)
{
    static const QRegularExpression total(QStringLiteral("^vprinter: (\\d+) protocol errors$"));
    const QRegularExpressionMatch m = total.match(lines.value(lines.size() - 1));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

} // namespace

VPrinterProcess::~VPrinterProcess()
{
    if (process_.state() != QProcess::NotRunning)
        terminate();
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
    expectedErrors_ = injectsFaults(args) ? -1 : 0;
    process_.setProgram(binary(QStringLiteral("vprinter")));
    process_.setArguments(args + QStringList{QStringLiteral("--pace")});
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
    QStringList lines = QString::fromLocal8Bit(process_.readAllStandardError()).split(u'\n');
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    const int count = reportedErrors(lines);
    checkProtocolCount(count, expectedErrors_, lines);
    checkProtocolWarnings(warningLines(lines));
    return process_.exitStatus() == QProcess::NormalExit && process_.exitCode() == 0;
}
