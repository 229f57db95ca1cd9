// Finished tables: bit-identical to the plain reference at every vector width,
// silence for non-finite values, the peak, the bands' widths, and independence
// from the caller's floating-point settings.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include <xmmintrin.h>

#include "engine/phase_generator.h"
#include "engine/wavetable.h"
#include "first_generation/engine/first_gen_bands.h"
#include "first_generation/engine/first_gen_generator.h"
#include "numerics/extended_precision.h"
#include "tests/reference/first_gen_wavetable_reference.h"

namespace {

constexpr int32_t kTableSize = Wavetable::kLength + 1;
constexpr int32_t kBins = Wavetable::kLength / 2;
constexpr SimdLevel kLevels[] = {SimdLevel::kSse2, SimdLevel::kAvx2, SimdLevel::kAvx512};

// Groups 1..8, then the bandwidth.
using Settings = std::array<float, 9>;

struct NamedSettings {
    std::string name;
    Settings values;
};

Settings uniform(float groups, float bandwidth) {
    Settings s;
    s.fill(groups);
    s[8] = bandwidth;
    return s;
}

std::vector<NamedSettings> comparisonSettings() {
    // The factory programs' groups and bandwidths.
    std::vector<NamedSettings> settings = {
        {"Big Chord", {1, 1, 0.635f, 1, 0.705f, 1, 0.75f, 0.92f, 0.345f}},
        {"Rainy", {1, 0, 0, 0, 0, 0, 0, 1, 0.34f}},
        {"Organesque", {1, 1, 0, 0, 0, 0, 0, 0, 0.075f}},
        {"Techno piz", {1, 1, 1, 1, 1, 1, 1, 1, 1}},
        {"Voxxy", {0, 1, 0.18f, 1, 0.78f, 0.195f, 0.575f, 0.24f, 0.855f}},
        {"Syn String", {1, 0.735f, 0.975f, 0.73f, 1, 0.715f, 0.605f, 0.545f, 0.285f}},
        {"Not a vibraphone", {0, 0.005f, 0, 0.955f, 0, 0, 0, 0.77f, 0.25f}},
        {"The Excruciator", {0.03f, 1, 0, 0, 1, 0, 1, 1, 0.19f}},
        {"all zero", uniform(0.0f, 0.5f)},
        {"all one, bandwidth 0", uniform(1.0f, 0.0f)},
        {"all one, bandwidth 1", uniform(1.0f, 1.0f)},
        {"groups -0.3, 1.7, 3", {-0.3f, 1.7f, 3.0f, 0.5f, -0.3f, 1.7f, 3.0f, 0.5f, 0.5f}},
        {"groups 1e-35 and 1e33", {1e-35f, 1, 1e33f, 0, 1e-35f, 0, 0, 1e33f, 0.5f}},
        {"bandwidth -0.3", uniform(0.5f, -0.3f)},
        {"bandwidth 1.7", uniform(0.5f, 1.7f)},
        {"bandwidth 3", uniform(0.5f, 3.0f)},
    };
    for (int group = 0; group < kFirstGenGroupCount; ++group) {
        Settings single = uniform(0.0f, group / 7.0f);
        single[group] = 1.0f;
        settings.push_back({"group " + std::to_string(group + 1) + " alone", single});
    }
    std::mt19937 rng(20261210);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    for (int i = 0; i < 6; ++i) {
        Settings random;
        for (float& v : random) v = unit(rng);
        settings.push_back({"random " + std::to_string(i), random});
    }
    return settings;
}

std::vector<float> fastTable(const Settings& s, uint32_t state, SimdLevel level) {
    std::vector<float> table(kTableSize);
    synthesizeFirstGenTable(s.data(), s[8], state, table.data(), level);
    return table;
}

std::vector<float> referenceTable(const Settings& s, uint32_t state) {
    std::vector<float> table(kTableSize);
    reference::generateFirstGenTable(s.data(), s[8], state, table.data());
    return table;
}

bool sameBits(const std::vector<float>& a, const std::vector<float>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

std::vector<float> amplitudeSpectrum(const Settings& s) {
    std::vector<float> amplitudes(kBins);
    firstGenAmplitudeSpectrum(s.data(), s[8], amplitudes.data());
    return amplitudes;
}

}  // namespace

TEST(FirstGenTable, MatchesReferenceAtEveryLevel) {
    uint32_t state = kInitialPhaseState;
    for (const NamedSettings& s : comparisonSettings()) {
        SCOPED_TRACE(s.name);
        const std::vector<float> expected = referenceTable(s.values, state);
        for (SimdLevel level : kLevels) {
            if (!simdLevelSupported(level)) continue;
            SCOPED_TRACE(static_cast<int>(level));
            EXPECT_TRUE(sameBits(expected, fastTable(s.values, state, level)));
        }
        // Each setting from a different point of the phase sequence.
        state = nextPhaseState(state * 7919u + 1u);
    }
}

TEST(FirstGenTable, ReturnsTheLastStateDrawn) {
    uint32_t expected = kInitialPhaseState;
    for (int32_t j = 0; j < kBins; ++j) expected = nextPhaseState(expected);
    std::vector<float> table(kTableSize);
    const Settings s = uniform(0.5f, 0.5f);
    EXPECT_EQ(expected, synthesizeFirstGenTable(s.data(), s[8], kInitialPhaseState, table.data()));
}

TEST(FirstGenTable, NonFiniteValuesGiveSilence) {
    constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
    constexpr float kInf = std::numeric_limits<float>::infinity();
    const Settings cases[] = {
        uniform(0.5f, kNaN),
        {kNaN, 0, 0, 0, 0, 0, 0, 0, 0.5f},
        {0, 0, 0, 0, 0, 0, 0, kInf, 0.5f},
        uniform(0.5f, -0.025f),  // zero spread: infinitely narrow bands
    };
    for (const Settings& s : cases) {
        for (SimdLevel level : kLevels) {
            if (!simdLevelSupported(level)) continue;
            const std::vector<float> table = fastTable(s, kInitialPhaseState, level);
            for (float x : table) ASSERT_EQ(0.0f, x) << s[0] << " " << s[7] << " " << s[8];
        }
    }
}

TEST(FirstGenTable, GroupsAtZeroLeaveHarmonicOneAlonePeakingAtTheNormalLevel) {
    const Settings s = uniform(0.0f, 0.5f);
    const std::vector<float> amplitudes = amplitudeSpectrum(s);
    // Harmonic 1 is centred near amplitude index 255.6; 42 cents put its
    // cut-off within 30 bins of it.
    for (int32_t j = 0; j < kBins; ++j) {
        if (amplitudes[j] != 0.0f) {
            ASSERT_LT(std::abs(j - 256), 30) << j;
        }
    }
    EXPECT_GT(amplitudes[255], 0.0f);

    const std::vector<float> table = fastTable(s, kInitialPhaseState, bestSimdLevel());
    float peak = 0.0f;
    for (float x : table) peak = std::max(peak, std::fabs(x));
    const float level = static_cast<float>(1.0 / 1.4142);
    EXPECT_TRUE(peak == level || peak == std::nextafter(level, 1.0f)) << peak;
    EXPECT_EQ(table[0], table[Wavetable::kLength]);
}

// A harmonic's band is Gaussian in frequency; the distance between its two
// 1/e points, in bins, is 2 sqrt(2) times the standard deviation of the
// amplitudes over the band. That width relative to the band's centre,
// 2^(cents / 1200) - 1, gives the band in cents, measured on the spectrum.
TEST(FirstGenTable, BandsSpanTwoToEightyTwoCentsAndWidenWithTheHarmonic) {
    constexpr double kCentreBins = 0.0078004533 * kBins;  // harmonic 1's centre
    auto measuredCents = [&](const std::vector<float>& amplitudes, int harmonic) {
        const double centre = kCentreBins * harmonic;
        double sum = 0.0, moment = 0.0, second = 0.0;
        for (int32_t j = 0; j < kBins; ++j) {
            if (std::fabs(j - centre) > 60.0 + 2.0 * harmonic) continue;
            sum += amplitudes[j];
            moment += amplitudes[j] * j;
        }
        const double mean = moment / sum;
        for (int32_t j = 0; j < kBins; ++j) {
            if (std::fabs(j - centre) > 60.0 + 2.0 * harmonic) continue;
            second += amplitudes[j] * (j - mean) * (j - mean);
        }
        const double widthBins = 2.0 * std::sqrt(2.0 * second / sum);
        return 1200.0 * std::log2(1.0 + widthBins / centre);
    };
    // At a fixed bandwidth every band spans the same cents around a centre
    // proportional to h, so harmonic h's band is h times as wide in bins.
    // 2 cents are 0.3 bins at harmonic 1, too narrow to measure: harmonic 32
    // shows them (9.5 bins).
    struct Case {
        float bandwidth;
        int group;  // 1..8, alone at 1
        int harmonic;
        double cents;
    };
    const Case cases[] = {
        {0.0f, 8, 32, 2.0}, {1.0f, 1, 1, 82.0}, {1.0f, 1, 2, 82.0}, {0.2f, 4, 8, 18.0}, {0.2f, 4, 11, 18.0},
    };
    for (const Case& c : cases) {
        Settings s = uniform(0.0f, c.bandwidth);
        s[c.group - 1] = 1.0f;
        EXPECT_NEAR(c.cents, measuredCents(amplitudeSpectrum(s), c.harmonic), c.cents * 0.003)
            << c.bandwidth << " " << c.harmonic;
    }
}

TEST(FirstGenTable, DoesNotDependOnTheCallersFloatSettings) {
    const Settings s = comparisonSettings()[0].values;
    const std::vector<float> expected = fastTable(s, kInitialPhaseState, bestSimdLevel());
    const unsigned savedCsr = _mm_getcsr();
    const uint16_t savedControl = ExtendedPrecision::readControl();
    constexpr unsigned kFlushToZero = 0x8000, kDenormalsAreZero = 0x0040;
    constexpr uint16_t kPrecisionField = 0x0300, kDoublePrecision = 0x0200;
    _mm_setcsr(savedCsr | kFlushToZero | kDenormalsAreZero);
    ExtendedPrecision::writeControl(uint16_t((savedControl & ~kPrecisionField) | kDoublePrecision));
    std::vector<std::vector<float>> tables;
    for (SimdLevel level : kLevels)
        if (simdLevelSupported(level)) tables.push_back(fastTable(s, kInitialPhaseState, level));
    const unsigned csrAfter = _mm_getcsr();
    const uint16_t controlAfter = ExtendedPrecision::readControl();
    ExtendedPrecision::writeControl(savedControl);
    _mm_setcsr(savedCsr);
    for (const std::vector<float>& table : tables) EXPECT_TRUE(sameBits(expected, table));
    // And the settings come back as they were.
    EXPECT_EQ(savedCsr | kFlushToZero | kDenormalsAreZero, csrAfter);
    EXPECT_EQ(uint16_t((savedControl & ~kPrecisionField) | kDoublePrecision), controlAfter);
}
