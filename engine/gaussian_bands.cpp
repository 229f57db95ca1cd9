#include "engine/gaussian_bands.h"

#include <algorithm>
#include <cmath>

GaussianBand makeGaussianBand(float centre, float inverseWidth, float amplitude) {
    constexpr int32_t kAlign = GaussianBand::kRangeAlignment;
    GaussianBand band;
    band.centre = centre;
    band.inverseWidth = inverseWidth;
    band.amplitude = amplitude;
    band.firstBin = 0;
    band.endBin = kAmplitudeBins;
    band.bounded = std::isfinite(centre) && std::isfinite(inverseWidth) && std::isfinite(amplitude);
    if (band.bounded) {
        // A bin inside the cut-off has |x| < sqrt(cutoff) * (1 + 2^-22) before
        // the float roundings of x and q, and |j / M - centre| differs from
        // its float by at most 2^-24 relative; the margins below cover both.
        const double halfWidth =
            std::sqrt(GaussianBand::kBandCutoff) * kAmplitudeBins / std::fabs(inverseWidth) * (1.0 + 1e-6) + 2.0;
        const double middle = static_cast<double>(centre) * kAmplitudeBins;
        const double first = std::clamp(std::floor(middle - halfWidth), 0.0, double{kAmplitudeBins});
        const double end = std::clamp(std::ceil(middle + halfWidth) + 1.0, 0.0, double{kAmplitudeBins});
        band.firstBin = static_cast<int32_t>(first) / kAlign * kAlign;
        band.endBin = (static_cast<int32_t>(end) + kAlign - 1) / kAlign * kAlign;
        if (band.endBin < band.firstBin) band.endBin = band.firstBin;
    }
    return band;
}

GaussianBand harmonicBand(int32_t harmonic, float bandFactor, float amplitude) {
    constexpr float kCentreStep = 0.0078004533f;  // 344 / 44100
    constexpr float kWidthHz = 344.0f;
    constexpr float kInverseRate = 1.1337868e-5f;  // 1 / 88200
    const float k = static_cast<float>(harmonic);
    const float inverseWidth = 1.0f / (((k * bandFactor) * kWidthHz) * kInverseRate);
    return makeGaussianBand(k * kCentreStep, inverseWidth, amplitude);
}
