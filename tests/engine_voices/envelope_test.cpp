// The exponential envelope and its coefficients.
#include <gtest/gtest.h>

#include "engine/envelope.h"

namespace {

constexpr float kRate = 88200.0f;

int32_t samplesUntilStageChanges(Envelope& env, int32_t limit = 10000000) {
    const int32_t stage = env.stage;
    int32_t n = 0;
    while (env.stage == stage && n < limit) {
        env.step();
        ++n;
    }
    return n;
}

}  // namespace

TEST(EnvelopeTimes, AttackCoefficientForHalfAt88200Hz) {
    Envelope env;
    setEnvelopeTimes(env, kRate, 0.5f, 0.5f, 0.5f, 0.5f);
    EXPECT_NEAR(env.coef[Envelope::kAttack], 2.0027e-5f, 0.0001e-5f);
    EXPECT_EQ(kRate * 6.0f * (0.5f + 9.9999997e-05f), 264652.94f);
    EXPECT_EQ(env.target[Envelope::kDecay], 0.5f);
    EXPECT_EQ(env.coef[Envelope::kIdle], 0.0f);
}

TEST(EnvelopeTimes, FullSustainBehavesAsPointNine) {
    Envelope full, nine;
    setEnvelopeTimes(full, kRate, 0.2f, 0.3f, 1.0f, 0.4f);
    setEnvelopeTimes(nine, kRate, 0.2f, 0.3f, 0.9f, 0.4f);
    for (int32_t s = 0; s < 5; ++s) {
        EXPECT_EQ(full.coef[s], nine.coef[s]);
        EXPECT_EQ(full.target[s], nine.target[s]);
    }
}

TEST(EnvelopeTimes, StagesTakeTheirTimes) {
    Envelope env;
    setEnvelopeTimes(env, kRate, 0.0f, 0.0f, 0.5f, 0.0f);
    env.stage = Envelope::kAttack;
    EXPECT_NEAR(samplesUntilStageChanges(env), 53, 1);  // 0.6 ms to the peak
    EXPECT_EQ(env.stage, Envelope::kDecay);

    env.level = 1.0f;
    env.stage = Envelope::kQuickFade;
    EXPECT_NEAR(samplesUntilStageChanges(env), 53, 1);
    EXPECT_EQ(env.stage, Envelope::kIdle);
    EXPECT_EQ(env.step(), 0.0f);

    Envelope slow;
    setEnvelopeTimes(slow, kRate, 0.5f, 0.5f, 0.5f, 0.5f);
    slow.stage = Envelope::kAttack;
    slow.level = 0.0f;
    const int32_t attack = samplesUntilStageChanges(slow);
    EXPECT_NEAR(attack / kRate, 3.0006f, 0.01f);  // 6 x (0.5 + 0.0001) seconds
}

TEST(EnvelopeTimes, ReleaseStartsFromTheLevelReachedThenFadesToIdle) {
    Envelope env;
    setEnvelopeTimes(env, kRate, 0.5f, 0.5f, 0.5f, 0.01f);
    env.stage = Envelope::kAttack;
    for (int32_t n = 0; n < 1000; ++n) env.step();
    const float reached = env.level;
    ASSERT_LT(reached, 0.1f);
    env.stage = Envelope::kRelease;
    EXPECT_LT(env.step(), reached);
    samplesUntilStageChanges(env);
    EXPECT_EQ(env.stage, Envelope::kQuickFade);
    env.step();  // already within epsilon of 0: the quick fade ends at once
    EXPECT_EQ(env.stage, Envelope::kIdle);
}

TEST(EnvelopeTimes, SustainJustBelowOneStillSettlesOnTheSustain) {
    // epsilon / (1 - s) reaches 1 above 0.995: the decay must still converge.
    for (float sustain : {0.9951f, 0.996f, 0.998f, 0.9999f, 0.99999994f}) {
        Envelope env;
        setEnvelopeTimes(env, kRate, 0.0f, 0.01f, sustain, 0.5f);
        EXPECT_GT(env.coef[Envelope::kDecay], 0.0f) << sustain;
        EXPECT_LE(env.coef[Envelope::kDecay], 1.0f) << sustain;
        env.stage = Envelope::kAttack;
        samplesUntilStageChanges(env);
        for (int32_t n = 0; n < 200000; ++n) env.step();
        // Settled: the approach stops where a step falls below half a float
        // step of the level, a few 1e-5 below the target for a fast decay.
        EXPECT_NEAR(env.level, sustain, 1e-4f) << sustain;
        EXPECT_EQ(env.stage, Envelope::kDecay);
    }
    // Below the threshold the decay is as the rule gives it: distance
    // 1 - s shrinks to epsilon over the decay time.
    Envelope env;
    setEnvelopeTimes(env, kRate, 0.0f, 0.01f, 0.9f, 0.5f);
    env.stage = Envelope::kDecay;
    env.level = 1.0f;
    const int32_t decaySamples = static_cast<int32_t>(kRate * 6.0f * 0.0102f);
    for (int32_t n = 0; n < decaySamples; ++n) env.step();
    EXPECT_NEAR(env.level - 0.9f, 0.005f, 0.0002f);
}
