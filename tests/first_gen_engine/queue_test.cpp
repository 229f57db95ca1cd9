// Voice allocation and the event queue: the reserve, the steal order, releases
// that reach queued starts, a full queue, and entry frames outside the rules.
#include <gtest/gtest.h>

#include "tests/first_gen_engine/first_gen_test_support.h"

using namespace firstgen_test;

TEST(FirstGenQueue, ReserveVoiceTakesEachNoteAndTheNextIsFaded) {
    auto engine = makeEngine();
    engine->noteOn(40, noteHz(40), 1.0f, 0);
    EXPECT_EQ(0, engine->events[0].voice);
    EXPECT_EQ(1, engine->reserveVoice);
    EXPECT_TRUE(engine->voices[1].released);
    EXPECT_EQ(LinearEnvelope::kStealFade, engine->voices[1].ampEnv.state);
    EXPECT_EQ(1, engine->voiceOrder[15]);
    // Sixteen more notes in the same block: once every other voice waits for
    // its start, the next reserve is the released voice chosen longest ago.
    for (int32_t n = 1; n <= 16; ++n) engine->noteOn(40 + n, noteHz(40 + n), 1.0f, 0);
    applyQueue(*engine);
    int32_t sounding = 0;
    for (const FirstGenVoice& voice : engine->voices) sounding += voice.sounding;
    EXPECT_EQ(16, sounding);
    EXPECT_EQ(40, engine->voices[0].note);
    EXPECT_EQ(56, engine->voices[1].note);  // the last note restarted voice 1
    EXPECT_EQ(2, engine->reserveVoice);
}

TEST(FirstGenQueue, ReleaseReachesPlayedAndQueuedStartsOfItsKey) {
    auto engine = makeEngine();
    engine->noteOn(40, noteHz(40), 1.0f, 0);
    applyQueue(*engine);
    engine->noteOn(40, noteHz(40), 1.0f, 3);  // the same key again, still queued
    engine->noteOff(40, 10);
    ASSERT_EQ(3, engine->eventCount);
    for (int32_t i : {1, 2}) EXPECT_EQ(FirstGenEvent::kNoteRelease, engine->events[i].kind);
    EXPECT_EQ(0, engine->events[1].voice);
    EXPECT_EQ(1, engine->events[2].voice);
    applyQueue(*engine);
    EXPECT_EQ(LinearEnvelope::kRelease, engine->voices[0].ampEnv.state);
    EXPECT_EQ(LinearEnvelope::kRelease, engine->voices[1].ampEnv.state);
}

TEST(FirstGenQueue, FullQueueNeverOverflowsAndLosesNoRelease) {
    auto engine = makeEngine();
    engine->noteOn(20, noteHz(20), 1.0f, 0);
    applyQueue(*engine);
    engine->pitchBend(0.5f, 0);
    for (int32_t n = 0; n < 70; ++n) engine->noteOn(30 + n % 5, noteHz(30), 1.0f, n);
    EXPECT_EQ(FirstGenEngine::kQueueCapacity, engine->eventCount);
    const int32_t reserve = engine->reserveVoice;
    engine->noteOn(99, noteHz(99), 1.0f, 0);  // dropped whole
    EXPECT_EQ(reserve, engine->reserveVoice);

    engine->pitchBend(-1.0f, 9);  // replaces the queued bend's value
    EXPECT_EQ(-1.0f, engine->events[0].value);
    EXPECT_EQ(0, engine->events[0].frame);

    // The sounding voice is released at once, the queued starts withdrawn.
    engine->noteOff(20, 5);
    engine->noteOff(30, 5);
    EXPECT_EQ(LinearEnvelope::kRelease, engine->voices[0].ampEnv.state);
    for (int32_t i = 0; i < engine->eventCount; ++i) {
        if (engine->events[i].note == 30) {
            EXPECT_NE(FirstGenEvent::kNoteStart, engine->events[i].kind) << i;
        }
    }
    applyQueue(*engine);
    for (const FirstGenVoice& voice : engine->voices) {
        if (voice.sounding && !voice.released) {
            EXPECT_NE(30, voice.note);
        }
        EXPECT_FALSE(voice.starting);
    }
}

// Frames before an earlier entry's, negative or beyond the block act as if
// clamped into the block and made non-decreasing.
TEST(FirstGenQueue, EntryFramesAreClampedIntoOrder) {
    const struct {
        int32_t given[3];
        int32_t applied[3];
    } cases[] = {
        {{40, 10, 20}, {40, 40, 40}},
        {{-5, 70, 1000000}, {0, 64, 64}},
        {{INT32_MIN, INT32_MAX, 3}, {0, 64, 64}},
    };
    for (const auto& c : cases) {
        std::unique_ptr<FirstGenEngine> engines[2] = {makeEngine(), makeEngine()};
        std::vector<float> outputs[2];
        for (int32_t k = 0; k < 2; ++k) {
            const int32_t* frames = k == 0 ? c.given : c.applied;
            engines[k]->noteOn(40, noteHz(40), 1.0f, frames[0]);
            engines[k]->pitchBend(0.3f, frames[1]);
            engines[k]->noteOn(47, noteHz(47), 1.0f, frames[2]);
            outputs[k] = renderChannel(*engines[k], 256, true, 64);
        }
        EXPECT_TRUE(sameBits(outputs[0], outputs[1])) << c.given[0] << " " << c.given[1];
    }
}
