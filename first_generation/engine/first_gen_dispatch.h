// Choosing a kernel's build for a vector width at run time.
#pragma once

#include "engine/simd_level.h"

// Runs the build of a kernel for `level` when the CPU has that level, else
// the SSE2 build (which every target has).
template <typename Kernel, typename... Args>
auto runAtLevel(SimdLevel level, Kernel sse2, Kernel avx2, Kernel avx512, Args... args) {
    if (level == SimdLevel::kAvx512 && simdLevelSupported(level)) return avx512(args...);
    if (level == SimdLevel::kAvx2 && simdLevelSupported(level)) return avx2(args...);
    return sse2(args...);
}
