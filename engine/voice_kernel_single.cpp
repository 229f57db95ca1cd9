// The lane kernel one lane wide: a lone voice, or the one left over after the
// wider groups, pays for no padding lanes. Plain float and double arithmetic
// on one-element vectors, so every target runs it.
#include <cstdint>
#include <cstring>

#include "engine/voice_kernel.h"

namespace {

struct SingleLaneOps {
    static constexpr int32_t kWidth = 1;
    typedef float F __attribute__((vector_size(4)));
    typedef int32_t I __attribute__((vector_size(4)));
    typedef uint32_t U __attribute__((vector_size(4)));
    typedef double D __attribute__((vector_size(8)));

    static F gather(const float* base, I index) { return F{base[index[0]]}; }
    static void gatherPairs(const float* base, I index, F& here, F& next) {
        here = F{base[index[0]]};
        next = F{base[index[0] + 1]};
    }
    static F select(I mask, F yes, F no) { return (F)(((I)yes & mask) | ((I)no & ~mask)); }
    static bool any(I mask) { return mask[0] != 0; }
};

}  // namespace

void runLanesSingle(VoiceLanes& lanes, const LaneUniforms& uniforms, int32_t first, int32_t count) {
    LaneKernelOf<SingleLaneOps>::run(lanes, uniforms, first, count);
}
