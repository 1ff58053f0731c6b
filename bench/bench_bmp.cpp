// The logo family: converting a full-size logo BMP, what every logo load dialog does first.

#include "bench/bench.h"
#include "graphics/model/logo_bmp.h"

#include <QElapsedTimer>
#include <QImage>
#include <QTemporaryDir>
#include <cstdio>

namespace bench
{

namespace
{

constexpr int Runs = 2000;
constexpr double BmpGoalMs = 2.0;
constexpr int Width = 125;
constexpr int Height = 32;

// A 1-bit bitmap with dots spread over all of it, the last column and the top row included.
bool writeLogo(const QString &path)
{
    QImage image(Width, Height, QImage::Format_Mono);
    image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            const bool dot = (x * 7 + y * 3) % 5 == 0 || x == Width - 1 || y == 0;
            image.setPixel(x, y, dot ? 0 : 1);
        }
    return image.save(path, "BMP");
}

bool bmpConversion()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("logo.bmp");
    if (!dir.isValid() || !writeLogo(path)) {
        std::printf("   cannot write the test bitmap\n");
        return false;
    }
    vlink::LogoBuffer logo;
    if (vgfx::convertBmpToLogo(path, logo) != vgfx::BmpLoad::Loaded || logo.width != Width ||
        logo.height != Height / 8) {
        std::printf("   the bitmap did not convert to %d x %d\n", Width, Height / 8);
        return false;
    }
    QElapsedTimer wall;
    const qint64 cpuStart = processCpuNs();
    wall.start();
    for (int i = 0; i < Runs; ++i)
        vgfx::convertBmpToLogo(path, logo);
    const double wallMs = double(wall.nsecsElapsed()) / 1e6 / Runs;
    const double cpuMs = double(processCpuNs() - cpuStart) / 1e6 / Runs;
    std::printf("   %d conversions of a %d x %d BMP: %.3f ms each (%.3f ms CPU), goal under %.0f "
                "ms\n",
                Runs, Width, Height, wallMs, cpuMs, BmpGoalMs);
    return wallMs < BmpGoalMs;
}

} // namespace

Cases logoCases()
{
    return {{QStringLiteral("logo BMP conversion 125 x 32"), bmpConversion}};
}

} // namespace bench
