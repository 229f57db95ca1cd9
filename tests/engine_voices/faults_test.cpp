// Inputs the plain rules leave undefined or unsafe, and what the engine does
// with them instead.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine/parameter_index.h"
#include "engine/safe_convert.h"
#include "tests/engine_voices/test_support.h"

using namespace voices_test;

namespace {
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();
}  // namespace

TEST(PitchRange, NotesBelowAndAboveTheMidiTableKeepTheOctaveRule) {
    EXPECT_EQ(pitchIndex(0, 0.0f), -12);
    EXPECT_EQ(pitchIndex(127, 1.0f), 163);
    EXPECT_EQ(pitchIndex(69, 0.3f), 69);
    for (float octave : {kNaN, kInf, -kInf, 1e30f, -1e30f, 7.0f, -3.0f}) {
        for (int32_t key : {0, 127, -5, 100000}) {
            const int32_t index = pitchIndex(key, octave);
            EXPECT_GE(index, kLowestPitchIndex);
            EXPECT_LE(index, kHighestPitchIndex);
        }
    }

    auto engine = makeEngine();
    engine->params[param::kOctave] = 0.0f;
    engine->noteOn(0, 1.0f, 0);
    applyQueue(*engine);  // "OCT" is read when the start is applied
    engine->params[param::kOctave] = 1.0f;
    engine->noteOn(127, 1.0f, 0);
    applyQueue(*engine);
    const SynthVoice& low = engine->voices[0];
    const SynthVoice& high = engine->voices[1];
    EXPECT_NEAR(low.noteFrequency, engine->noteFrequencies[0] / 2.0f, 1e-5f);
    EXPECT_NEAR(high.noteFrequency, engine->noteFrequencies[127] * 8.0f, 0.1f);
    // The reader runs about 1.14 table cycles per sample; the sub-oscillator
    // step 32767 x f / rate exceeds 16 bits and wraps, which the 16-bit phase
    // does with any step: the same phase sequence.
    const double subStep = std::trunc(32767.0f / (88200.0f / high.noteFrequency));
    ASSERT_GT(subStep, 32767.0);
    EXPECT_EQ(static_cast<uint16_t>(high.subIncrement), static_cast<uint32_t>(subStep) & 0xFFFFu);
    EXPECT_EQ(high.osc[0].increment, static_cast<int32_t>(256.0 / ((1.0 / high.noteFrequency) * 88200.0) * 65535.0));
    BlockRun run;
    run.render(*engine, 512);
    for (float x : run.mixL) ASSERT_TRUE(std::isfinite(x));
}

TEST(SafeConvert, TruncationIsDefinedForEveryValue) {
    EXPECT_EQ(truncateWrapped32(83694.9), 83694u);
    EXPECT_EQ(truncateWrapped32(-1.5), 0xFFFFFFFFu);
    EXPECT_EQ(truncateWrapped32(4294967296.0 + 5.0), 5u);
    EXPECT_EQ(truncateWrapped32(1e30), static_cast<uint32_t>(std::fmod(1e30, 4294967296.0)));
    EXPECT_EQ(truncateWrapped32(std::nan("")), 0u);
    EXPECT_EQ(truncateWrapped32(-INFINITY), 0u);
    EXPECT_EQ(truncateClamped(kNaN, -64, 64), 0);
    EXPECT_EQ(truncateClamped(-1e30f, -64, 64), -64);
    EXPECT_EQ(truncateClamped(-3.99f, -64, 64), -3);
}

TEST(QueueOverflow, AFloodOfNotesKeepsTheFirst128AndLeavesNoVoiceWaiting) {
    auto engine = makeEngine();
    for (int32_t n = 0; n < 300; ++n) engine->noteOn(n % 128, 1.0f, n);
    EXPECT_EQ(engine->eventCount, SynthEngine::kQueueCapacity);
    const int32_t reserve = engine->reserveVoice;
    engine->noteOn(5, 1.0f, 0);  // dropped whole: the reserve does not move
    EXPECT_EQ(engine->reserveVoice, reserve);
    HostRun host(1024);
    host.render(*engine, 512);
    EXPECT_EQ(engine->eventCount, 0);
    for (const SynthVoice& voice : engine->voices) EXPECT_FALSE(voice.starting);
}

TEST(QueueOverflow, AReleaseIsNeverLostWhenTheQueueIsFull) {
    auto engine = makeEngine();
    // Voices sounding key 60, then a queue filled with starts of key 60: the
    // release walk fans out to far more entries than fit.
    engine->noteOn(60, 1.0f, 0);
    engine->noteOn(60, 1.0f, 0);
    applyQueue(*engine);
    for (int32_t n = 0; n < 126; ++n) engine->noteOn(60, 1.0f, n);
    engine->noteOn(61, 1.0f, 200);
    engine->queuePitchBend(0.0f, 0);
    ASSERT_EQ(engine->eventCount, SynthEngine::kQueueCapacity);
    engine->queuePitchBend(1.0f, 300);  // full: replaces the queued bend's value
    engine->noteOff(60, 300);
    EXPECT_EQ(engine->eventCount, SynthEngine::kQueueCapacity);
    EXPECT_EQ(engine->voices[0].ampEnv.stage, Envelope::kRelease);  // released at once
    EXPECT_EQ(engine->voices[1].ampEnv.stage, Envelope::kRelease);

    HostRun host(1024);
    host.render(*engine, 512);
    EXPECT_EQ(engine->voices[0].bendFactor, 2.0f);
    for (const SynthVoice& voice : engine->voices) {
        EXPECT_FALSE(voice.starting);
        if (voice.sounding && voice.note == 60) {
            EXPECT_TRUE(voice.released);
        }
    }
    // Key 61 was queued after the starts and still plays.
    bool keyPlays = false;
    for (const SynthVoice& voice : engine->voices)
        keyPlays = keyPlays || (voice.sounding && voice.note == 61 && !voice.released);
    EXPECT_TRUE(keyPlays);
}

TEST(EventFrames, FramesBeyondTheBlockOrOutOfOrderAreClampedInOrder) {
    // Beyond the block: applied at its end, heard from the next block.
    auto late = makeEngine();
    auto twin = makeEngine();
    copyTable(*late, *twin);
    late->noteOn(60, 1.0f, 100000);
    BlockRun a, b;
    a.render(*late, 64);
    for (float x : a.mixL) ASSERT_EQ(x, 0.0f);
    twin->noteOn(60, 1.0f, 0);
    a.render(*late, 64);
    b.render(*twin, 64);
    EXPECT_EQ(firstDifference(a.mixL, b.mixL), -1);

    // Earlier than its predecessor (or negative): applied with the predecessor.
    auto shuffled = makeEngine();
    auto ordered = makeEngine();
    copyTable(*shuffled, *ordered);
    shuffled->noteOn(60, 1.0f, 40);
    shuffled->noteOn(67, 1.0f, 10);
    shuffled->noteOn(72, 1.0f, -7);
    ordered->noteOn(60, 1.0f, 40);
    ordered->noteOn(67, 1.0f, 40);
    ordered->noteOn(72, 1.0f, 40);
    a.render(*shuffled, 128);
    b.render(*ordered, 128);
    EXPECT_EQ(firstDifference(a.mixL, b.mixL), -1);
}

TEST(NonFinite, DivergingFiltersAndAbsurdValuesNeverPoisonLaterNotes) {
    const int32_t indices[] = {
        param::kStereoWidth, param::kOctave,  param::kSubLevel,       param::kFilterAttack, param::kFilterAttack + 2,
        param::kFilterDepth, param::kCutoff,  param::kFilterVelocity, param::kAttack,       param::kAttack + 1,
        param::kAttack + 2,  param::kRelease, param::kVelocity,       param::kVolume};
    const float values[] = {kNaN, kInf, -kInf, 1e30f, -1e30f, 50.0f, -50.0f};
    for (int32_t index : indices) {
        for (float value : values) {
            auto engine = makeEngine();
            useTestTable(*engine);
            HostRun host(256);
            const float sane = engine->params[index];
            engine->noteOn(60, 1.0f, 0);
            host.render(*engine, 128);
            engine->params[index] = value;
            engine->paramChanged(index);
            engine->noteOn(64, 1.0f, 0);
            engine->queuePitchBend(value, 10);
            for (int32_t block = 0; block < 8; ++block) {
                host.render(*engine, 128);
                for (int32_t j = 0; j < 128; ++j)
                    ASSERT_TRUE(std::isfinite(host.outL[j]) && std::isfinite(host.outR[j])) << index << " = " << value;
            }
            for (const SynthVoice& voice : engine->voices) ASSERT_TRUE(voiceStateFinite(voice));

            // Sane again: a new note sounds exactly as on a fresh engine.
            engine->params[index] = sane;
            engine->paramChanged(index);
            engine->queuePitchBend(0.0f, 0);
            engine->allNotesOff();
            auto fresh = makeEngine();
            useTestTable(*fresh);
            const int32_t voice = engine->reserveVoice;
            engine->noteOn(67, 0.8f, 0);
            fresh->noteOn(67, 0.8f, 0);
            BlockRun after, expected;
            after.render(*engine, 2048);
            expected.render(*fresh, 2048);
            EXPECT_TRUE(engine->voices[voice].sounding);
            EXPECT_EQ(firstDifference(after.mixL, expected.mixL), -1) << index << " = " << value;
            host.render(*engine, 512);
            for (int32_t j = 0; j < 512; ++j) ASSERT_TRUE(std::isfinite(host.outL[j])) << index << " = " << value;
        }
    }
}

TEST(PitchBend, ScalesEveryReaderFromItsFrameWithoutMovingThePosition) {
    auto engine = makeEngine();
    engine->noteOn(69, 1.0f, 0);
    applyQueue(*engine);
    SynthVoice& voice = engine->voices[0];
    const uint32_t start = voice.osc[1].position;
    const int32_t plain = voice.osc[1].increment;
    const int16_t plainSub = voice.subIncrement;

    engine->queuePitchBend(1.0f, 40);
    BlockRun run;
    run.render(*engine, 100);
    EXPECT_EQ(voice.bendFactor, 2.0f);
    const int32_t bent = voice.osc[1].increment;
    EXPECT_EQ(bent, static_cast<int32_t>(256.0 / ((1.0 / 880.0) * 88200.0) * 65535.0));
    EXPECT_NEAR(bent, 2 * plain, 2);
    EXPECT_EQ(voice.subIncrement, static_cast<int16_t>(32767.0f / (88200.0f / 880.0f)));
    EXPECT_NEAR(voice.subIncrement, 2 * plainSub, 1);
    // 40 samples at the old step, 60 at the new one: the phase runs on.
    EXPECT_EQ(voice.osc[1].position, start + 40u * static_cast<uint32_t>(plain) + 60u * static_cast<uint32_t>(bent));

    // Notes started later start bent; bending down by the full wheel halves.
    engine->noteOn(69, 1.0f, 0);
    applyQueue(*engine);
    EXPECT_EQ(engine->voices[1].osc[0].increment, bent);
    engine->queuePitchBend(-1.0f, 0);
    applyQueue(*engine);
    EXPECT_NEAR(voice.osc[0].increment, plain / 2, 1);
    EXPECT_EQ(bendFactorFor(kNaN), 1.0f);
    EXPECT_EQ(bendFactorFor(5.0f), 2.0f);
    EXPECT_EQ(bendFactorFor(8191.0f / 8192.0f), static_cast<float>(std::exp2(8191.0 / 8192.0)));
}

TEST(PitchBend, ACentredWheelChangesNoSample) {
    auto bent = makeEngine();
    auto plain = makeEngine();
    copyTable(*bent, *plain);
    for (SynthEngine* engine : {bent.get(), plain.get()}) {
        engine->noteOn(50, 1.0f, 0);
        engine->noteOn(57, 0.6f, 30);
    }
    bent->queuePitchBend(0.7f, 10);
    bent->queuePitchBend(0.0f, 11);
    BlockRun a, b;
    a.render(*bent, 256);
    b.render(*plain, 256);
    // Sample 10 already used the bent step; from then on the same.
    EXPECT_EQ(bent->voices[0].osc[0].increment, plain->voices[0].osc[0].increment);
    EXPECT_EQ(bent->voices[1].osc[0].increment, plain->voices[1].osc[0].increment);
    bent->queuePitchBend(0.0f, 0);
    auto third = makeEngine();
    copyTable(*bent, *third);
    third->noteOn(62, 1.0f, 0);
    bent->allNotesOff();
    plain->allNotesOff();
    bent->noteOn(62, 1.0f, 0);
    a.render(*bent, 512);
    b.render(*third, 512);
    EXPECT_EQ(firstDifference(a.mixL, b.mixL), -1);
}
