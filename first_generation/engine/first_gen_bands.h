// The first generation's amplitude spectrum: harmonic 1 fixed, harmonics 2..32
// in eight groups, each spread over a Gaussian band whose width grows with the
// harmonic number.
#pragma once

#include <cstdint>

#include "numerics/simd_level.h"
#include "first_generation/engine/first_gen_state_stream.h"

constexpr int32_t kFirstGenHarmonicCount = 32;

// Harmonic 1 is 0.1 whatever the groups; harmonic h >= 2 is 0.1 * the value
// of its group (2 | 3-4 | 5-7 | 8-11 | 12-16 | 17-22 | 23-27 | 28-32).
float firstGenHarmonicAmplitude(const float* groups, int32_t harmonic);

// The relative band spread float(2^(cents / 1200) - 1) for cents = b * 80 + 2
// (2 to 82 cents for b in 0..1): power and subtraction in double, correctly
// rounded, then one rounding to float.
float firstGenSpread(float bandwidth);

// float(2^octaves - 1), the second half of firstGenSpread.
float firstGenSpreadOfExponent(float octaves);

// amplitudes[0..32767]: for h = 1..32 in ascending order,
// A[j] = profile(j) * a_h + A[j] with the profile
// float(ext(e^-q) * ext(w)), x = (j / 32768 - centre) * w, q = x * x, and 0
// where q exceeds the cut-off; centre and w as the third generation's bands
// (GaussianBand) with the spread in place of its band factor.
// `states`, if given, draws a few phase states after each piece of work.
void firstGenAmplitudeSpectrum(const float* groups, float bandwidth, float* amplitudes,
                               SimdLevel level = bestSimdLevel(), PhaseStateStream* states = nullptr);

// profiles[i] = float(ext(e^-q[i]) * ext(inverseWidth)) for q[i] in
// [0, 14.72] and 2^-100 <= |inverseWidth| < inf, by the lane code the spectrum
// uses (tests and benchmarks).
void firstGenProfiles(const float* q, int32_t count, float inverseWidth, float* profiles,
                      SimdLevel level = bestSimdLevel());
