#pragma once

#include "vprinter/pty_frontend.h"

#include <memory>
#include <thread>

// The pseudo-terminal front end in this process, on a thread of its own, so a test can look at the
// device model once the line has been served.
class PtyThread
{
public:
    explicit PtyThread(const vp::FrontendOptions &options = {});
    // Checks that the device counted the protocol errors expected (none, unless said otherwise).
    ~PtyThread();
    PtyThread(const PtyThread &) = delete;
    PtyThread &operator=(const PtyThread &) = delete;

    // Opens the pseudo-terminal and starts serving it; returns its device file (empty on failure).
    QString start();
    // Stops serving; the line stays open until close().
    void stop();
    // Stops and closes the master: the station sees a hang-up.
    void close();
    // The printer's end hangs up, unanswered, as the count-th byte from now arrives.
    void hangUpAt(int count) { frontend_->hangUpAt(count); }
    // -1: any number.
    void expectProtocolErrors(int count) { expectedErrors_ = count; }
    // The device model; only while stopped.
    vp::Device &device() { return frontend_->device(); }
    const QString &errorText() const { return error_; }

private:
    std::unique_ptr<vp::PtyFrontend> frontend_;
    std::thread thread_;
    QString error_;
    int expectedErrors_ = 0;
};
