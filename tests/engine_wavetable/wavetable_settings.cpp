#include "tests/engine_wavetable/wavetable_settings.h"

#include <random>

namespace {

SpectralValues uniform(float harmonics, float bandwidth) {
    SpectralValues v;
    v.fill(harmonics);
    v[32] = bandwidth;
    return v;
}

SpectralValues single(int harmonic, float amplitude, float bandwidth) {
    SpectralValues v = uniform(0.0f, bandwidth);
    v[harmonic - 1] = amplitude;
    return v;
}

}  // namespace

std::vector<NamedSettings> comparisonSettings() {
    std::vector<NamedSettings> settings;
    settings.push_back({"all 0.5", uniform(0.5f, 0.5f)});
    settings.push_back({"all zero", uniform(0.0f, 0.5f)});
    settings.push_back({"all one, BW 1", uniform(1.0f, 1.0f)});
    settings.push_back({"harmonic 1 at BW 0", single(1, 1.0f, 0.0f)});
    settings.push_back({"harmonic 1 at BW 1", single(1, 1.0f, 1.0f)});
    settings.push_back({"harmonic 32 at BW 1", single(32, 1.0f, 1.0f)});

    // Three-state buttons give 0, 0.5 or 1; an organ-like, an odd-harmonic and
    // a bright setting as the factory programs have them.
    SpectralValues organ = uniform(0.0f, 0.2f);
    for (int k : {1, 2, 4, 8, 16, 32}) organ[k - 1] = 1.0f;
    settings.push_back({"organ-like", organ});
    SpectralValues odd = uniform(0.0f, 0.35f);
    for (int k = 1; k <= 32; k += 2) odd[k - 1] = k < 8 ? 1.0f : 0.5f;
    settings.push_back({"odd harmonics", odd});
    SpectralValues bright = uniform(0.5f, 0.7f);
    for (int k = 1; k <= 32; k += 3) bright[k - 1] = 1.0f;
    settings.push_back({"bright", bright});

    // Values outside 0..1 are never clamped.
    SpectralValues outside = uniform(0.5f, 1.0f);
    outside[0] = 1.7f;
    outside[2] = -0.3f;
    outside[5] = 3.0f;
    settings.push_back({"harmonics 1.7, -0.3, 3", outside});
    settings.push_back({"BW -0.03", uniform(0.5f, -0.03f)});
    settings.push_back({"BW -1", uniform(0.5f, -1.0f)});
    settings.push_back({"BW 1.5", uniform(0.5f, 1.5f)});
    settings.push_back({"BW 4", uniform(0.5f, 4.0f)});
    settings.push_back({"harmonic 1 at 1e6", single(1, 1e6f, 0.5f)});

    for (int step = 0; step <= 10; ++step) {
        const float bw = step / 10.0f;
        settings.push_back({"BW sweep " + std::to_string(bw), uniform(0.5f, bw)});
    }

    std::mt19937 rng(20240611);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    std::uniform_int_distribution<int> button(0, 2);
    for (int i = 0; i < 12; ++i) {
        SpectralValues v;
        for (int k = 0; k < 32; ++k) v[k] = i % 2 == 0 ? unit(rng) : 0.5f * button(rng);
        v[32] = unit(rng);
        settings.push_back({"random " + std::to_string(i), v});
    }
    return settings;
}
