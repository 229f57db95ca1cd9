#include "first_generation/engine/first_gen_phases.h"

#include <cstring>

#include "numerics/simd_level.h"
#include "numerics/rounded_math_kernels.h"
#include "numerics/simd_interleave.h"
#include "first_generation/engine/first_gen_extended.h"

namespace {

// The phase of state s is s * K with K = 6.2831855 / 4294967291 (both as the
// 64-bit rounding reads them) up to two 64-bit roundings, which move it by at
// most 2^-62.3. Split K and pi/2 into pieces so that s * K1, s * K2, n * P1
// and n * P2 are exact (s below 2^31 in magnitude, |n| <= 2), and
// s * K1 - n * P1 as well (both multiples of 2^-50 below 4): the reduced
// phase r = s * K - n * pi/2 comes out as rh + rl within 2^-72.
constexpr double kPhaseStep1 = 0x1.921fb00000000p-30;  // 21 bits, a multiple of 2^-50
constexpr double kPhaseStep2 = 0x1.86c9e00000000p-52;  // 21 bits, a multiple of 2^-71
constexpr double kPhaseStep3 = 0x1.3674e2c610487p-77;
constexpr double kHalfPi1 = 0x1.921fb54442d18p+0;  // a multiple of 2^-50
constexpr double kHalfPi2 = 0x1.1a62633145c00p-54;
constexpr double kHalfPi3 = 0x1.b839a252049c1p-104;
constexpr double kTwoOverPi = 0x1.45f306dc9c883p-1;

// The phase's own 64-bit roundings (up to 2^-62.3) move cos and sin by as
// much; relative to results of at least this size that is 2^-46.3, about 50
// double ulps, well inside the midpoint margin of 1024. Smaller results (a few
// per generation) are decided exactly.
constexpr double kSmallestFastCosSin = 0x1p-16;
// Amplitudes of 0 or of a magnitude in this range give products with
// 2^-16 <= |cos|, |sin| <= 1 that are 0 or normal floats far from overflow,
// where the midpoint test holds (for 0 it never fires: the product is exact).
constexpr float kSmallestFastAmplitude = 0x1p-100f;
constexpr float kLargestFastAmplitude = 0x1p+100f;

// The signs of cos and sin by state (the phase grows with the state): cos > 0
// for |s| <= kLastPositiveCosine; sin > 0 for 0 < s <= kLastPositiveSine and
// for s < -kLastPositiveSine (the phases of the states at the ends overshoot
// +-pi); sin(0) = +0. Checked against the ext reading in the tests.
constexpr int32_t kLastPositiveCosine = 1073741789;
constexpr int32_t kLastPositiveSine = 2147483579;

template <int W>
NUBBEL_ALWAYS_INLINE typename Lanes<W>::Int32 outsideFastAmplitudes(typename Lanes<W>::Float amplitude) {
    using L = Lanes<W>;
    const typename L::Float magnitude = (typename L::Float)((typename L::Int32)amplitude & 0x7FFFFFFF);
    // NaN fails every comparison.
    return (amplitude != 0.0f) & ~((magnitude >= kSmallestFastAmplitude) & (magnitude <= kLargestFastAmplitude));
}

template <int W>
NUBBEL_ALWAYS_INLINE typename Lanes<W>::Int32 tooSmall(typename Lanes<W>::Double x) {
    using L = Lanes<W>;
    return L::lowWords((x < kSmallestFastCosSin) & (x > -kSmallestFastCosSin));
}

// The pairs of W states (read as signed) and amplitudes, interleaved.
template <int W>
NUBBEL_ALWAYS_INLINE void phaseBinLanes(typename Lanes<W>::Int32 signedStates, const float* amplitudes, float* pairs) {
    using L = Lanes<W>;
    using Double = typename L::Double;
    using Int = typename L::Int;
    using Int32 = typename L::Int32;
    using Float = typename L::Float;
    // Most of the spectrum lies beyond every band: +0 times cos and sin keeps
    // only their signs.
    if (!L::any((Int32)L::loadFloats(amplitudes) != 0)) {
        const Int32 cosPositive = (signedStates >= -kLastPositiveCosine) & (signedStates <= kLastPositiveCosine);
        const Int32 sinNotNegative =
            ((signedStates >= 0) & (signedStates <= kLastPositiveSine)) | (signedStates < -kLastPositiveSine);
        const Float zero = L::splatFloat(0.0f), negativeZero = L::splatFloat(-0.0f);
        storeInterleaved<W>(pairs, L::selectFloat(cosPositive, zero, negativeZero),
                            L::selectFloat(sinNotNegative, zero, negativeZero));
        return;
    }
    const Double s = __builtin_convertvector(signedStates, Double);
    const Double head = s * kPhaseStep1;
    const Double shifted = head * kTwoOverPi + rounded_math::kRoundingShift;
    const Double n = shifted - rounded_math::kRoundingShift;
    const Int quadrant = L::bitsOf(shifted) - L::bitsOf(L::splat(rounded_math::kRoundingShift));
    const Double exactPart = head - n * kHalfPi1;
    const Double middle = s * kPhaseStep2 - n * kHalfPi2;
    // rh + rl = exactPart + middle exactly (two-sum), plus the small tail.
    const Double rh = exactPart + middle;
    const Double b = rh - exactPart;
    const Double rl = ((exactPart - (rh - b)) + (middle - b)) + (s * kPhaseStep3 - n * kHalfPi3);
    Double cosHead, sinHead;
    rounded_math::fastCosSin<W>(rh, cosHead, sinHead);
    // cos(rh + rl) and sin(rh + rl) to first order in rl (|rl| < 2^-53).
    const Double c = cosHead - sinHead * rl;
    const Double sn = sinHead + cosHead * rl;
    // Quadrant q: (cos, sin) = (C, S), (-S, C), (-C, -S), (S, -C).
    using UInt = typename L::UInt;
    const Int swap = -(quadrant & 1);
    const Int signBit = L::bitsOf(L::splat(-0.0));
    const Int cosSign = Int(UInt(quadrant + 1) << 62) & signBit;
    const Int sinSign = Int(UInt(quadrant) << 62) & signBit;
    const Double cosine = L::fromBits(((L::bitsOf(c) & ~swap) | (L::bitsOf(sn) & swap)) ^ cosSign);
    const Double sine = L::fromBits(((L::bitsOf(sn) & ~swap) | (L::bitsOf(c) & swap)) ^ sinSign);

    const Float amplitudeFloats = L::loadFloats(amplitudes);
    const Double amplitude = L::widen(amplitudeFloats);
    const Double cosProduct = amplitude * cosine;
    const Double sinProduct = amplitude * sine;
    Float cosOut = L::narrow(cosProduct);
    Float sinOut = L::narrow(sinProduct);
    const Int32 recompute = tooSmall<W>(cosine) | tooSmall<W>(sine) | outsideFastAmplitudes<W>(amplitudeFloats) |
                            rounded_math::nearFloatMidpointLanes<W>(cosProduct) |
                            rounded_math::nearFloatMidpointLanes<W>(sinProduct);
    if (__builtin_expect(L::any(recompute), 0)) {
        for (int i = 0; i < W; ++i) {
            if (!recompute[i]) continue;
            float pair[2];
            first_gen_extended::phaseBin(static_cast<uint32_t>(signedStates[i]), amplitudes[i], pair);
            cosOut[i] = pair[0];
            sinOut[i] = pair[1];
        }
    }
    storeInterleaved<W>(pairs, cosOut, sinOut);
}

struct OddSlots {
    static constexpr int index(int i) { return 2 * i + 1; }
};

// The states in the odd slots of W pairs, by one shuffle of two loads.
template <int W>
NUBBEL_ALWAYS_INLINE typename Lanes<W>::Int32 drawnStates(const float* pairs) {
    using Int32 = typename Lanes<W>::Int32;
    Int32 low, high;
    std::memcpy(&low, pairs, sizeof low);
    std::memcpy(&high, pairs + W, sizeof high);
    return shuffleLanes<OddSlots, W>(low, high);
}

template <int W>
NUBBEL_ALWAYS_INLINE void drawnLoop(const float* amplitudes, int32_t count, float* pairs) {
    int32_t j = 0;
    for (; j + W <= count; j += W) {
        phaseBinLanes<W>(drawnStates<W>(pairs + 2 * j), amplitudes + j, pairs + 2 * j);
    }
    for (; j < count; ++j) {
        uint32_t state;
        std::memcpy(&state, pairs + 2 * j + 1, sizeof state);
        first_gen_extended::phaseBin(state, amplitudes[j], pairs + 2 * j);
    }
}

template <int W>
NUBBEL_ALWAYS_INLINE void pairsLoop(const uint32_t* states, const float* amplitudes, int32_t count, float* pairs) {
    int32_t j = 0;
    for (; j + W <= count; j += W) {
        typename Lanes<W>::Int32 signedStates;
        for (int i = 0; i < W; ++i) signedStates[i] = static_cast<int32_t>(states[j + i]);
        phaseBinLanes<W>(signedStates, amplitudes + j, pairs + 2 * j);
    }
    for (; j < count; ++j) first_gen_extended::phaseBin(states[j], amplitudes[j], pairs + 2 * j);
}

void pairsSse2(const uint32_t* states, const float* amplitudes, int32_t count, float* pairs) {
    pairsLoop<4>(states, amplitudes, count, pairs);
}

__attribute__((target("avx2"))) void pairsAvx2(const uint32_t* states, const float* amplitudes, int32_t count,
                                               float* pairs) {
    pairsLoop<8>(states, amplitudes, count, pairs);
}

__attribute__((target(NUBBEL_AVX512_TARGET))) void pairsAvx512(const uint32_t* states, const float* amplitudes,
                                                               int32_t count, float* pairs) {
    pairsLoop<8>(states, amplitudes, count, pairs);
}

void drawnSse2(const float* amplitudes, int32_t count, float* pairs) { drawnLoop<4>(amplitudes, count, pairs); }

__attribute__((target("avx2"))) void drawnAvx2(const float* amplitudes, int32_t count, float* pairs) {
    drawnLoop<8>(amplitudes, count, pairs);
}

__attribute__((target(NUBBEL_AVX512_TARGET))) void drawnAvx512(const float* amplitudes, int32_t count, float* pairs) {
    drawnLoop<8>(amplitudes, count, pairs);
}

}  // namespace

void firstGenPhaseBinsOfDrawnStates(const float* amplitudes, int32_t count, float* pairs, SimdLevel level) {
    simdVariant(level, drawnSse2, drawnAvx2, drawnAvx512)(amplitudes, count, pairs);
}

uint32_t firstGenPhaseBins(uint32_t state, const float* amplitudes, int32_t count, float* pairs, SimdLevel level) {
    PhaseStateStream states = PhaseStateStream::into(pairs, count, state);
    states.drawRest();
    firstGenPhaseBinsOfDrawnStates(amplitudes, count, pairs, level);
    return states.state;
}

void firstGenPhasePairs(const uint32_t* states, const float* amplitudes, int32_t count, float* pairs, SimdLevel level) {
    simdVariant(level, pairsSse2, pairsAvx2, pairsAvx512)(states, amplitudes, count, pairs);
}
