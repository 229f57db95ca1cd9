// Engine construction, note tables, note start and voice allocation.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/parameter_index.h"
#include "tests/engine_voices/test_support.h"

using namespace voices_test;

TEST(NoteTables, MidiEntriesFollowTheSemitoneSeriesAndTheExtensionKeepsItsRatio) {
    SynthEngine engine;
    EXPECT_EQ(engine.noteFrequencies[69], 440.0f);
    EXPECT_EQ(engine.noteFrequencies[0], 8.1757994f);
    EXPECT_NEAR(engine.noteFrequencies[127], 12543.85f, 0.01f);
    double f = 8.175798915636872;
    for (int32_t n = 0; n < 128; ++n, f *= 1.059463094359)
        ASSERT_EQ(engine.noteFrequencies[n], static_cast<float>(f)) << n;
    // One octave below note 0 and up to three above note 127: the same ratio.
    for (int32_t n = kLowestPitchIndex; n + 12 <= kHighestPitchIndex; ++n)
        ASSERT_NEAR(engine.noteFrequencies[n + 12] / engine.noteFrequencies[n], 2.0f, 2e-6f) << n;
}

TEST(NoteTables, SubTableIsOneCycleOfSineCubedPeakingAtOne) {
    SynthEngine engine;
    EXPECT_EQ(engine.subTable[0], 0.0f);
    EXPECT_EQ(engine.subTable[1024], 1.0f);
    EXPECT_EQ(engine.subTable[3072], -1.0f);
    const float g = static_cast<float>(std::sin(100 * 0.000244140625 * 6.283185307179586));
    EXPECT_EQ(engine.subTable[100], g * g * g);
}

TEST(EngineConstruction, GeneratesTwiceBeforeTheFirstBlockAndOnlyForSpectralChanges) {
    SynthEngine engine;
    EXPECT_EQ(engine.tablesGenerated.load(), 1u);  // createWavetable
    engine.loadAllParameters(padProgram().data());
    EXPECT_EQ(engine.tablesGenerated.load(), 2u);  // program 0
    engine.paramChanged(param::kStereoWidth);
    engine.paramChanged(param::kFilterDepth);
    engine.paramChanged(param::kAttack);
    EXPECT_EQ(engine.tablesGenerated.load(), 2u);
    engine.paramChanged(5);
    engine.paramChanged(param::kBandwidth);
    engine.paramChanged(param::kAll);
    EXPECT_EQ(engine.tablesGenerated.load(), 5u);
    engine.setSampleRate(48000.0f);
    EXPECT_EQ(engine.tablesGenerated.load(), 5u);
}

TEST(EngineConstruction, ParametersStartAtOneTenthAndLoadCopiesAll) {
    SynthEngine engine;
    EXPECT_EQ(engine.paramCount, 49);
    for (int32_t i = 0; i < engine.paramCount; ++i) ASSERT_EQ(engine.params[i], 0.1f);
    std::vector<float> program = padProgram();
    program[param::kVolume] = 1.7f;  // stored as sent
    engine.loadAllParameters(program.data());
    for (int32_t i = 0; i < engine.paramCount; ++i) ASSERT_EQ(engine.params[i], program[i]);
}

TEST(NoteStart, Key69At88200HzHasTheDocumentedIncrements) {
    auto engine = makeEngine();
    engine->noteOn(69, 1.0f, 0);
    applyQueue(*engine);
    const SynthVoice& voice = engine->voices[0];
    EXPECT_EQ(voice.rate, 88200.0f);
    EXPECT_EQ(voice.osc[0].increment, 83694);
    EXPECT_EQ(voice.osc[1].increment, 83694);
    EXPECT_EQ(voice.subIncrement, 163);
    EXPECT_EQ(voice.subPhase, 0);
    EXPECT_TRUE(voice.sounding);
    EXPECT_EQ(voice.ampEnv.stage, Envelope::kAttack);
}

TEST(NoteStart, OctaveParameterShiftsByWholeOctaves) {
    const struct {
        float octave;
        int32_t shift;
    } cases[] = {{0.0f, -12}, {0.2499f, -12}, {0.25f, 0},    {0.4999f, 0},
                 {0.5f, 12},  {0.75f, 24},    {0.9999f, 24}, {1.0f, 36}};
    auto engine = makeEngine();
    for (const auto& c : cases) {
        engine->params[param::kOctave] = c.octave;
        const SynthVoice& voice = engine->voices[engine->reserveVoice];
        engine->noteOn(60, 1.0f, 0);
        applyQueue(*engine);
        EXPECT_EQ(voice.noteFrequency, engine->noteFrequencies[60 + c.shift]) << c.octave;
    }
}

TEST(NoteStart, StereoWidthSetsTheLeftStartOnlyForLaterNotes) {
    auto engine = makeEngine();
    engine->params[param::kStereoWidth] = 1.0f;
    engine->paramChanged(param::kStereoWidth);
    engine->noteOn(60, 1.0f, 0);
    applyQueue(*engine);
    EXPECT_EQ(engine->voices[0].osc[0].position, 1073725440u);  // about a quarter of the table ahead
    EXPECT_EQ(engine->voices[0].osc[1].position, 0u);
    engine->params[param::kStereoWidth] = 0.0f;
    engine->paramChanged(param::kStereoWidth);
    EXPECT_NE(engine->voices[0].osc[0].position, engine->voices[0].osc[1].position);  // running note unchanged
}

TEST(NoteStart, WidthZeroGivesIdenticalChannelsAndWidthOneDoesNot) {
    for (float width : {0.0f, 1.0f}) {
        auto engine = makeEngine();
        engine->params[param::kStereoWidth] = width;
        engine->paramChanged(param::kStereoWidth);
        for (int32_t key : {48, 55, 60, 64}) engine->noteOn(key, 0.8f, 0);
        BlockRun run;
        run.render(*engine, 4096);
        if (width == 0.0f)
            EXPECT_EQ(firstDifference(run.mixL, run.mixR), -1);
        else
            EXPECT_NE(firstDifference(run.mixL, run.mixR), -1);
    }
}

TEST(VoiceAllocation, NotesTakeVoicesInOrderAndTheReserveFollows) {
    auto engine = makeEngine();
    EXPECT_EQ(engine->reserveVoice, 0);
    for (int32_t n = 1; n <= 16; ++n) {
        engine->noteOn(40 + n, 1.0f, 0);
        EXPECT_EQ(engine->reserveVoice, n);
        EXPECT_EQ(engine->voiceOrder[SynthEngine::kVoiceCount - 1], n);
        EXPECT_TRUE(engine->voices[n].released);
        EXPECT_EQ(engine->voices[n].ampEnv.stage, Envelope::kQuickFade);
    }
    EXPECT_TRUE(engine->voices[0].starting);
    applyQueue(*engine);
    for (int32_t v = 0; v < 16; ++v) {
        EXPECT_TRUE(engine->voices[v].sounding) << v;
        EXPECT_EQ(engine->voices[v].note, 41 + v);
        EXPECT_FALSE(engine->voices[v].starting);
    }
    EXPECT_FALSE(engine->voices[16].sounding);

    // All 16 sound: the 17th note takes the reserve and the voice chosen
    // longest ago (voice 0) becomes the next reserve, fading at once.
    engine->noteOn(90, 1.0f, 0);
    EXPECT_EQ(engine->events[0].voice, 16);
    EXPECT_EQ(engine->reserveVoice, 0);
    EXPECT_EQ(engine->voices[0].ampEnv.stage, Envelope::kQuickFade);
    EXPECT_TRUE(engine->voices[0].released);
}

TEST(VoiceAllocation, OneReleaseReachesEveryVoiceOfTheKey) {
    auto engine = makeEngine();
    engine->noteOn(60, 1.0f, 0);
    engine->noteOn(60, 0.5f, 0);
    engine->noteOn(62, 0.5f, 0);
    BlockRun run;
    run.render(*engine, 256);
    ASSERT_TRUE(engine->voices[0].sounding && engine->voices[1].sounding && engine->voices[2].sounding);
    engine->noteOff(60, 10);
    EXPECT_EQ(engine->eventCount, 2);
    run.render(*engine, 256);
    EXPECT_EQ(engine->voices[0].ampEnv.stage, Envelope::kRelease);
    EXPECT_EQ(engine->voices[1].ampEnv.stage, Envelope::kRelease);
    EXPECT_FALSE(engine->voices[2].released);
    EXPECT_EQ(engine->voices[2].ampEnv.stage, Envelope::kAttack);
}

TEST(VoiceAllocation, OnAndOffInOneBlockStartAndReleaseAtTheirFrames) {
    // One block with the start at 10 and the release at 50 equals two blocks
    // cut at 50 with the release at the head of the second.
    auto together = makeEngine();
    auto split = makeEngine();
    copyTable(*together, *split);
    together->noteOn(60, 1.0f, 10);
    together->noteOff(60, 50);
    EXPECT_EQ(together->eventCount, 2);  // the release found the queued start
    BlockRun one;
    one.render(*together, 128);
    EXPECT_EQ(together->voices[0].ampEnv.stage, Envelope::kRelease);

    split->noteOn(60, 1.0f, 10);
    BlockRun first, second;
    first.render(*split, 50);
    split->noteOff(60, 0);
    second.render(*split, 78);
    std::vector<float> joined = first.mixL;
    joined.insert(joined.end(), second.mixL.begin(), second.mixL.end());
    EXPECT_EQ(firstDifference(one.mixL, joined), -1);
    EXPECT_NE(one.mixL[40], 0.0f);
}

TEST(VoiceAllocation, AReserveWithAQueuedStartPlaysItThenIsTakenOver) {
    auto engine = makeEngine();
    for (int32_t n = 0; n < 17; ++n) engine->noteOn(50 + n, 1.0f, 0);
    // Every other voice waits to start: the first released one in the order,
    // voice 1 (start of note 51 queued), becomes the reserve.
    EXPECT_EQ(engine->reserveVoice, 1);
    EXPECT_TRUE(engine->voices[1].starting);
    applyQueue(*engine);
    EXPECT_TRUE(engine->voices[1].sounding);
    EXPECT_EQ(engine->voices[1].note, 51);
    EXPECT_EQ(engine->voices[1].ampEnv.stage, Envelope::kAttack);
    engine->noteOn(80, 1.0f, 0);
    applyQueue(*engine);
    EXPECT_EQ(engine->voices[1].note, 80);
}

TEST(SampleRate, ChangesEnvelopesAtOnceButNotSoundingPitches) {
    auto engine = makeEngine();
    engine->noteOn(69, 1.0f, 0);
    applyQueue(*engine);
    const float attackAt44 = engine->voices[0].ampEnv.coef[Envelope::kAttack];
    engine->setSampleRate(48000.0f);
    EXPECT_EQ(engine->voices[0].rate, 96000.0f);
    EXPECT_LT(engine->voices[0].ampEnv.coef[Envelope::kAttack], attackAt44);
    EXPECT_EQ(engine->voices[0].osc[0].increment, 83694);
    engine->noteOn(69, 1.0f, 0);
    applyQueue(*engine);
    EXPECT_LT(engine->voices[1].osc[0].increment, 83694);
}

TEST(AllNotesOff, ClearsSoundingOnlyAndALaterQueuedStartStillPlays) {
    auto engine = makeEngine();
    engine->noteOn(60, 1.0f, 0);
    applyQueue(*engine);
    engine->noteOn(64, 1.0f, 0);
    engine->allNotesOff();
    EXPECT_FALSE(engine->voices[0].sounding);
    EXPECT_EQ(engine->eventCount, 1);
    EXPECT_TRUE(engine->voices[1].starting);
    applyQueue(*engine);
    EXPECT_TRUE(engine->voices[1].sounding);
    EXPECT_FALSE(engine->voices[0].sounding);
}
