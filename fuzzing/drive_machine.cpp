#include "fuzzing/targets.h"

#include "link/hydro_commands.h"
#include "link/machine_commands.h"
#include "link/printer_clock.h"

using namespace vlink;

void driveTimeParams(Port &port, quint8)
{
    TimeParams params{};
    params.fill(0xA5);
    int filled = -1;
    const bool ok = TimeParamsRead(port, params, filled);
    fuzzCheck(filled >= 0 && filled <= TimeParamCount, "a time read fills at most 14 bytes");
    for (int i = filled; i < TimeParamCount; ++i)
        fuzzCheck(params[std::size_t(i)] == 0xA5, "bytes not sent keep what was there");
    if (!ok)
        return;
    // What the clock panel shows of it, whatever the bytes: a byte that is no BCD shows as the
    // digits its nibbles make.
    clockText(params);
}

// As the hydraulic panel opens: the keyboard channel first, then the parameter text.
void driveHydroText(Port &port, quint8)
{
    if (!KeyBoardChanelOpen(port))
        return;
    QByteArray text;
    const bool ok = HydroParamsRead(port, text);
    fuzzCheck(text.size() <= HydroTextLength, "a hydraulic text has at most 37 characters");
    fuzzCheck(!ok || text.size() == HydroTextLength, "a good hydraulic text is whole");
    const auto values = DecodeHydroText(text);
    if (!values)
        return;
    for (std::size_t r = 0; r < values->size(); ++r) {
        const HydroRow &row = hydroRows()[r];
        fuzzCheck(row.first + row.count <= text.size(), "a row reads within the text");
    }
}
