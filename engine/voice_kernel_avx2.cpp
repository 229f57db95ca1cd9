// The lane kernel eight lanes wide with AVX2 gathers, chosen at run time on
// CPUs that have AVX2. No FMA: the samples must equal the SSE2 kernel's.
#include <cstdint>
#include <cstring>

#include "engine/voice_lanes.h"
#include "numerics/target_region.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

NUBBEL_BEGIN_TARGET("avx2")

#include "engine/voice_kernel.h"

namespace {

struct Avx2Ops {
    static constexpr int32_t kWidth = 8;
    typedef float F __attribute__((vector_size(32)));
    typedef int32_t I __attribute__((vector_size(32)));
    typedef uint32_t U __attribute__((vector_size(32)));
    typedef double D __attribute__((vector_size(64)));

    static F gather(const float* base, I index) { return (F)_mm256_i32gather_ps(base, (__m256i)index, 4); }

    // base[index] and base[index + 1] as one 64-bit element per lane: half the
    // gathered elements of two float gathers. The shuffles leave the lanes in
    // the order 0 1 4 5 2 3 6 7, which the 64-bit permute puts right.
    static void gatherPairs(const float* base, I index, F& here, F& next) {
        const double* pairs = reinterpret_cast<const double*>(base);
        const __m256i lanes = (__m256i)index;
        const __m256d none = _mm256_setzero_pd();
        const __m256d all = _mm256_castsi256_pd(_mm256_set1_epi64x(-1));
        const __m256 low =
            _mm256_castpd_ps(_mm256_mask_i32gather_pd(none, pairs, _mm256_castsi256_si128(lanes), all, 4));
        const __m256 high =
            _mm256_castpd_ps(_mm256_mask_i32gather_pd(none, pairs, _mm256_extracti128_si256(lanes, 1), all, 4));
        constexpr int kInOrder = 0xD8;  // 64-bit units 0, 2, 1, 3
        here =
            (F)_mm256_castpd_ps(_mm256_permute4x64_pd(_mm256_castps_pd(_mm256_shuffle_ps(low, high, 0x88)), kInOrder));
        next =
            (F)_mm256_castpd_ps(_mm256_permute4x64_pd(_mm256_castps_pd(_mm256_shuffle_ps(low, high, 0xDD)), kInOrder));
    }

    static F select(I mask, F yes, F no) { return (F)_mm256_blendv_ps((__m256)no, (__m256)yes, (__m256)mask); }
    static bool any(I mask) { return _mm256_movemask_ps((__m256)mask) != 0; }
};

}  // namespace

void runLanesAvx2(VoiceLanes& lanes, const LaneUniforms& uniforms, int32_t first, int32_t count) {
    LaneKernelOf<Avx2Ops>::run(lanes, uniforms, first, count);
}

NUBBEL_END_TARGET

#else

void runLanesAvx2(VoiceLanes& lanes, const LaneUniforms& uniforms, int32_t first, int32_t count) {
    runLanesSse2(lanes, uniforms, first, count);
}

#endif
