#pragma once

#include "link/port.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <span>

// One input the station takes from outside, driven by whatever bytes a fuzzer makes up.
struct FuzzTarget {
    const char *name;
    // A command that takes its reply from the line; the input's first byte picks which of the
    // variants runs, the rest is what the line carries.
    void (*drive)(vlink::Port &port, quint8 variant) = nullptr;
    int variants = 1;
    // A reader that takes its input as the bytes of a file.
    void (*read)(const QByteArray &bytes) = nullptr;
};

std::span<const FuzzTarget> fuzzTargets();
// Aborts, naming the target, when there is none of that name.
const FuzzTarget &fuzzTarget(const char *name);
void runFuzzTarget(const FuzzTarget &target, const std::uint8_t *data, std::size_t size);

// What a reader promises of its result; a broken promise aborts, which the fuzzer reports.
void fuzzCheck(bool promise, const char *what);

// The drivers, one family to a file.
void driveLogoRecords(vlink::Port &port, quint8 variant);
void driveLogoNames(vlink::Port &port, quint8 variant);
void driveDepotVersion(vlink::Port &port, quint8 variant);
void driveTimeParams(vlink::Port &port, quint8 variant);
void driveFragments(vlink::Port &port, quint8 variant);
void driveScripts(vlink::Port &port, quint8 variant);
void driveMarkImage(vlink::Port &port, quint8 variant);
void driveHydroText(vlink::Port &port, quint8 variant);
void readBmpLogo(const QByteArray &bytes);
void readSettingsFile(const QByteArray &bytes);
void readClipboardPicture(const QByteArray &bytes);
void readJobFile(const QByteArray &bytes);
