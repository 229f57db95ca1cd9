// The first generation's lane kernel 16 lanes wide, chosen at run time where the CPU has it; no FMA, so the samples
// equal the SSE2 kernel's.
#include <cstdint>
#include <cstring>
#include <initializer_list>

#include "first_generation/engine/first_gen_lanes.h"

#pragma GCC push_options
#pragma GCC target("avx512f")

#include "first_generation/engine/first_gen_lane_kernel.h"

namespace {

struct Avx512Ops {
    static constexpr int32_t kWidth = 16;
    typedef float F __attribute__((vector_size(64)));
    typedef int32_t I __attribute__((vector_size(64)));
};

}  // namespace

void runFirstGenLanesAvx512(FirstGenLanes& lanes, const FirstGenLaneUniforms& uniforms, int32_t first, int32_t count) {
    FirstGenLaneKernelOf<Avx512Ops>::run(lanes, uniforms, first, count);
}

#pragma GCC pop_options
