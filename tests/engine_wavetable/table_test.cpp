// The finished tables: bit-identical to the reference, guard sample, exact
// peak, silence, and the amplitude spectrum's bands.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include <xmmintrin.h>

#include "engine/gaussian_bands.h"
#include "engine/parameter_index.h"
#include "engine/phase_generator.h"
#include "engine/table_synthesis.h"
#include "engine/wavetable.h"
#include "tests/engine_wavetable/wavetable_settings.h"
#include "tests/reference/wavetable_reference.h"

namespace {

constexpr int32_t kTableSize = Wavetable::kLength + 1;
constexpr SimdLevel kLevels[] = {SimdLevel::kSse2, SimdLevel::kAvx2, SimdLevel::kAvx512};

std::vector<float> fastTable(const SpectralValues& values, uint32_t state, SimdLevel level = bestSimdLevel()) {
    std::vector<float> table(kTableSize);
    synthesizeTable(values.data(), state, table.data(), level);
    return table;
}

std::vector<float> referenceTable(const SpectralValues& values, uint32_t state) {
    std::vector<float> table(kTableSize);
    reference::generateTable(values.data(), state, table.data());
    return table;
}

bool sameBits(const std::vector<float>& a, const std::vector<float>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

float largestMagnitude(const std::vector<float>& table) {
    float peak = 0.0f;
    for (float x : table) peak = std::max(peak, std::fabs(x));
    return peak;
}

SpectralValues uniform(float harmonics, float bandwidth) {
    SpectralValues v;
    v.fill(harmonics);
    v[32] = bandwidth;
    return v;
}

std::vector<int32_t> nonZeroIndices(const SpectralValues& values) {
    std::vector<float> amplitudes(kAmplitudeBins);
    computeSpectralAmplitudes(values.data(), amplitudes.data());
    std::vector<int32_t> indices;
    for (int32_t j = 0; j < kAmplitudeBins; ++j)
        if (amplitudes[j] != 0.0f) indices.push_back(j);
    return indices;
}

}  // namespace

TEST(WavetableTables, FastEqualsReferenceBitForBit) {
    const std::vector<NamedSettings> settings = comparisonSettings();
    uint32_t state = kInitialPhaseState;
    for (const NamedSettings& s : settings) {
        const std::vector<float> expected = referenceTable(s.values, state);
        for (SimdLevel level : kLevels) {
            if (!simdLevelSupported(level)) continue;
            EXPECT_TRUE(sameBits(expected, fastTable(s.values, state, level)))
                << s.name << " at level " << static_cast<int>(level);
        }
        state = nextPhaseState(state ^ 0x9e3779b9u);  // a different draw per setting
    }
}

// The tables themselves, as fingerprints taken from the native build: the
// Windows builds must produce the same bits (the generator uses no libm).
TEST(WavetableTables, SameTablesInEveryBuild) {
    struct Case {
        SpectralValues values;
        uint64_t fingerprint;
    };
    SpectralValues single = uniform(0.0f, 1.0f);
    single[0] = 1.0f;
    const Case cases[] = {{uniform(0.5f, 0.5f), 0x32c67e29b8404e6eull},
                          {single, 0x6c244a46f38910f0ull},
                          {comparisonSettings()[7].values, 0x0d03d48e517c5bb5ull}};
    for (const Case& c : cases) {
        const std::vector<float> table = fastTable(c.values, kInitialPhaseState);
        uint64_t hash = 1469598103934665603ull;  // FNV-1a over the sample bits
        for (float x : table) {
            uint32_t bits;
            std::memcpy(&bits, &x, sizeof bits);
            hash = (hash ^ bits) * 1099511628211ull;
        }
        EXPECT_EQ(c.fingerprint, hash) << std::hex << hash;
    }
}

TEST(WavetableTables, AmplitudeSpectrumEqualsReference) {
    std::vector<float> expected(kAmplitudeBins), actual(kAmplitudeBins);
    for (const NamedSettings& s : comparisonSettings()) {
        reference::amplitudeSpectrum(s.values.data(), expected.data());
        for (SimdLevel level : kLevels) {
            if (!simdLevelSupported(level)) continue;
            computeSpectralAmplitudes(s.values.data(), actual.data(), level);
            EXPECT_EQ(0, std::memcmp(expected.data(), actual.data(), kAmplitudeBins * sizeof(float)))
                << s.name << " at level " << static_cast<int>(level);
        }
    }
}

TEST(WavetableTables, DrawReturnsTheStateAfterTheLastBin) {
    std::vector<float> table(kTableSize);
    const uint32_t last = synthesizeTable(uniform(0.5f, 0.5f).data(), kInitialPhaseState, table.data());
    EXPECT_EQ(reference::generateTable(uniform(0.5f, 0.5f).data(), kInitialPhaseState, table.data()), last);
}

// Normalisation as defined: scale = 1 / (peak * 1.4142), then
// multiply; the largest magnitude afterwards is peak * scale, bit for bit.
TEST(WavetableTables, GuardSampleAndExactPeak) {
    for (const NamedSettings& s : comparisonSettings()) {
        if (s.name == "all zero") continue;
        WorkspaceLease workspace;
        computeTableAmplitudes(s.values.data(), *workspace);
        drawTablePhases(kInitialPhaseState, *workspace);
        std::vector<float> raw(kTableSize);
        kiss_fftri(workspace->inverseTransform, workspace->spectrum.get(), raw.data());
        raw[Wavetable::kLength] = raw[0];
        const float rawPeak = largestMagnitude(raw);
        ASSERT_GE(rawPeak, 1e-5f) << s.name;
        const float scale = 1.0f / (rawPeak * 1.4142f);

        const std::vector<float> table = fastTable(s.values, kInitialPhaseState);
        EXPECT_EQ(table[0], table[Wavetable::kLength]) << s.name;
        EXPECT_EQ(rawPeak * scale, largestMagnitude(table)) << s.name;
        EXPECT_NEAR(1.0f / 1.4142f, largestMagnitude(table), 1e-7f) << s.name;
    }
}

// Hosts may set flush-to-zero, denormals-are-zero or another rounding mode
// on the thread that generates; the tables must not change. The quiet
// setting makes amplitudes and samples subnormal, where flushing would show.
TEST(WavetableTables, CallersFloatSettingsDoNotMatter) {
    SpectralValues quiet = uniform(0.0f, 0.5f);
    quiet[0] = 1e-13f;
    quiet[1] = 1.0f;
    for (const SpectralValues& values : {uniform(0.5f, 0.5f), quiet}) {
        const std::vector<float> expected = fastTable(values, kInitialPhaseState);
        const unsigned saved = _mm_getcsr();
        const unsigned flushAndTruncate = (saved | 0x8040u) | 0x6000u;  // FTZ, DAZ, round toward zero
        _mm_setcsr(flushAndTruncate);
        const std::vector<float> table = fastTable(values, kInitialPhaseState);
        Wavetable record;
        generateWavetable(values.data(), record);
        const unsigned after = _mm_getcsr();
        _mm_setcsr(saved);
        EXPECT_EQ(flushAndTruncate & ~0x3fu, after & ~0x3fu);  // restored (exception flags aside)
        EXPECT_TRUE(sameBits(expected, table));
        adoptPendingTable(record);
        EXPECT_EQ(record.current[Wavetable::kLength], record.current[0]);
    }
}

TEST(WavetableTables, AllZeroHarmonicsGiveFiniteSilence) {
    for (float bandwidth : {0.0f, 0.5f, 1.0f}) {
        const std::vector<float> table = fastTable(uniform(0.0f, bandwidth), kInitialPhaseState);
        EXPECT_TRUE(std::all_of(table.begin(), table.end(), [](float x) { return x == 0.0f; }));
    }
}

TEST(WavetableTables, TinyRawPeakIsScaledByTheFloor) {
    // Amplitude 1e-4 cubed is 5e-13: far below the 1e-5 floor after the FFT.
    SpectralValues quiet = uniform(0.0f, 0.5f);
    quiet[0] = 1e-4f;
    const std::vector<float> table = fastTable(quiet, kInitialPhaseState);
    EXPECT_GT(largestMagnitude(table), 0.0f);
    EXPECT_LT(largestMagnitude(table), 1.0f / 1.4142f);
    EXPECT_TRUE(sameBits(referenceTable(quiet, kInitialPhaseState), table));
}

// Taken literally, the algorithm turns these into tables of NaN (a NaN
// harmonic poisons every bin through amplitude * 0, a harmonic whose cube
// overflows does the same, a NaN bandwidth makes every width NaN), which the
// voices would play as NaN output. The engine publishes silence instead.
TEST(WavetableTables, NonFiniteResultsBecomeSilence) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    std::vector<SpectralValues> broken;
    for (float bad : {nan, inf, -inf, 1e13f}) {
        SpectralValues v = uniform(0.5f, 0.5f);
        v[4] = bad;
        broken.push_back(v);
    }
    broken.push_back(uniform(0.5f, nan));
    for (const SpectralValues& values : broken) {
        const std::vector<float> literal = referenceTable(values, kInitialPhaseState);
        EXPECT_FALSE(std::all_of(literal.begin(), literal.end(), [](float x) { return std::isfinite(x); }));
        const std::vector<float> table = fastTable(values, kInitialPhaseState);
        EXPECT_TRUE(std::all_of(table.begin(), table.end(), [](float x) { return x == 0.0f; }));
    }
}

TEST(WavetableTables, TwoGenerationsFromTheSameValuesDiffer) {
    Wavetable table;
    const SpectralValues values = uniform(0.5f, 0.5f);
    generateWavetable(values.data(), table);
    adoptPendingTable(table);
    const std::vector<float> first(table.current, table.current + kTableSize);
    generateWavetable(values.data(), table);
    adoptPendingTable(table);
    const std::vector<float> second(table.current, table.current + kTableSize);
    EXPECT_FALSE(sameBits(first, second));
    EXPECT_FLOAT_EQ(largestMagnitude(first), largestMagnitude(second));
}

// Harmonic 1 is centred near amplitude index 255.6; at BW 0 (4 cents) its
// band is so narrow that only the two neighbouring indices pass the cut-off.
TEST(WavetableBands, FirstHarmonicAloneAtBothBandwidthEnds) {
    SpectralValues narrow = uniform(0.0f, 0.0f);
    narrow[0] = 1.0f;
    EXPECT_EQ((std::vector<int32_t>{255, 256}), nonZeroIndices(narrow));

    SpectralValues wide = narrow;
    wide[32] = 1.0f;
    std::vector<int32_t> expected(48);
    for (int32_t i = 0; i < 48; ++i) expected[i] = 232 + i;
    EXPECT_EQ(expected, nonZeroIndices(wide));
}

TEST(WavetableBands, CentreAndWidthGrowWithTheHarmonicNumber) {
    std::vector<float> amplitudes(kAmplitudeBins);
    auto band = [&](int harmonic) {
        SpectralValues v = uniform(0.0f, 1.0f);
        v[harmonic - 1] = 1.0f;
        computeSpectralAmplitudes(v.data(), amplitudes.data());
        const auto peak = std::max_element(amplitudes.begin(), amplitudes.end());
        const int32_t aboveOneOverE = static_cast<int32_t>(
            std::count_if(amplitudes.begin(), amplitudes.end(), [&](float a) { return a >= *peak / std::exp(1.0f); }));
        return std::make_pair(static_cast<int32_t>(peak - amplitudes.begin()), aboveOneOverE);
    };
    const auto first = band(1);
    const auto sixteenth = band(16);
    const auto last = band(32);
    EXPECT_NEAR(255.605, first.first, 0.5);
    EXPECT_NEAR(255.605 * 16, sixteenth.first, 0.5);
    EXPECT_NEAR(255.605 * 32, last.first, 0.5);
    // Distance to 1/e is about 127.8 * k * r bins, r = 2^(84/1200) - 1.
    const double r = std::pow(2.0, 84.0 / 1200.0) - 1.0;
    EXPECT_NEAR(2 * 127.8 * r, first.second, 1.0);
    EXPECT_NEAR(2 * 127.8 * 16 * r, sixteenth.second, 2.0);
    EXPECT_NEAR(2 * 127.8 * 32 * r, last.second, 2.0);
}

TEST(WavetableBands, BandRangesCoverEveryBinThatPassesTheCutOff) {
    // Against the rule's own test over all bins, for widths from the
    // narrowest to wider than the spectrum.
    for (float bandwidth : {-0.04f, 0.0f, 0.013f, 0.5f, 1.0f, 3.0f, 9.0f}) {
        const float r = relativeBandFactor(bandwidth);
        for (int32_t k = 1; k <= param::kHarmonicCount; ++k) {
            const GaussianBand band = harmonicBand(k, r, 1.0f);
            ASSERT_TRUE(band.bounded);
            for (int32_t j = 0; j < kAmplitudeBins; ++j) {
                const float x = (static_cast<float>(j) / 32768.0f - band.centre) * band.inverseWidth;
                const bool passes = !(static_cast<double>(x * x) > GaussianBand::kBandCutoff);
                if (passes) {
                    ASSERT_TRUE(j >= band.firstBin && j < band.endBin) << "k " << k << " bin " << j;
                }
            }
        }
    }
}
