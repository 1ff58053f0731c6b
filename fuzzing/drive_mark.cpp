#include "fuzzing/targets.h"

#include "link/mark_commands.h"
#include "link/mark_image.h"

using namespace vlink;

void driveFragments(Port &port, quint8)
{
    Fragment fragment;
    fragment.text = QByteArrayLiteral("kept");
    const bool ok = TextFragmentRead(port, 1, 2, fragment);
    fuzzCheck(ok || fragment.text == "kept", "a failed fragment read leaves the fragment");
}

void driveScripts(Port &port, quint8 variant)
{
    QByteArray script = QByteArrayLiteral("kept");
    const bool ok = variant == 0 ? SpecFuncRead(port, script) : ScriptRead(port, script);
    fuzzCheck(ok || script == "kept", "a failed script read leaves the script");
}

void driveMarkImage(Port &port, quint8)
{
    MarkImage image;
    int barAt = 0;
    MarkImageProgress progress;
    progress.bar = [&barAt](int position) {
        fuzzCheck(position >= barAt && position <= MarkImageBarSteps, "the bar only moves on");
        barAt = position;
    };
    const bool ok = MarkImageRead(port, image, progress);
    if (!ok)
        return;
    fuzzCheck(image.rows >= 0 && image.rows <= MarkImage::Bands, "a mark has at most 4 bands");
    fuzzCheck(image.width >= 0 && image.width <= MarkImage::Columns, "a mark fits its columns");
    // What the preview does with it: every dot the image claims lies in the store (the build's
    // checked containers abort otherwise).
    int dots = 0;
    for (int c = 0; c < image.width; ++c)
        for (int h = 0; h < image.rows * 8; ++h)
            dots += image.dot(c, h);
    fuzzCheck(dots >= 0, "a dot count");
}
