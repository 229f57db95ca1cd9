#include "tests/reference/wavetable_reference.h"

#include <cmath>
#include <cstdlib>
#include <vector>

#include "kiss_fftr.h"

namespace reference {

void amplitudeSpectrum(const float* values, float* amplitudes) {
    const int32_t M = kAmplitudeBins;
    const float bw = values[32] * 80.0f + 4.0f;
    const float r = static_cast<float>(std::pow(2.0, static_cast<double>(bw * 0.00083333335f))) - 1.0f;
    for (int32_t j = 0; j < M; ++j) amplitudes[j] = 0.0f;
    for (int32_t k = 1; k <= 32; ++k) {
        const float fk = static_cast<float>(k) * 0.0078004533f;
        const float bk = ((static_cast<float>(k) * r) * 344.0f) * 1.1337868e-5f;
        const float wk = 1.0f / bk;
        const float prt = values[k - 1];
        const float ak = ((prt * prt) * prt) * 0.5f;
        for (int32_t j = 0; j < M; ++j) {
            const float x = (static_cast<float>(j) / static_cast<float>(M) - fk) * wk;
            const float q = x * x;
            float profile = 0.0f;
            if (!(static_cast<double>(q) > 14.71280603))
                profile = static_cast<float>(std::exp(-static_cast<double>(q))) * wk;
            amplitudes[j] = ak * profile + amplitudes[j];
        }
    }
}

void normalize(float* table, int32_t count) {
    float peak = 0.0f;
    for (int32_t i = 0; i < count; ++i)
        if (std::fabs(table[i]) > peak) peak = std::fabs(table[i]);
    if (peak < 1e-5f) peak = 1e-5f;
    const float scale = 1.0f / (peak * 1.4142f);
    for (int32_t i = 0; i < count; ++i) table[i] = table[i] * scale;
}

void transformToTable(const kiss_fft_cpx* spectrum, float* table) {
    const int32_t N = kTableLength;
    kiss_fftr_cfg config = kiss_fftr_alloc(N, 1, nullptr, nullptr);
    kiss_fftri(config, spectrum, table);
    kiss_fftr_free(config);
    table[N] = table[0];
    normalize(table, N + 1);
}

uint32_t tableFromAmplitudes(const float* amplitudes, uint32_t phaseState, PhaseBin phaseBin, float* table) {
    const int32_t M = kAmplitudeBins;
    std::vector<kiss_fft_cpx> spectrum(M + 1);
    spectrum[0].r = 0.0f;
    spectrum[0].i = 0.0f;
    uint32_t s = phaseState;
    for (int32_t j = 0; j < M; ++j) {
        s = (s & 1u) * 1588635695u - (s >> 1) * 1117695901u;
        float pair[2];
        phaseBin(s, amplitudes[j], pair);
        spectrum[j + 1].r = pair[0];
        spectrum[j + 1].i = pair[1];
    }
    transformToTable(spectrum.data(), table);
    return s;
}

void phaseBin(uint32_t state, float amplitude, float* pair) {
    const float phi = static_cast<float>(static_cast<int32_t>(state)) * 2.3283064e-10f * 6.2831855f;
    pair[0] = amplitude * static_cast<float>(std::cos(static_cast<double>(phi)));
    pair[1] = amplitude * static_cast<float>(std::sin(static_cast<double>(phi)));
}

uint32_t generateTable(const float* values, uint32_t phaseState, float* table) {
    std::vector<float> amplitudes(kAmplitudeBins);
    amplitudeSpectrum(values, amplitudes.data());
    return tableFromAmplitudes(amplitudes.data(), phaseState, phaseBin, table);
}

}  // namespace reference
