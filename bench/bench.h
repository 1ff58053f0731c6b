#pragma once

#include "link/com_io.h"
#include "vprinter/pty_frontend.h"

#include <QString>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

// vuva_bench: timing of the link against the virtual printer. Cases come in families, each a
// function returning its cases from a file of its own (bench/bench_link.cpp: linkCases()). To add
// a family, declare its function here and list it in allCases() in bench/registry.cpp.
namespace bench
{

// One measurement: prints its figures and returns whether it met its goal.
struct Case {
    QString name;
    std::function<bool()> run;
};
using Cases = std::vector<Case>;

Cases linkCases();
Cases logoCases();
Cases logoTransferCases(); // bench/bench_logo.cpp
Cases markImageCases();    // bench/bench_mark_image.cpp
Cases hydroCases();        // bench/bench_hydro.cpp
Cases bulkCopyCases();     // bench/bench_bulk_copy.cpp
Cases clipboardCases();    // bench/bench_clipboard.cpp
Cases networkCases();      // bench/bench_network.cpp
Cases faultSoakCases();    // bench/bench_fault_soak.cpp
Cases unplugSoakCases();   // bench/bench_unplug_soak.cpp, with the station's shell
Cases batchCases();        // bench/bench_batch.cpp
Cases dataFileCases();     // bench/bench_data_file.cpp
Cases allCases();

// The virtual printer's pseudo-terminal front end, served on a thread of this process.
class FrontendThread
{
public:
    explicit FrontendThread(const vp::FrontendOptions &options = {});
    ~FrontendThread();
    FrontendThread(const FrontendThread &) = delete;
    FrontendThread &operator=(const FrontendThread &) = delete;
    // The device file to open; empty when the pseudo-terminal could not be made.
    const QString &device() const { return device_; }
    // Safe while the line is served.
    qint64 echoFaultsInjected() const { return frontend_->device().echoFaultsInjected(); }
    // The printer's end hangs up as the count-th byte from now arrives.
    void hangUpAt(int count) { frontend_->hangUpAt(count); }

private:
    std::unique_ptr<vp::PtyFrontend> frontend_;
    std::thread thread_;
    QString device_;
};

// The station's port on a device file, as COM1 at the speed of the index (6: 57600 bit/s);
// nothing when there is no device file or the speed cannot be set.
std::unique_ptr<vlink::ComIo> openLine(const QString &device, int speedIndex = 6);

// CPU time of the whole process, in nanoseconds.
qint64 processCpuNs();
// CPU time of the calling thread, in nanoseconds.
qint64 threadCpuNs();

// A run against its line time: no run beats the bytes on the wire, so a ratio below 1 means the
// figure counts time that is not on the line, or the paced device lets bytes through unpaced.
inline bool wireRatioMet(double ratio, double goal)
{
    return ratio >= 1.0 && ratio <= goal;
}

} // namespace bench
