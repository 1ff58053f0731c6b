#include "fuzzing/targets.h"

// Built once per target; VUVA_FUZZ_TARGET names it.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const FuzzTarget &target = fuzzTarget(VUVA_FUZZ_TARGET);
    runFuzzTarget(target, data, size);
    return 0;
}
