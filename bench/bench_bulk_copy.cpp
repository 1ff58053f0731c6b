// The library's bulk copy of 50 logos from the Depot to the printer at 57600 bit/s, the device
// pacing its line, against what the bytes and the commands' own pauses cost on the wire.

#include "bench/bench.h"
#include "graphics/model/logo_copy.h"
#include "link/com_io.h"
#include "link/depot_commands.h"
#include "link/logo_record.h"

#include <QElapsedTimer>
#include <cstdio>

namespace bench
{

namespace
{

constexpr int CopyBps = 57600;
constexpr int CopySpeedIndex = 6;
constexpr int Logos = 50;
constexpr double CopyRatioGoal = 1.05;

// Per logo, what holds the line: the Depot read (0x12 0x23 0x52 and n echoed, the record the
// device streams, the closing "s" echoed) and the printer copy write (0x07 0x89 n echoed, W bare,
// the block, the device's "s" and the station's echo the next command queues behind).
constexpr int CopyReadBytes = 4 * 2 + vlink::LogoRecordSize + 2;
// Only the pause before n leaves the line quiet; the two after it run while the record streams in.
constexpr int ReadPausesMs = vlink::DepotReadPauseMs;
// H crosses the line during the pause after it.
constexpr int CopyWriteBytes = 3 * 2 + 1 + vlink::LogoBlockSize + 2;
constexpr int CopyWritePausesMs = 2 * vlink::LogoHeaderPauseMs;

double copyWireMs(int bytes)
{
    return bytes * 10.0 * 1000.0 / CopyBps;
}

vlink::LogoBuffer benchLogo(int i)
{
    vlink::LogoBuffer logo;
    logo.width = 60;
    logo.height = 4;
    logo.name = "BULK" + QByteArray::number(i);
    for (int c = 0; c < logo.width; ++c)
        for (int b = 0; b < logo.height; ++b)
            logo.at(c, b) = quint8(c * 5 + b * 17 + i);
    return logo;
}

bool bulkCopy()
{
    vp::FrontendOptions options;
    options.kind = vp::Kind::ViaDepot;
    options.speed = CopyBps;
    options.pace = true;
    FrontendThread printer(options);
    const std::unique_ptr<vlink::ComIo> opened = openLine(printer.device(), CopySpeedIndex);
    if (!opened)
        return false;
    vlink::ComIo &port = *opened;
    for (int i = 0; i < Logos; ++i)
        if (!vlink::DPLogoWrite(port, i, benchLogo(i)))
            return false;

    QElapsedTimer timer;
    timer.start();
    vlink::LogoBuffer logo;
    for (int i = 0; i < Logos; ++i) {
        if (vgfx::copyLogo(port, vgfx::LogoStore::Depot, i, vgfx::LogoStore::Printer, 100 + i,
                           logo) != vgfx::CopyStep::Copied) {
            std::printf("   logo %d was not copied\n", i);
            return false;
        }
    }
    const double tookMs = double(timer.nsecsElapsed()) / 1e6;
    const double idealMs =
        Logos * (copyWireMs(CopyReadBytes + CopyWriteBytes) + ReadPausesMs + CopyWritePausesMs);
    const double ratio = tookMs / idealMs;
    std::printf("   %d logos: %8.1f ms, wire %8.1f ms (%d bytes + %d ms pauses a logo)\n", Logos,
                tookMs, idealMs, CopyReadBytes + CopyWriteBytes, ReadPausesMs + CopyWritePausesMs);
    std::printf("   ratio %.3f, goal 1.00 .. %.2f\n", ratio, CopyRatioGoal);
    return wireRatioMet(ratio, CopyRatioGoal);
}

} // namespace

Cases bulkCopyCases()
{
    return {
        {QStringLiteral("bulk copy: 50 logos from the Depot to the printer at 57600 bit/s, paced"),
         bulkCopy}};
}

} // namespace bench
