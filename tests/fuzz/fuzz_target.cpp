// A libFuzzer target: every input is a host script for the instrument named
// at build time (NUBBEL_FUZZ_PLUGIN, the built library of this flavour).
#include <cstddef>
#include <cstdint>

#include "tests/fuzz/host_script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzhost::runHostScript(NUBBEL_FUZZ_PLUGIN, data, size);
    return 0;
}
