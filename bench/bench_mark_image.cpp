// The whole mark image read on a paced line at the top and the bottom speed, against its wire
// time, and the processor the station's thread spends meanwhile, repaint points included.

#include "bench/bench.h"
#include "link/com_io.h"
#include "link/mark_commands.h"
#include "link/mark_image.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <ctime>
#include <memory>

namespace bench
{

namespace
{

constexpr double ImageRatioGoal = 1.05;
constexpr double ImageCpuGoalPercent = 10.0;
// The request's three bytes out and their echoes back, then the header and the 5120 bytes.
constexpr int WireBytes = 2 * 3 + 3 + vlink::MarkImage::TransferBytes;

// A mark of four rows in the tallest font, so the image fills its 32 dots.
bool compose(vlink::Port &port)
{
    for (int row = 1; row <= 4; ++row)
        if (!vlink::TextFragmentWrite(port, row, 1, "MARK 0123") ||
            !vlink::FontSet(port, 3, row, 1))
            return false;
    return true;
}

bool markImageRead(int bps, int speedIndex)
{
    vp::FrontendOptions options;
    options.speed = bps;
    options.pace = true;
    FrontendThread printer(options);
    const std::unique_ptr<vlink::ComIo> opened = openLine(printer.device(), speedIndex);
    if (!opened)
        return false;
    vlink::ComIo &port = *opened;
    if (!compose(port))
        return false;
    const auto image = std::make_unique<vlink::MarkImage>();
    int bar = 0;
    vlink::MarkImageProgress progress;
    progress.bar = [&bar](int position) { bar = position; };
    progress.repaint = [] { QCoreApplication::processEvents(); };
    QElapsedTimer wall;
    const qint64 cpuStart = threadCpuNs();
    wall.start();
    const bool ok = vlink::MarkImageRead(port, *image, progress);
    const double wallMs = double(wall.nsecsElapsed()) / 1e6;
    const double cpuPercent = 100.0 * double(threadCpuNs() - cpuStart) / 1e6 / wallMs;
    if (!ok || bar != vlink::MarkImageBarSteps) {
        std::printf("   the read failed\n");
        return false;
    }
    const double wireMs = WireBytes * 10.0 * 1000.0 / bps;
    const double ratio = wallMs / wireMs;
    std::printf("   %d bit/s: %8.1f ms, wire %8.1f ms (%d bytes), image %d*%d\n", bps, wallMs,
                wireMs, WireBytes, image->rows, image->width);
    std::printf("   ratio %.3f, goal 1.00 .. %.2f; station CPU %.2f %% of wall time, goal < %.0f "
                "%%\n",
                ratio, ImageRatioGoal, cpuPercent, ImageCpuGoalPercent);
    return wireRatioMet(ratio, ImageRatioGoal) && cpuPercent < ImageCpuGoalPercent;
}

} // namespace

Cases markImageCases()
{
    return {
        {"mark image read 57600", [] { return markImageRead(57600, 6); }},
        {"mark image read 9600", [] { return markImageRead(9600, 3); }},
    };
}

} // namespace bench
