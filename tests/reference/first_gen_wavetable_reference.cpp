#include "tests/reference/first_gen_wavetable_reference.h"

#include <cmath>
#include <vector>

#include "numerics/extended_precision.h"
#include "tests/reference/wavetable_reference.h"

namespace reference {

void firstGenAmplitudeSpectrum(const float* groups, float bandwidth, float* amplitudes) {
    ExtendedPrecision precision;
    const int32_t M = kAmplitudeBins;
    float harmonicAmplitude[33];
    harmonicAmplitude[1] = 0.1f;
    harmonicAmplitude[2] = 0.1f * groups[0];
    for (int h = 3; h <= 4; ++h) harmonicAmplitude[h] = 0.1f * groups[1];
    for (int h = 5; h <= 7; ++h) harmonicAmplitude[h] = 0.1f * groups[2];
    for (int h = 8; h <= 11; ++h) harmonicAmplitude[h] = 0.1f * groups[3];
    for (int h = 12; h <= 16; ++h) harmonicAmplitude[h] = 0.1f * groups[4];
    for (int h = 17; h <= 22; ++h) harmonicAmplitude[h] = 0.1f * groups[5];
    for (int h = 23; h <= 27; ++h) harmonicAmplitude[h] = 0.1f * groups[6];
    for (int h = 28; h <= 32; ++h) harmonicAmplitude[h] = 0.1f * groups[7];

    const float cents = bandwidth * 80.0f + 2.0f;
    const float e = cents * 0.00083333335f;
    const float spread = static_cast<float>(std::pow(2.0, static_cast<double>(e)) - 1.0);

    for (int32_t j = 0; j < M; ++j) amplitudes[j] = 0.0f;
    for (int32_t h = 1; h <= 32; ++h) {
        const float a = harmonicAmplitude[h];
        const float centre = static_cast<float>(h) * 0.0078004533f;
        const float width = ((static_cast<float>(h) * spread) * 344.0f) * 1.1337868e-5f;
        const float w = 1.0f / width;
        for (int32_t j = 0; j < M; ++j) {
            const float x = (static_cast<float>(j) / 32768.0f - centre) * w;
            const float q = x * x;
            float profile = 0.0f;
            if (!(static_cast<double>(q) > 14.71280603))
                profile = static_cast<float>(expl(-static_cast<long double>(q)) * static_cast<long double>(w));
            amplitudes[j] = profile * a + amplitudes[j];
        }
    }
}

long double firstGenPhase(uint32_t state) {
    ExtendedPrecision precision;
    return static_cast<long double>(static_cast<int32_t>(state)) / 4294967291.0L * 6.2831855L;
}

void firstGenPhaseBin(uint32_t state, float amplitude, float* pair) {
    ExtendedPrecision precision;
    const long double phi = firstGenPhase(state);
    pair[0] = static_cast<float>(static_cast<long double>(amplitude) * cosl(phi));
    pair[1] = static_cast<float>(static_cast<long double>(amplitude) * sinl(phi));
}

uint32_t generateFirstGenTable(const float* groups, float bandwidth, uint32_t phaseState, float* table) {
    std::vector<float> amplitudes(kAmplitudeBins);
    firstGenAmplitudeSpectrum(groups, bandwidth, amplitudes.data());
    return tableFromAmplitudes(amplitudes.data(), phaseState, firstGenPhaseBin, table);
}

}  // namespace reference
