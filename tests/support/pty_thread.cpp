#include "support/pty_thread.h"

#include "support/protocol_check.h"

PtyThread::PtyThread(const vp::FrontendOptions &options)
    : frontend_(std::make_unique<vp::PtyFrontend>(options))
{
}

PtyThread::~PtyThread()
{
    close();
}

QString PtyThread::start()
{
    stop();
    if (!frontend_ || (frontend_->devicePath().isEmpty() && !frontend_->open(error_)))
        return {};
    thread_ = std::thread([this] { frontend_->run(); });
    return frontend_->devicePath();
}

void PtyThread::stop()
{
    if (!thread_.joinable())
        return;
    frontend_->stop();
    thread_.join();
}

void PtyThread::close()
{
    stop();
    if (frontend_ && !frontend_->devicePath().isEmpty())
        checkProtocol(frontend_->device(), expectedErrors_);
    frontend_.reset();
}
