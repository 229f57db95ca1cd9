// The block render: events at exact frames, silence, and the fast lane render
// against the four-pass reference, bit for bit.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>

#include "engine/parameter_index.h"
#include "tests/engine_voices/test_support.h"
#include "tests/reference/render_reference.h"

using namespace voices_test;

TEST(RenderBlock, EventsTakeEffectAtTheirExactFrames) {
    for (int32_t frame : {0, 1, 37, 127}) {
        auto engine = makeEngine();
        engine->params[param::kCutoff] = 1.0f;  // an open filter: the first sample already sounds
        engine->noteOn(60, 1.0f, frame);
        BlockRun run;
        run.render(*engine, 128);
        for (int32_t n = 0; n < frame; ++n) ASSERT_EQ(run.mixL[n], 0.0f) << frame;
        EXPECT_NE(run.mixL[frame], 0.0f) << frame;
    }
}

TEST(RenderBlock, AnEventAtTheBlockEndIsHeardFromTheNextBlock) {
    auto atEnd = makeEngine();
    auto atStart = makeEngine();
    copyTable(*atEnd, *atStart);
    atEnd->noteOn(60, 1.0f, 128);
    BlockRun first, second, twin;
    first.render(*atEnd, 128);
    for (float x : first.mixL) ASSERT_EQ(x, 0.0f);
    EXPECT_TRUE(atEnd->voices[0].sounding);
    second.render(*atEnd, 128);
    atStart->noteOn(60, 1.0f, 0);
    twin.render(*atStart, 128);
    EXPECT_EQ(firstDifference(second.mixL, twin.mixL), -1);
    EXPECT_EQ(firstDifference(second.mixR, twin.mixR), -1);
}

TEST(RenderBlock, TwoEventsAtOneFrameApplyInArrivalOrder) {
    // A release queued at the start's own frame right after it: nothing is
    // rendered between them, so the note is released from level 0 and never
    // sounds; in the other order the release finds nothing to release.
    auto engine = makeEngine();
    engine->noteOn(60, 1.0f, 20);
    engine->noteOff(60, 20);
    BlockRun run;
    run.render(*engine, 64);
    EXPECT_FALSE(engine->voices[0].sounding);
    for (float x : run.mixL) ASSERT_EQ(x, 0.0f);

    engine->noteOff(62, 20);
    engine->noteOn(62, 1.0f, 20);
    run.render(*engine, 64);
    EXPECT_TRUE(engine->voices[1].sounding);
    EXPECT_FALSE(engine->voices[1].released);
}

TEST(HostBlock, SilenceWithoutNotesStaysWithinRoundingOfZero) {
    auto engine = makeEngine();
    HostRun host(1024);
    for (int32_t block = 0; block < 50; ++block) {
        host.render(*engine, 512);
        for (int32_t j = 0; j < 512; ++j) {
            ASSERT_LE(std::fabs(host.outL[j]), 1e-15f);
            ASSERT_LE(std::fabs(host.outR[j]), 1e-15f);
        }
    }
}

TEST(HostBlock, NoFramesWritesNothing) {
    auto engine = makeEngine();
    HostRun host(64);
    std::vector<float> out(4, 7.0f);
    renderHostBlock(*engine, host.filterL, host.filterR, host.buffers(), out.data(), out.data(), 0);
    renderHostBlock(*engine, host.filterL, host.filterR, host.buffers(), out.data(), out.data(), -5);
    for (float x : out) EXPECT_EQ(x, 7.0f);
}

namespace {

// A scripted performance: per host block, what happens before it renders.
using Script = std::function<void(SynthEngine&, int32_t block)>;

void playScript(SynthEngine& engine, int32_t block) {
    float* p = engine.params;
    switch (block) {
        case 0:
            for (int32_t n = 0; n < 6; ++n) engine.noteOn(48 + 5 * n, 0.3f + 0.1f * n, 2 * (17 * n % 200));
            break;
        case 3:
            engine.noteOff(53, 100);
            engine.noteOn(53, 1.0f, 101);
            engine.queuePitchBend(0.5f, 150);
            break;
        case 5:
            p[param::kCutoff] = 0.9f;
            p[param::kFilterDepth] = 1.0f;
            p[param::kSubLevel] = 1.0f;
            p[param::kStereoWidth] = 0.2f;
            engine.paramChanged(param::kStereoWidth);
            for (int32_t n = 0; n < 14; ++n) engine.noteOn(60 + n, 0.9f, 2 * n);  // every voice busy
            break;
        case 8:
            p[param::kAttack + 2] = 0.2f;  // "S"
            engine.paramChanged(param::kAttack + 2);
            p[param::kFilterAttack + 1] = 0.05f;  // "F_D"
            engine.paramChanged(param::kFilterAttack + 1);
            engine.queuePitchBend(-1.0f, 0);
            engine.queuePitchBend(0.0f, 300);
            break;
        case 10:
            p[param::kOctave] = 0.9f;
            engine.noteOn(100, 0.7f, 33);
            p[param::kVolume] = 1.3f;
            p[param::kVelocity] = 0.0f;
            break;
        case 12:
            for (int32_t key = 40; key < 110; ++key) engine.noteOff(key, 3 * (key - 40));
            break;
        case 14:
            p[param::kAttack + 3] = 0.0f;  // "R": quick release, voices go idle mid-block
            engine.paramChanged(param::kAttack + 3);
            engine.noteOn(30, 1.0f, 5);
            engine.noteOff(30, 400);
            break;
        default: break;
    }
}

// Whether the script keeps its "SUB" values or starts with the sub-oscillator
// off (the render skips its reads) and turns it on while voices sound: the
// phases must have moved on meanwhile.
enum class Sub { kAsScripted, kOffThenOn };

void playScriptWith(SynthEngine& engine, int32_t block, Sub sub) {
    constexpr int32_t kSubOnBlock = 10;
    playScript(engine, block);
    if (sub == Sub::kOffThenOn) engine.params[param::kSubLevel] = block < kSubOnBlock ? 0.0f : 0.7f;
}

void expectFastEqualsReference(const LaneKernelInfo& kernel, int32_t frames, int32_t capacity,
                               Sub sub = Sub::kAsScripted) {
    auto fast = makeEngine();
    auto slow = makeEngine();
    copyTable(*fast, *slow);
    fast->voiceKernel = &kernel;
    HostRun fastHost(capacity), slowHost(2 * frames);
    for (int32_t block = 0; block < 20; ++block) {
        playScriptWith(*fast, block, sub);
        playScriptWith(*slow, block, sub);
        fastHost.render(*fast, frames);
        slowHost.renderReference(*slow, frames);
        ASSERT_EQ(firstDifference(fastHost.outL, slowHost.outL), -1) << kernel.name << " block " << block;
        ASSERT_EQ(firstDifference(fastHost.outR, slowHost.outR), -1) << kernel.name << " block " << block;
    }
    // Sounding voices carry the same state. (A voice that fell idle inside a
    // span keeps running silently to the span's end, so where pieces cut the
    // spans its idle state may differ; a note start resets all of it.)
    for (int32_t v = 0; v < SynthEngine::kVoiceCount; ++v) {
        const SynthVoice& a = fast->voices[v];
        const SynthVoice& b = slow->voices[v];
        EXPECT_EQ(a.sounding, b.sounding);
        if (!a.sounding) continue;
        EXPECT_EQ(a.osc[0].position, b.osc[0].position);
        EXPECT_EQ(a.subPhase, b.subPhase);
        EXPECT_EQ(a.ampEnv.stage, b.ampEnv.stage);
        EXPECT_TRUE(sameBits(a.ampEnv.level, b.ampEnv.level));
        EXPECT_TRUE(sameBits(a.filterState[7], b.filterState[7]));
    }
}

}  // namespace

TEST(FastRender, EveryKernelEqualsTheReferenceBitForBit) {
    int32_t count = 0;
    const LaneKernelInfo* kernels = availableLaneKernels(&count);
    for (int32_t k = 0; k < count; ++k) {
        std::printf("lane kernel %s (%d lanes)\n", kernels[k].name, kernels[k].width);
        expectFastEqualsReference(kernels[k], 256, 512);
        expectFastEqualsReference(kernels[k], 256, 512, Sub::kOffThenOn);
    }
}

TEST(FastRender, LongBlocksInPiecesEqualOneLongBlock) {
    // Buffers for 37 host frames, blocks of 256: events fall into later pieces.
    int32_t count = 0;
    const LaneKernelInfo* kernels = availableLaneKernels(&count);
    expectFastEqualsReference(kernels[count - 1], 256, 74);
    expectFastEqualsReference(kernels[0], 256, 3);  // odd capacity: pieces of one host frame
}

TEST(FastRender, BlockRenderEqualsReferenceAtEngineLevel) {
    auto fast = makeEngine();
    auto slow = makeEngine();
    copyTable(*fast, *slow);
    BlockRun fastRun, slowRun;
    for (int32_t block = 0; block < 16; ++block) {
        playScript(*fast, block);
        playScript(*slow, block);
        fastRun.render(*fast, 1000);
        slowRun.renderReference(*slow, 1000);
        ASSERT_EQ(firstDifference(fastRun.mixL, slowRun.mixL), -1) << block;
        ASSERT_EQ(firstDifference(fastRun.mixR, slowRun.mixR), -1) << block;
    }
}

TEST(FastRender, HeldVoicesEqualTheReferenceThroughAttackDecayAndRelease) {
    // Decays long enough to be followed to their sustain (reached, still
    // moving, or 0), with and without the sub-oscillator: one voice alone
    // (which steps its envelopes without testing for a stage's end once past
    // the attack), five (three lanes of padding on eight) and every voice.
    struct Case {
        float decay, sustain, filterDecay, subLevel;
    };
    const Case cases[] = {{0.01f, 0.5f, 0.01f, 0.4f}, {0.6f, 0.0f, 0.8f, 0.0f}, {0.3f, 0.9f, 0.5f, 1.0f}};
    for (int32_t voices : {1, 5, SynthEngine::kVoiceCount}) {
        for (const Case& c : cases) {
            auto fast = makeEngine();
            auto slow = makeEngine();
            copyTable(*fast, *slow);
            fast->voiceKernel = preferredLaneKernel();
            for (SynthEngine* engine : {fast.get(), slow.get()}) {
                float* p = engine->params;
                p[param::kAttack] = 0.002f;
                p[param::kAttack + 1] = c.decay;
                p[param::kAttack + 2] = c.sustain;
                p[param::kFilterAttack] = 0.002f;
                p[param::kFilterAttack + 1] = c.filterDecay;
                p[param::kSubLevel] = c.subLevel;
                for (int32_t index : {param::kAttack, param::kFilterAttack}) engine->paramChanged(index);
                for (int32_t v = 0; v < voices; ++v) engine->noteOn(45 + 2 * v, 0.5f + 0.02f * v, 3 + v);
            }
            HostRun fastHost(512), slowHost(512);
            for (int32_t block = 0; block < 60; ++block) {
                if (block == 50) {
                    fast->noteOff(45, 100);
                    slow->noteOff(45, 100);
                }
                fastHost.render(*fast, 256);
                slowHost.renderReference(*slow, 256);
                ASSERT_EQ(firstDifference(fastHost.outL, slowHost.outL), -1)
                    << voices << " " << c.decay << " " << block;
                ASSERT_EQ(firstDifference(fastHost.outR, slowHost.outR), -1)
                    << voices << " " << c.decay << " " << block;
            }
        }
    }
}
