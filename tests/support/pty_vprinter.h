#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// build/bin/vprinter as a child process, for tests that go through a real pseudo-terminal.
// The binary comes from VUVA_BIN_DIR, which the test build sets.
class VPrinterProcess
{
public:
    VPrinterProcess() = default;
    ~VPrinterProcess();
    VPrinterProcess(const VPrinterProcess &) = delete;
    VPrinterProcess &operator=(const VPrinterProcess &) = delete;

    // Starts it with the given options and returns its device file; empty on failure, with the
    // reason in errorText().
    QString start(const QStringList &args = {});
    const QString &device() const { return device_; }
    const QString &errorText() const { return error_; }
    // SIGKILL: the line hangs up at once.
    void kill();
    // SIGTERM and wait; true when it exited cleanly with status 0.
    bool terminate();
    QProcess &process() { return process_; }

    // A program of the build, e.g. "vprinter" or "vuvactl".
    static QString binary(const QString &name);

private:
    QProcess process_;
    QString device_;
    QString error_;
};
