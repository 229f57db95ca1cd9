// The first generation's exact numbers: note table, increments, start
// positions, the reader's interpolation, smoothing, envelope steps and the
// pitch wheel's curve, each against an independent long double evaluation.
#include <gtest/gtest.h>

#include <cmath>

#include "first_generation/engine/fast_exp2.h"
#include "numerics/extended_precision.h"
#include "tests/first_gen_engine/first_gen_test_support.h"
#include "tests/reference/first_gen_render_reference.h"

using namespace firstgen_test;

TEST(FirstGenNumbers, NoteTableIsTheLongDoubleRecurrence) {
    EXPECT_NEAR(220.0f, firstGenNoteFrequencies[57], 1e-4f);
    EXPECT_NEAR(8.1758f, firstGenNoteFrequencies[0], 1e-4f);
    ExtendedPrecision extended;
    for (int32_t n = 0; n < 128; ++n) {
        EXPECT_EQ(reference::firstGenNoteFrequency(n), firstGenNoteFrequencies[n]) << n;
        if (n > 0) {
            EXPECT_GT(firstGenNoteFrequencies[n], firstGenNoteFrequencies[n - 1]) << n;
        }
    }
}

TEST(FirstGenNumbers, IncrementsOfEveryNoteAtCommonRates) {
    for (float rate : {44100.0f, 48000.0f, 96000.0f}) {
        auto engine = makeEngine(rate);
        for (int32_t n = 0; n < 128; ++n) {
            engine->noteOn(n, noteHz(n), 1.0f, 0);
            const int32_t voice = engine->events[0].voice;
            applyQueue(*engine);
            ExtendedPrecision extended;
            const uint32_t expected = reference::firstGenIncrement(rate, noteHz(n));
            EXPECT_EQ(expected, engine->voices[voice].oscL.increment) << rate << " " << n;
            EXPECT_EQ(expected, engine->voices[voice].oscR.increment) << rate << " " << n;
        }
    }
    auto engine = makeEngine(44100.0f);
    engine->noteOn(57, noteHz(57), 1.0f, 0);  // key 69
    applyQueue(*engine);
    EXPECT_EQ(83694u, engine->voices[0].oscL.increment);  // 256 x 440 / 88200 x 65535, truncated
}

// Inputs where rounding through double instead of long double changes the
// result, so that these rows catch an evaluation in the wrong precision.
TEST(FirstGenNumbers, IncrementsAndInterpolationRoundThroughLongDouble) {
    struct IncrementCase {
        float rate, frequency;
        uint32_t expected;
    };
    const IncrementCase increments[] = {
        {11025.0f, 0x1.1ff634p+14f, 28044611u},
        {8000.0f, 0x1.fe28p+11f, 8558870u},
        {48000.0f, 0x1.10dap+14f, 6103493u},
        {22050.0f, 0x1.b85aap+12f, 5360762u},
    };
    struct InterpolationCase {
        float here, next;
        uint32_t position;
        float expected;
    };
    const InterpolationCase readings[] = {
        {0x1.0a3de2p-2f, -0x1.371ec4p-37f, 0xFFFFu, -0x1.371ec4p-37f},
        {0x1.334796p-1f, -0x1.eef71cp-40f, 0xFFFFu, -0x1.eef71cp-40f},
        {0x1.4cb44cp-1f, 0x1.25091cp-40f, 0x1FFFFu, 0x1.25091cp-40f},
        {0x1.64ed56p-1f, 0x1.775c3cp-32f, 0xFFFFu, 0x1.775c3cp-32f},
    };
    ExtendedPrecision extended;
    for (const IncrementCase& c : increments) {
        const double inDouble = 256.0 / ((2.0 * c.rate) / (2.0 * c.frequency)) * 65535.0;
        ASSERT_NE(c.expected, static_cast<uint32_t>(inDouble)) << c.rate;
        EXPECT_EQ(c.expected, reference::firstGenIncrement(c.rate, c.frequency)) << c.rate;
        EXPECT_EQ(c.expected, tableIncrement(c.rate, c.frequency)) << c.rate;
    }
    for (const InterpolationCase& c : readings) {
        const float fraction = static_cast<float>(c.position & 0xFFFFu) * TableOscillator::kFractionScale;
        const double here = c.here;
        const float inDouble = static_cast<float>(here + (static_cast<double>(c.next) - here) * fraction);
        ASSERT_NE(c.expected, inDouble) << c.here;
        EXPECT_EQ(c.expected, reference::firstGenInterpolate(c.here, c.next, c.position)) << c.here;
        const uint32_t index = c.position >> 16;
        float table[3] = {};
        table[index] = c.here;
        table[index + 1] = c.next;
        EXPECT_EQ(c.expected, TableOscillator::interpolate(table, c.position)) << c.here;
    }
}

TEST(FirstGenNumbers, ConstructionStateAndStartPositions) {
    FirstGenEngine engine;
    for (const FirstGenVoice& voice : engine.voices) {
        EXPECT_EQ(1.1337868e-5f, voice.ampEnv.attackStep);
        EXPECT_EQ(1.1337868e-5f, voice.ampEnv.decayStep);
        EXPECT_EQ(1.1337868e-5f, voice.ampEnv.releaseStep);
        EXPECT_EQ(0.5f, voice.ampEnv.sustain);
        EXPECT_EQ(LinearEnvelope::kIdle, voice.ampEnv.state);
        EXPECT_EQ(LinearEnvelope::kIdle, voice.filterEnv.state);
        EXPECT_EQ(44100.0f, voice.sampleRate);
    }
    for (float p : {engine.params[0], engine.params[22]}) EXPECT_EQ(0.1f, p);
    EXPECT_EQ(0, engine.reserveVoice);
    EXPECT_NE(nullptr, engine.wavetable.current);
    EXPECT_EQ(1u, engine.tablesGenerated.load());

    // Width 1 starts the left reader a quarter into the loop, in 16.16.
    engine.params[9] = 1.0f;
    engine.paramChanged(9);
    engine.noteOn(45, noteHz(45), 1.0f, 0);
    applyQueue(engine);
    EXPECT_EQ(16383.75, engine.voices[0].oscL.position / 65536.0);
    EXPECT_EQ(0u, engine.voices[0].oscR.position);
    // The smoothing at 44.1 kHz: 2 pi 12 kHz over 88.2 kHz.
    EXPECT_EQ(0.85485512f, engine.voices[0].oscL.smooth);
}

// 75398.2 / (2 x rate) where that is at most 1, 1 below 37.7 kHz.
TEST(FirstGenNumbers, SmoothingCoefficientIsCappedAtOne) {
    const struct {
        float rate, smooth;
    } cases[] = {{96000.0f, 0.39269909f}, {48000.0f, 0.78539819f}, {44100.0f, 0.85485512f},
                 {37600.0f, 1.0f},        {32000.0f, 1.0f},        {8000.0f, 1.0f}};
    for (const auto& c : cases) EXPECT_EQ(c.smooth, smoothingCoefficient(c.rate)) << c.rate;
}

TEST(FirstGenNumbers, FastExp2IsExactAtWholeNumbersAndCloseBetween) {
    EXPECT_EQ(0.5f, fastExp2(-1.0f));
    EXPECT_EQ(1.0f, fastExp2(0.0f));
    EXPECT_EQ(2.0f, fastExp2(1.0f));
    float previous = 0.0f;
    for (int32_t i = -1000; i <= 1000; ++i) {
        const float x = static_cast<float>(i) / 1000.0f;
        const float y = fastExp2(x);
        EXPECT_NEAR(std::exp2(x), y, 0.003 * std::exp2(x)) << x;
        EXPECT_GE(y, previous) << x;
        previous = y;
    }
    for (float odd : {NAN, INFINITY, -INFINITY, 1e9f, -1e9f}) EXPECT_TRUE(std::isfinite(fastExp2(odd))) << odd;
    EXPECT_EQ(1.0f, bendFactorFor(NAN));
    EXPECT_EQ(2.0f, bendFactorFor(5.0f));
}

TEST(FirstGenNumbers, LinearEnvelopeRunsItsStages) {
    LinearEnvelope env;
    env.setTimes(1024.0f, 0.015625f, 0.03125f, 0.5f, 0.0f);  // steps 2^-6 and 2^-7, exact in float
    env.state = LinearEnvelope::kAttack;
    int32_t ticks = 0;
    while (env.state == LinearEnvelope::kAttack) env.tick(), ++ticks;
    EXPECT_EQ(64, ticks);
    EXPECT_EQ(1.0f, env.level);
    ticks = 0;
    while (env.state == LinearEnvelope::kDecay) env.tick(), ++ticks;
    EXPECT_EQ(64, ticks);
    EXPECT_EQ(0.5f, env.level);
    EXPECT_EQ(0.5f, env.tick());
    env.state = LinearEnvelope::kRelease;
    EXPECT_EQ(0.0f, env.tick());  // release 0 is held at 0.4 ms: one tick ends it
    EXPECT_EQ(LinearEnvelope::kIdle, env.state);

    env.setTimes(1024.0f, 0.01f, 0.0f, 0.25f, 0.01f);  // a decay of 0 ends at its first tick
    env.state = LinearEnvelope::kDecay;
    env.level = 1.0f;
    EXPECT_EQ(0.25f, env.tick());
    EXPECT_EQ(LinearEnvelope::kSustain, env.state);
}
