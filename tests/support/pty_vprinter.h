#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// build/bin/vprinter as a child process, for tests that go through a real pseudo-terminal.
// The binary comes from VUVA_BIN_DIR, which the test build sets. It runs paced, so that it checks
// the timing of every byte, and must count no protocol error unless the test expects some.
class VPrinterProcess
{
public:
    VPrinterProcess() = default;
    // Terminates it and checks the protocol errors it reported.
    ~VPrinterProcess();
    VPrinterProcess(const VPrinterProcess &) = delete;
    VPrinterProcess &operator=(const VPrinterProcess &) = delete;

    // Starts it with the given options and --pace and returns its device file; empty on failure,
    // with the reason in errorText(). Fault options make any number of protocol errors expected.
    QString start(const QStringList &args = {});
    // -1: any number.
    void expectProtocolErrors(int count) { expectedErrors_ = count; }
    const QString &device() const { return device_; }
    const QString &errorText() const { return error_; }
    // SIGKILL: the line hangs up at once; nothing is checked.
    void kill();
    // SIGTERM and wait; true when it exited cleanly with status 0. Checks the protocol errors.
    bool terminate();

    // A program of the build, e.g. "vprinter" or "vuvactl".
    static QString binary(const QString &name);

private:
    QProcess process_;
    QString device_;
    QString error_;
    int expectedErrors_ = 0;
};
