// The lane kernel four lanes wide: the baseline every supported CPU runs (SSE2
// on x86; generic vectors elsewhere); and the one-lane kernel, a lone voice
// with four of its samples per vector.
#include <cstdint>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "engine/voice_kernel.h"
// After voice_kernel.h:
#include "engine/one_voice_kernel.h"

namespace {

struct Sse2Ops {
    static constexpr int32_t kWidth = 4;
    typedef float F __attribute__((vector_size(16)));
    typedef int32_t I __attribute__((vector_size(16)));
    typedef uint32_t U __attribute__((vector_size(16)));
    typedef double D __attribute__((vector_size(32)));

    static F gather(const float* base, I index) {
        return F{base[index[0]], base[index[1]], base[index[2]], base[index[3]]};
    }

    static void gatherPairs(const float* base, I index, F& here, F& next) {
#if defined(__SSE2__)
        // One 64-bit load per lane brings both neighbours; two shuffles sort them.
        double pair[4];
        for (int32_t l = 0; l < kWidth; ++l) std::memcpy(&pair[l], base + index[l], sizeof pair[l]);
        const __m128 pairs01 = _mm_castpd_ps(_mm_set_pd(pair[1], pair[0]));
        const __m128 pairs23 = _mm_castpd_ps(_mm_set_pd(pair[3], pair[2]));
        here = (F)_mm_shuffle_ps(pairs01, pairs23, _MM_SHUFFLE(2, 0, 2, 0));
        next = (F)_mm_shuffle_ps(pairs01, pairs23, _MM_SHUFFLE(3, 1, 3, 1));
#else
        here = gather(base, index);
        next = gather(base + 1, index);
#endif
    }

    static F select(I mask, F yes, F no) { return (F)(((I)yes & mask) | ((I)no & ~mask)); }

    static bool any(I mask) {
#if defined(__SSE2__)
        return _mm_movemask_ps((__m128)mask) != 0;
#else
        return (mask[0] | mask[1] | mask[2] | mask[3]) != 0;
#endif
    }
};

}  // namespace

void runLanesSse2(VoiceLanes& lanes, const LaneUniforms& uniforms, int32_t first, int32_t count) {
    LaneKernelOf<Sse2Ops>::run(lanes, uniforms, first, count);
}

void runLanesSingle(VoiceLanes& lanes, const LaneUniforms& uniforms, int32_t first, int32_t count) {
    OneVoiceKernelOf<Sse2Ops>::run(lanes, uniforms, first, count);
}
