// The lane kernel sixteen lanes wide with AVX-512 gathers, chosen at run time
// at SimdLevel::kAvx512: sixteen voices in one pass. No FMA: the samples
// must equal the SSE2 kernel's.
#include <cstdint>
#include <cstring>

#include "engine/voice_lanes.h"
#include "numerics/simd_level.h"
#include "numerics/target_region.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

NUBBEL_BEGIN_TARGET(NUBBEL_AVX512_TARGET)
// GCC 12's AVX-512 headers start several intrinsics from an "undefined"
// register and then warn about it being uninitialised.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"

#include "engine/voice_kernel.h"

namespace {

struct Avx512Ops {
    static constexpr int32_t kWidth = 16;
    typedef float F __attribute__((vector_size(64)));
    typedef int32_t I __attribute__((vector_size(64)));
    typedef uint32_t U __attribute__((vector_size(64)));
    typedef double D __attribute__((vector_size(128)));

    static __mmask16 maskOf(I mask) { return _mm512_test_epi32_mask((__m512i)mask, (__m512i)mask); }

    static F gather(const float* base, I index) { return (F)_mm512_i32gather_ps((__m512i)index, base, 4); }

    // base[index] and base[index + 1] as one 64-bit element per lane. The
    // shuffles leave 64-bit units in the order 0 4 1 5 2 6 3 7 (pairs of lanes);
    // the permute puts them right.
    static void gatherPairs(const float* base, I index, F& here, F& next) {
        const __m512i lanes = (__m512i)index;
        const __m512 low = _mm512_castpd_ps(_mm512_i32gather_pd(_mm512_castsi512_si256(lanes), base, 4));
        const __m512 high = _mm512_castpd_ps(_mm512_i32gather_pd(_mm512_extracti64x4_epi64(lanes, 1), base, 4));
        const __m512i inOrder = _mm512_setr_epi64(0, 2, 4, 6, 1, 3, 5, 7);
        here =
            (F)_mm512_castpd_ps(_mm512_permutexvar_pd(inOrder, _mm512_castps_pd(_mm512_shuffle_ps(low, high, 0x88))));
        next =
            (F)_mm512_castpd_ps(_mm512_permutexvar_pd(inOrder, _mm512_castps_pd(_mm512_shuffle_ps(low, high, 0xDD))));
    }

    static F select(I mask, F yes, F no) { return (F)_mm512_mask_blend_ps(maskOf(mask), (__m512)no, (__m512)yes); }
    static bool any(I mask) { return maskOf(mask) != 0; }
};

}  // namespace

void runLanesAvx512(VoiceLanes& lanes, const LaneUniforms& uniforms, int32_t first, int32_t count) {
    LaneKernelOf<Avx512Ops>::run(lanes, uniforms, first, count);
}

#pragma GCC diagnostic pop
NUBBEL_END_TARGET

#else

void runLanesAvx512(VoiceLanes& lanes, const LaneUniforms& uniforms, int32_t first, int32_t count) {
    runLanesSse2(lanes, uniforms, first, count);
}

#endif
