#include "support/vuvactl_run.h"

#include "support/pty_vprinter.h"

#include <QProcess>

VuvactlRun runVuvactl(const QStringList &args, const QString &program, int timeoutMs)
{
    QProcess process;
    process.start(program.isEmpty() ? VPrinterProcess::binary("vuvactl") : program, args);
    VuvactlRun run;
    if (!process.waitForFinished(timeoutMs) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.errLines = QString::fromUtf8(process.readAllStandardError()).split(u'\n');
    while (!run.errLines.isEmpty() && run.errLines.last().trimmed().isEmpty())
        run.errLines.removeLast();
    run.lastErr = run.errLines.value(run.errLines.size() - 1);
    return run;
}
