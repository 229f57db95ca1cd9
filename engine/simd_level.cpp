#include "engine/simd_level.h"

namespace {

bool cpuHas(SimdLevel level) {
    __builtin_cpu_init();
    switch (level) {
        case SimdLevel::kSse2: return true;
        case SimdLevel::kAvx2: return __builtin_cpu_supports("avx2");
        case SimdLevel::kAvx512:
            return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512dq") &&
                   __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vl");
    }
    return false;
}

}  // namespace

bool simdLevelSupported(SimdLevel level) {
    static const bool supported[] = {true, cpuHas(SimdLevel::kAvx2), cpuHas(SimdLevel::kAvx512)};
    return supported[static_cast<int>(level)];
}

SimdLevel bestSimdLevel() {
    if (simdLevelSupported(SimdLevel::kAvx512)) return SimdLevel::kAvx512;
    if (simdLevelSupported(SimdLevel::kAvx2)) return SimdLevel::kAvx2;
    return SimdLevel::kSse2;
}
