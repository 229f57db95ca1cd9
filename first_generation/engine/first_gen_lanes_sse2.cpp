// The first generation's lane kernel four lanes wide: the baseline every supported CPU runs.
#include <cstdint>
#include <cstring>
#include <initializer_list>

#include "first_generation/engine/first_gen_lanes.h"

#include "first_generation/engine/first_gen_lane_kernel.h"

void runFirstGenLanesSse2(FirstGenLanes& lanes, const FirstGenLaneUniforms& uniforms, int32_t first, int32_t count) {
    runFirstGenLaneKernel<4>(lanes, uniforms, first, count);
}
