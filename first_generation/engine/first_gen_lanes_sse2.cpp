// The first generation's lane kernel 4 lanes wide: the baseline every supported CPU runs.
#include <cstdint>
#include <cstring>
#include <initializer_list>

#include "first_generation/engine/first_gen_lanes.h"

#include "first_generation/engine/first_gen_lane_kernel.h"

namespace {

struct Sse2Ops {
    static constexpr int32_t kWidth = 4;
    typedef float F __attribute__((vector_size(16)));
    typedef int32_t I __attribute__((vector_size(16)));
};

}  // namespace

void runFirstGenLanesSse2(FirstGenLanes& lanes, const FirstGenLaneUniforms& uniforms, int32_t first, int32_t count) {
    FirstGenLaneKernelOf<Sse2Ops>::run(lanes, uniforms, first, count);
}
