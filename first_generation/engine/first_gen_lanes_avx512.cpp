// The first generation's lane kernel sixteen lanes wide, chosen at run time where the CPU
// has AVX-512; no FMA, so the samples equal the SSE2 kernel's.
#include <cstdint>
#include <cstring>
#include <initializer_list>

#include "first_generation/engine/first_gen_lanes.h"
#include "numerics/target_region.h"

NUBBEL_BEGIN_TARGET("avx512f")

#include "first_generation/engine/first_gen_lane_kernel.h"

void runFirstGenLanesAvx512(FirstGenLanes& lanes, const FirstGenLaneUniforms& uniforms, int32_t first, int32_t count) {
    runFirstGenLaneKernel<16>(lanes, uniforms, first, count);
}

NUBBEL_END_TARGET
