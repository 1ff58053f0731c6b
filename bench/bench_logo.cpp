// A whole logo record each way at 57600 bit/s, the printer pacing its line, against what the bytes
// and the commands' own pauses cost on the wire.

#include "bench/bench.h"
#include "link/com_io.h"
#include "link/logo_commands.h"
#include "link/logo_record.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace bench
{

namespace
{

constexpr int LogoBps = 57600;
constexpr int LogoSpeedIndex = 6;
constexpr int LogoRounds = 7;
constexpr double LogoRatioGoal = 1.10;
constexpr int LogoNumber = 42;

// Bytes on the line, each 10 bits, one after another: an echoed byte goes out and comes back.
constexpr int LogoWriteBytes = 3 * 2 // 0x07, 0x89, n with their echoes
                               + 1   // W, bare (H crosses during the pause after it)
                               + vlink::LogoBlockSize // the block
                               + 2; // the device's "s" and the echo the read queues behind
constexpr int LogoWritePausesMs = 2 * vlink::LogoHeaderPauseMs;
constexpr int LogoReadBytes = 3 * 2                   // 0x07, 0x01, n with their echoes
                              + vlink::LogoRecordSize // the record
                              + 2;                    // the closing "s" and its echo

double logoWireMs(int bytes)
{
    return bytes * 10.0 * 1000.0 / LogoBps;
}

// 125 columns of four bands: the 500 dot bytes a record carries at most.
vlink::LogoBuffer fullLogo()
{
    vlink::LogoBuffer logo;
    logo.width = 125;
    logo.height = 4;
    logo.name = "BENCH";
    for (int c = 0; c < logo.width; ++c)
        for (int b = 0; b < logo.height; ++b)
            logo.at(c, b) = quint8(c * 7 + b * 31);
    return logo;
}

struct LogoRound {
    double writeMs = -1; // -1: the transfer failed
    double readMs = -1;
};

LogoRound transfer(vlink::Port &port, const vlink::LogoBuffer &logo)
{
    LogoRound round;
    QElapsedTimer timer;
    timer.start();
    if (!vlink::PrinterLogoWrite(port, LogoNumber, logo))
        return round;
    round.writeMs = double(timer.nsecsElapsed()) / 1e6;
    vlink::LogoBuffer back;
    timer.restart();
    if (!vlink::PrinterLogoRead(port, LogoNumber, back).ok)
        return {};
    round.readMs = double(timer.nsecsElapsed()) / 1e6;
    // What came back must be the logo, bit order turned, or the timing means nothing.
    for (int c = 0; c < logo.width; ++c)
        for (int b = 0; b < logo.height; ++b)
            if (back.at(c, b) != vlink::BitReverse(logo.at(c, b)))
                return {};
    return round;
}

bool logoTransfer()
{
    vp::FrontendOptions options;
    options.speed = LogoBps;
    options.pace = true;
    FrontendThread printer(options);
    const std::unique_ptr<vlink::ComIo> opened = openLine(printer.device(), LogoSpeedIndex);
    if (!opened)
        return false;
    vlink::ComIo &port = *opened;

    const vlink::LogoBuffer logo = fullLogo();
    std::vector<double> writes, reads, totals;
    for (int r = 0; r < LogoRounds; ++r) {
        const LogoRound round = transfer(port, logo);
        if (round.readMs < 0) {
            std::printf("   the transfer failed\n");
            return false;
        }
        writes.push_back(round.writeMs);
        reads.push_back(round.readMs);
        totals.push_back(round.writeMs + round.readMs);
    }
    const auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    const double idealWrite = logoWireMs(LogoWriteBytes) + LogoWritePausesMs;
    const double idealRead = logoWireMs(LogoReadBytes);
    const double ratio = median(totals) / (idealWrite + idealRead);
    std::printf("   write: %7.2f ms (median of %d), wire %7.2f ms (%d bytes + %d ms pauses)\n",
                median(writes), LogoRounds, idealWrite, LogoWriteBytes, LogoWritePausesMs);
    std::printf("   read:  %7.2f ms (median of %d), wire %7.2f ms (%d bytes)\n", median(reads),
                LogoRounds, idealRead, LogoReadBytes);
    const double best = *std::min_element(totals.begin(), totals.end()) / (idealWrite + idealRead);
    std::printf("   ratio %.3f (best %.3f), goal 1.00 .. %.2f\n", ratio, best, LogoRatioGoal);
    return wireRatioMet(best, LogoRatioGoal) && ratio <= LogoRatioGoal;
}

} // namespace

Cases logoTransferCases()
{
    return {{QStringLiteral("logo: 512-byte record written and read at 57600 bit/s, paced"),
             logoTransfer}};
}

} // namespace bench
