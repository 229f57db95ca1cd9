// The table reads eight at a time in double arithmetic, chosen at run time at
// SimdLevel::kAvx512, where they cost about a fifth less than the x87 loop.
//
// Why doubles give the long double's float. Let here and next be normal
// floats whose exponents differ by at most 15, and f the read's fraction, a
// float. next - here then has at most 15 + 25 significant bits and its product
// with f at most 64: the long double holds both exactly, so it computes
// V = here + (next - here) f exactly, rounds V to 64 bits and that to a float.
// In doubles the difference d is exact too, the product is ph + pl exactly
// (pl from a fused multiply-subtract), here + ph is s + e exactly (two-sum),
// and e + pl is exact (below). So s2 = s + (e + pl) is V rounded once to 53
// bits.
//
// A float rounding depends only on where a value lies relative to the
// midpoints between neighbouring floats. Each midpoint is a double, so none
// lies strictly between V and s2 (it would be a nearer double than s2); and
// unless s2 is itself a midpoint, V rounded to 64 bits is none either (it
// would be within half a 64-bit step of V, and s2 would be that midpoint). So
// when s2 is no midpoint, rounding s2 to a float gives the long double's
// result.
//
// e + pl is exact: every term is a multiple of u, the lowest bit d and f can
// give the product, and a step of ph is at most 2^12 u (the product has at
// most 64 bits). Up to a gap of 4 the product is exact in double and pl = 0.
// From a gap of 5 |next - here| is at least 15/16 of the larger, so with f at
// least 2^-17 (or 0, when ph = pl = 0) |s| is at most 2^19 |ph|: |e| + |pl|
// stays below 2^20 steps of ph, 2^32 u, well inside 53 bits.
//
// The rest go to the x87: zero, subnormal or non-finite table values, wider
// gaps (a sample almost exactly at a zero crossing), exact midpoints and sums
// below 2^-125 (where flush-to-zero would act). On the factory programs' tables
// that is between one read in a hundred thousand and one in ten million; a
// silent table sends all of them.
#include <immintrin.h>

#include <cstdint>

#include "first_generation/engine/first_gen_table_reads.h"
#include "first_generation/engine/table_oscillator.h"
#include "numerics/simd_level.h"
#include "numerics/target_region.h"

NUBBEL_BEGIN_TARGET(NUBBEL_AVX512_TARGET)
// GCC 12's AVX-512 headers start several intrinsics from an "undefined"
// register and then warn about it being uninitialised.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"

namespace {

constexpr int32_t kBatch = 8;

#define NUBBEL_INLINE __attribute__((always_inline)) inline

// Two reads' (here, next) pairs per 128 bits: reads {0, 1, 4, 5} from `first`
// 0 and {2, 3, 6, 7} from `first` 2, so that the even and the odd floats of
// the two, shuffled together, come out in read order.
NUBBEL_INLINE __m256 loadPairs(const float* table, const uint32_t* index, int32_t first) {
    // Table pairs sit on any float boundary: loads that promise no alignment.
    auto pairAt = [&](int32_t read) { return table + index[first + read]; };
    auto lowPair = [&](int32_t read) {
        return _mm_castsi128_ps(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(pairAt(read))));
    };
    auto highPair = [&](__m128 low, int32_t read) {
        return _mm_loadh_pi(low, reinterpret_cast<const __m64*>(pairAt(read)));
    };
    const __m128 low = highPair(lowPair(0), 1);
    const __m128 high = highPair(lowPair(4), 5);
    return _mm256_insertf128_ps(_mm256_castps128_ps256(low), high, 1);
}

// Lanes whose double sum is the long double's float: here and next at most
// 15 binary orders of magnitude apart (zero, infinite and NaN values never
// are; under denormals-are-zero neither are subnormal ones), and the sum no
// float midpoint and at least 2^-125 in magnitude. Each test only narrows the
// mask of the one before.
NUBBEL_INLINE __mmask8 exactLanes(__m512d here, __m512d next, __m512d sum) {
    constexpr double kWidestGap = 15.0;
    constexpr double kSmallest = 0x1p-125;
    constexpr int64_t kBelowFloatStep = 0x1FFFFFFF;  // a double's bits 0..28
    constexpr int64_t kHalfFloatStep = 0x10000000;   // bit 28 alone: half a float step
    const __m512d gap = _mm512_abs_pd(_mm512_sub_pd(_mm512_getexp_pd(here), _mm512_getexp_pd(next)));
    const __mmask8 near = _mm512_cmp_pd_mask(gap, _mm512_set1_pd(kWidestGap), _CMP_LE_OQ);
    const __mmask8 large = _mm512_mask_cmp_pd_mask(near, _mm512_abs_pd(sum), _mm512_set1_pd(kSmallest), _CMP_GE_OQ);
    const __m512i belowStep = _mm512_and_si512(_mm512_castpd_si512(sum), _mm512_set1_epi64(kBelowFloatStep));
    return _mm512_mask_cmpneq_epi64_mask(large, belowStep, _mm512_set1_epi64(kHalfFloatStep));
}

// here + (next - here) f rounded once to 53 bits, for the lanes exactLanes
// admits.
NUBBEL_INLINE __m512d roundedOnce(__m512d here, __m512d next, __m512d f) {
    const __m512d d = _mm512_sub_pd(next, here);
    const __m512d ph = _mm512_mul_pd(d, f);
    const __m512d pl = _mm512_fmsub_pd(d, f, ph);
    const __m512d s = _mm512_add_pd(here, ph);
    const __m512d back = _mm512_sub_pd(s, here);
    const __m512d e = _mm512_add_pd(_mm512_sub_pd(here, _mm512_sub_pd(s, back)), _mm512_sub_pd(ph, back));
    return _mm512_add_pd(s, _mm512_add_pd(e, pl));
}

// Eight reads at eight positions, in lane order.
NUBBEL_INLINE __m256 readBatch(const float* table, __m256i positions) {
    alignas(32) uint32_t index[kBatch];
    _mm256_store_si256(reinterpret_cast<__m256i*>(index), _mm256_srli_epi32(positions, 16));
    // Read the indices back from memory: loads are cheaper than the lane
    // extractions the compiler would otherwise make of them.
    __asm__("" : "+m"(index));
    const __m256 a = loadPairs(table, index, 0), b = loadPairs(table, index, 2);
    const __m512d here = _mm512_cvtps_pd(_mm256_shuffle_ps(a, b, 0x88));
    const __m512d next = _mm512_cvtps_pd(_mm256_shuffle_ps(a, b, 0xDD));
    const __m256 fraction = _mm256_mul_ps(_mm256_cvtepi32_ps(_mm256_and_si256(positions, _mm256_set1_epi32(0xFFFF))),
                                          _mm256_set1_ps(TableOscillator::kFractionScale));
    const __m512d sum = roundedOnce(here, next, _mm512_cvtps_pd(fraction));
    __m256 reads = _mm512_cvtpd_ps(sum);
    const __mmask8 exact = exactLanes(here, next, sum);
    if (__builtin_expect(exact != 0xFF, 0)) {
        alignas(32) float fixed[kBatch];
        _mm256_store_ps(fixed, reads);
        alignas(32) uint32_t at[kBatch];
        _mm256_store_si256(reinterpret_cast<__m256i*>(at), positions);
        for (int32_t k = 0; k < kBatch; ++k) {
            if (!(exact >> k & 1)) fixed[k] = TableOscillator::interpolate(table, at[k]);
        }
        reads = _mm256_load_ps(fixed);
    }
    return reads;
}

NUBBEL_INLINE __m256i laneNumbers() { return _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7); }

NUBBEL_INLINE __mmask8 firstLanes(int32_t count) {
    return count >= kBatch ? static_cast<__mmask8>(0xFF) : static_cast<__mmask8>((1u << count) - 1);
}

uint32_t readRun(const float* table, uint32_t position, uint32_t increment, float* out, int32_t steps) {
    const __m256i offsets = _mm256_mullo_epi32(laneNumbers(), _mm256_set1_epi32(static_cast<int32_t>(increment)));
    for (int32_t done = 0; done < steps; done += kBatch) {
        const uint32_t first = position + static_cast<uint32_t>(done) * increment;
        const __m256i positions = _mm256_add_epi32(_mm256_set1_epi32(static_cast<int32_t>(first)), offsets);
        _mm256_mask_storeu_ps(out + done, firstLanes(steps - done), readBatch(table, positions));
    }
    return position + static_cast<uint32_t>(steps) * increment;
}

// Up to four lanes: two steps per batch (the lanes of one step, then of the
// next), so that few voices do not leave most of each batch unused.
void readFewRows(const float* table, uint32_t* positions, const uint32_t* increments, int32_t laneCount,
                 float (*rows)[kFirstGenReadLanes], int32_t steps) {
    const __mmask8 lanes = firstLanes(laneCount);
    const __m128i start = _mm_maskz_loadu_epi32(lanes, positions);
    const __m128i increment = _mm_maskz_loadu_epi32(lanes, increments);
    __m256i at = _mm256_inserti128_si256(_mm256_castsi128_si256(start), _mm_add_epi32(start, increment), 1);
    const __m256i twoSteps = _mm256_broadcastsi128_si256(_mm_add_epi32(increment, increment));
    for (int32_t step = 0; step + 1 < steps; step += 2) {
        const __m256 reads = readBatch(table, at);
        _mm_mask_storeu_ps(rows[step], lanes, _mm256_castps256_ps128(reads));
        _mm_mask_storeu_ps(rows[step + 1], lanes, _mm256_extractf128_ps(reads, 1));
        at = _mm256_add_epi32(at, twoSteps);
    }
    __m128i end = _mm256_castsi256_si128(at);
    if (steps % 2 != 0) {
        _mm_mask_storeu_ps(rows[steps - 1], lanes, _mm256_castps256_ps128(readBatch(table, at)));
        end = _mm256_extracti128_si256(at, 1);
    }
    _mm_mask_storeu_epi32(positions, lanes, end);
}

void readRows(const float* table, uint32_t* positions, const uint32_t* increments, int32_t laneCount,
              float (*rows)[kFirstGenReadLanes], int32_t steps) {
    if (laneCount <= kBatch / 2) return readFewRows(table, positions, increments, laneCount, rows, steps);
    for (int32_t first = 0; first < laneCount; first += kBatch) {
        const __mmask8 lanes = firstLanes(laneCount - first);
        __m256i at = _mm256_maskz_loadu_epi32(lanes, positions + first);
        const __m256i increment = _mm256_maskz_loadu_epi32(lanes, increments + first);
        for (int32_t step = 0; step < steps; ++step) {
            _mm256_mask_storeu_ps(&rows[step][first], lanes, readBatch(table, at));
            at = _mm256_add_epi32(at, increment);
        }
        _mm256_mask_storeu_epi32(positions + first, lanes, at);
    }
}

#undef NUBBEL_INLINE

}  // namespace

const FirstGenTableReads kAvx512TableReads = {readRun, readRows};

#pragma GCC diagnostic pop
NUBBEL_END_TARGET
