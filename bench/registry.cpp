#include "bench/bench.h"

#include <ctime>

namespace bench
{

Cases allCases()
{
    Cases all;
    for (Cases family : {linkCases(), logoCases(), logoTransferCases(), markImageCases(),
                         hydroCases(), bulkCopyCases(), clipboardCases(), networkCases(),
                         faultSoakCases(), batchCases(), dataFileCases()})
        all.insert(all.end(), family.begin(), family.end());
#ifdef VUVA_BENCH_STATION
    const Cases station = unplugSoakCases();
    all.insert(all.end(), station.begin(), station.end());
#endif
    return all;
}

FrontendThread::FrontendThread(const vp::FrontendOptions &options)
    : frontend_(std::make_unique<vp::PtyFrontend>(options))
{
    QString error;
    if (!frontend_->open(error)) {
        qWarning("vprinter front end: %s", qPrintable(error));
        return;
    }
    device_ = frontend_->devicePath();
    thread_ = std::thread([this] { frontend_->run(); });
}

FrontendThread::~FrontendThread()
{
    if (thread_.joinable()) {
        frontend_->stop();
        thread_.join();
    }
}

qint64 processCpuNs()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

qint64 threadCpuNs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

} // namespace bench
