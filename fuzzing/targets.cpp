#include "fuzzing/targets.h"

#include "fuzzing/fuzz_port.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace
{

// To add a target: a row here, and a folder fuzzing/corpus/<name>/ with at least one seed; the
// build and ./fuzz find the targets by their corpus folders.
const std::array targets = {
    FuzzTarget{"logo_records", driveLogoRecords, 5},
    FuzzTarget{"logo_names", driveLogoNames, 2},
    FuzzTarget{"depot_version", driveDepotVersion},
    FuzzTarget{"time_params", driveTimeParams},
    FuzzTarget{"fragments", driveFragments},
    FuzzTarget{"scripts", driveScripts, 2},
    FuzzTarget{"mark_image", driveMarkImage},
    FuzzTarget{"hydro_text", driveHydroText},
    FuzzTarget{"bmp_logo", nullptr, 1, readBmpLogo},
    FuzzTarget{"settings_file", nullptr, 1, readSettingsFile},
    FuzzTarget{"clipboard_picture", nullptr, 1, readClipboardPicture},
    FuzzTarget{"job_file", nullptr, 1, readJobFile},
};

} // namespace

std::span<const FuzzTarget> fuzzTargets()
{
    return targets;
}

const FuzzTarget &fuzzTarget(const char *name)
{
    for (const FuzzTarget &t : targets)
        if (std::strcmp(t.name, name) == 0)
            return t;
    std::fprintf(stderr, "no fuzz target named %s\n", name);
    std::abort();
}

void runFuzzTarget(const FuzzTarget &target, const std::uint8_t *data, std::size_t size)
{
    if (target.read) {
        target.read(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
        return;
    }
    if (size == 0)
        return;
    FuzzPort port(data + 1, size - 1);
    target.drive(port, quint8(data[0] % target.variants));
}

void fuzzCheck(bool promise, const char *what)
{
    if (promise)
        return;
    std::fprintf(stderr, "broken promise: %s\n", what);
    std::abort();
}
