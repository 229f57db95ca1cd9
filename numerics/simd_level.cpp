#include "numerics/simd_level.h"

namespace {

bool cpuHas(SimdLevel level) {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_cpu_init();
    switch (level) {
        case SimdLevel::kSse2: return true;
        case SimdLevel::kAvx2: return __builtin_cpu_supports("avx2");
        case SimdLevel::kAvx512:
            return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("avx512f") &&
                   __builtin_cpu_supports("avx512dq") && __builtin_cpu_supports("avx512bw") &&
                   __builtin_cpu_supports("avx512vl");
    }
    return false;
#else
    return level == SimdLevel::kSse2;  // the generic-vector baseline
#endif
}

}  // namespace

bool simdLevelSupported(SimdLevel level) {
    static const bool supported[] = {true, cpuHas(SimdLevel::kAvx2), cpuHas(SimdLevel::kAvx512)};
    const int index = static_cast<int>(level);
    return index >= 0 && index < static_cast<int>(sizeof supported) && supported[index];
}

SimdLevel usableSimdLevel(SimdLevel requested) {
    if (requested >= SimdLevel::kAvx512 && simdLevelSupported(SimdLevel::kAvx512)) return SimdLevel::kAvx512;
    if (requested >= SimdLevel::kAvx2 && simdLevelSupported(SimdLevel::kAvx2)) return SimdLevel::kAvx2;
    return SimdLevel::kSse2;
}

SimdLevel bestSimdLevel() { return usableSimdLevel(SimdLevel::kAvx512); }
