// An amplitude spectrum as a sum of Gaussian bands. The bands are data: each
// generator decides where its bands sit, how wide and how loud they are, and
// how a band's profile is rounded (a ProfileLaw, see gaussian_band_loop.h);
// the range finding and the loops are shared.
#pragma once

#include <cstdint>

constexpr int32_t kAmplitudeBins = 32768;  // half the table length

// One band, in units of amplitude index / kAmplitudeBins: entry j gains
// amplitude * profile(j), where x = (j / M - centre) * inverseWidth, q = x * x
// (both in float) and profile(j) = the law's rounding of e^-q * inverseWidth,
// or 0 where q (compared in double) exceeds kBandCutoff. Outside [firstBin,
// endBin) the profile is 0 for certain, so the loops skip those entries
// (adding amplitude * 0 leaves an entry unchanged: the sum starts at +0 and
// never becomes -0); where that cannot be bounded (non-finite centre, width or
// amplitude) the range is the whole spectrum and `bounded` is false.
struct GaussianBand {
    static constexpr double kBandCutoff = 14.71280603;  // e^-q below 4.1e-7

    float centre;
    float inverseWidth;
    float amplitude;
    int32_t firstBin;  // a multiple of kRangeAlignment
    int32_t endBin;    // likewise; firstBin <= endBin <= kAmplitudeBins
    bool bounded;

    // Band ranges start and end on multiples of this (at least the widest
    // lane count), so every vector width covers the same entries.
    static constexpr int32_t kRangeAlignment = 16;
};

// A band with its range found.
GaussianBand makeGaussianBand(float centre, float inverseWidth, float amplitude);

// Harmonic k's band for a relative band factor r, in float as written:
// centre = k * 344 / 44100 and inverseWidth = 1 / (((k * r) * 344) / 88200),
// the geometry both generations share.
GaussianBand harmonicBand(int32_t harmonic, float bandFactor, float amplitude);
