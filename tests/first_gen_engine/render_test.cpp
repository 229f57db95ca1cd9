// The block render: bit for bit the plain reference over a scripted session,
// pitch and level at every rate, the pitch wheel, sample-exact events, table
// hand-over, and independence from the calling thread's float settings.
#include <gtest/gtest.h>

#include <xmmintrin.h>

#include <cmath>
#include <functional>
#include <thread>

#include "first_generation/engine/fast_exp2.h"
#include "numerics/extended_precision.h"
#include "tests/first_gen_engine/first_gen_test_support.h"

using namespace firstgen_test;

namespace {

// Two engines fed the same calls; the second renders with the reference.
struct Twins {
    std::unique_ptr<FirstGenEngine> fast, plain;
    Twins(float rate, int32_t kernel) : fast(makeEngine(rate)), plain(makeEngine(rate)) { fast->laneKernel = kernel; }

    void both(const std::function<void(FirstGenEngine&)>& call) {
        call(*fast);
        call(*plain);
        // Generation draws new random phases each time: the twins share one table.
        float* pendingFast = fast->wavetable.pending.load();
        float* pendingPlain = plain->wavetable.pending.load();
        if (pendingFast && pendingPlain)
            std::memcpy(pendingPlain, pendingFast, sizeof(float) * (Wavetable::kLength + 1));
    }
    void set(int32_t index, float value) {
        both([&](FirstGenEngine& e) {
            e.params[index] = value;
            e.paramChanged(index);
        });
    }
    // Renders one block with each and reports the first differing sample.
    ::testing::AssertionResult block(int32_t frames) {
        BlockRun a, b;
        a.render(*fast, frames);
        b.renderReference(*plain, frames);
        if (!sameBits(a.outL, b.outL) || !sameBits(a.outR, b.outR))
            return ::testing::AssertionFailure() << "samples differ";
        return ::testing::AssertionSuccess();
    }
};

// Notes, steals, bends, releases, parameter and spectral changes, entries on
// one frame, a note on and off in one block, all voices cut.
void runSession(Twins& twins) {
    auto on = [&](int32_t note, float velocity, int32_t frame) {
        twins.both([&](FirstGenEngine& e) { e.noteOn(note, noteHz(note), velocity, frame); });
    };
    auto off = [&](int32_t note, int32_t frame) { twins.both([&](FirstGenEngine& e) { e.noteOff(note, frame); }); };
    auto bend = [&](float value, int32_t frame) { twins.both([&](FirstGenEngine& e) { e.pitchBend(value, frame); }); };
    auto block = [&](int32_t frames) { return twins.block(frames); };
    for (int32_t n = 0; n < 20; ++n) on(30 + 3 * n, 0.3f + 0.03f * n, 11 * n);  // more notes than voices
    ASSERT_TRUE(block(256));
    ASSERT_TRUE(block(300));
    bend(0.4f, 0);
    bend(-0.7f, 100);
    off(33, 50);
    off(45, 50);
    ASSERT_TRUE(block(333));
    twins.set(15, 0.2f);
    twins.set(9, 0.9f);
    twins.set(18, 0.05f);
    twins.set(12, 0.8f);
    twins.set(22, 0.9f);
    on(60, 1.0f, 10);
    off(60, 90);  // on and off in one block
    on(61, 0.0f, 90);
    ASSERT_TRUE(block(128));
    twins.set(3, 0.9f);  // a new table from the next block on
    bend(0.0f, 5);
    for (int32_t n = 0; n < 8; ++n) off(30 + 3 * n, 7 * n);
    ASSERT_TRUE(block(512));
    for (int32_t b = 0; b < 40; ++b) {
        on(40 + (b * 7) % 50, 0.9f, b % 64);
        if (b % 3 == 0) off(40 + (b * 5) % 50, 64);
        if (b % 4 == 0) twins.set(14, 0.1f * static_cast<float>(b % 10));
        ASSERT_TRUE(block(64 + b));
    }
    twins.both([](FirstGenEngine& e) { e.cutAllVoices(); });
    ASSERT_TRUE(block(64));
    on(50, 0.5f, 0);
    for (int32_t b = 0; b < 20; ++b) ASSERT_TRUE(block(4096));           // through release and sustain
    for (int32_t n = 0; n < 5; ++n) on(62 + 4 * n, 0.4f + 0.1f * n, n);  // a chord held into its sustain
    for (int32_t b = 0; b < 12; ++b) ASSERT_TRUE(block(4096));
    for (int32_t n = 0; n < 5; ++n) off(62 + 4 * n, 100 * n);
    for (int32_t b = 0; b < 4; ++b) ASSERT_TRUE(block(4096));
}

}  // namespace

// Every vector width this CPU runs, at a rate below, at and above the
// smoothing's cap.
TEST(FirstGenRender, MatchesPlainReferenceOverSession) {
    int32_t kernelCount = 0;
    const FirstGenLaneKernelInfo* kernels = firstGenLaneKernels(&kernelCount);
    for (int32_t kernel = 0; kernel < kernelCount; ++kernel) {
        for (float rate : {44100.0f, 22050.0f, 96000.0f}) {
            Twins twins(rate, kernel);
            ASSERT_NO_FATAL_FAILURE(runSession(twins)) << kernels[kernel].name << " " << rate;
        }
    }
}

// Below 37.7 kHz the smoothing passes its input instead of ringing near
// Nyquist or diverging; the note still sounds an octave above its frequency.
TEST(FirstGenRender, BoundedAndInTuneAtLowRates) {
    for (float rate : {8000.0f, 11025.0f, 16000.0f, 22050.0f, 32000.0f, 44100.0f}) {
        auto engine = makeEngine(rate);
        engine->params[15] = 1.0f;  // filter wide open
        engine->noteOn(45, noteHz(45), 1.0f, 0);
        const std::vector<float> out = renderChannel(*engine, static_cast<int32_t>(rate), false);
        EXPECT_LT(peakOf(out), 2.0f) << rate;
        EXPECT_GT(peakOf(out), 0.3f) << rate;
        EXPECT_NEAR(2.0 * noteHz(45), measurePitch(out, rate), 0.005 * noteHz(45)) << rate;
    }
}

TEST(FirstGenRender, PitchWheelBendsSoundingAndLaterNotes) {
    // At the centre the wheel changes nothing, bit for bit.
    auto still = makeEngine();
    auto centred = makeEngine();
    for (FirstGenEngine* e : {still.get(), centred.get()}) e->noteOn(45, noteHz(45), 1.0f, 0);
    centred->pitchBend(0.0f, 3);
    EXPECT_TRUE(sameBits(renderChannel(*still, 4096), renderChannel(*centred, 4096)));

    auto engine = makeEngine();
    engine->noteOn(45, noteHz(45), 1.0f, 0);
    const double unbent = measurePitch(renderChannel(*engine, 22050), 44100.0f);
    engine->pitchBend(1.0f, 0);
    renderChannel(*engine, 256);
    EXPECT_NEAR(2.0 * unbent, measurePitch(renderChannel(*engine, 22050), 44100.0f), 0.005 * unbent);
    engine->pitchBend(-0.5f, 0);
    engine->noteOff(45, 0);
    engine->noteOn(57, noteHz(57), 1.0f, 0);  // starts bent: half an octave down
    renderChannel(*engine, 4096);
    const double expected = 4.0 * noteHz(45) * fastExp2(-0.5f);
    EXPECT_NEAR(expected, measurePitch(renderChannel(*engine, 22050), 44100.0f), 0.005 * expected);
}

TEST(FirstGenRender, EntriesTakeEffectAtTheirFrames) {
    auto engine = makeEngine();
    engine->noteOn(45, noteHz(45), 1.0f, 17);
    BlockRun run;
    run.render(*engine, 64);
    for (int32_t i = 0; i < 17; ++i) EXPECT_EQ(0.0f, run.outR[i]) << i;
    EXPECT_NE(0.0f, run.outR[17]);

    // On and off in one block: sounding from 5, released at 40.
    engine->cutAllVoices();
    engine->noteOn(50, noteHz(50), 1.0f, 5);
    engine->noteOff(50, 40);
    const int32_t voice = engine->events[0].voice;
    run.render(*engine, 64);
    EXPECT_TRUE(engine->voices[voice].sounding);
    EXPECT_TRUE(engine->voices[voice].released);
    EXPECT_EQ(LinearEnvelope::kRelease, engine->voices[voice].ampEnv.state);
    EXPECT_EQ(0, engine->eventCount);
}

// A host block longer than the scratch buffers: spans that fit, entries still
// at their frames, the samples of one render with buffers of the whole block.
TEST(FirstGenRender, LongBlocksThroughShortScratchBuffersGiveTheSameSamples) {
    constexpr int32_t kFrames = 1000, kScratch = 64;
    auto queueNotes = [](FirstGenEngine& engine) {
        engine.noteOn(45, noteHz(45), 0.8f, 3);
        engine.noteOn(52, noteHz(52), 0.6f, 130);
        engine.pitchBend(0.25f, 500);
        engine.noteOff(45, 777);
    };
    auto whole = makeEngine(), pieces = makeEngine();
    std::vector<float> outL(kFrames), outR(kFrames), pieceL(kFrames), pieceR(kFrames);
    std::vector<float> scratchL(kFrames), scratchR(kFrames);
    for (int block = 0; block < 3; ++block) {
        queueNotes(*whole);
        queueNotes(*pieces);
        std::fill(outL.begin(), outL.end(), 0.0f);
        std::fill(outR.begin(), outR.end(), 0.0f);
        std::fill(pieceL.begin(), pieceL.end(), 0.0f);
        std::fill(pieceR.begin(), pieceR.end(), 0.0f);
        whole->renderBlock(scratchL.data(), scratchR.data(), outL.data(), outR.data(), kFrames);
        pieces->renderBlock(scratchL.data(), scratchR.data(), kScratch, pieceL.data(), pieceR.data(), kFrames);
        EXPECT_TRUE(sameBits(outL, pieceL) && sameBits(outR, pieceR)) << "block " << block;
    }
    EXPECT_GT(peakOf(outL), 1e-3f);
}

TEST(FirstGenRender, TwoGenerationsBeforeABlockAdoptOnlyTheSecond) {
    auto engine = makeEngine();
    engine->paramChanged(0);
    float* first = engine->wavetable.pending.load();
    engine->paramChanged(8);
    float* second = engine->wavetable.pending.load();
    ASSERT_NE(nullptr, second);
    EXPECT_NE(first, second);
    applyQueue(*engine);
    EXPECT_EQ(second, engine->wavetable.current);
    EXPECT_EQ(nullptr, engine->wavetable.pending.load());
    EXPECT_EQ(4u, engine->tablesGenerated.load());  // construction, program, 0, 8
}

// Hosts may run their audio threads with flush-to-zero, denormals-are-zero,
// another rounding mode, or (32-bit Windows) the x87 at 53 bits. In the first
// half of this table every left sub-step lands on a pair whose interpolation
// rounds differently in double (start offset and increment chosen for a
// fraction of 0xFFFF throughout); the second half is subnormal.
TEST(FirstGenRender, CallersFloatSettingsDoNotMatter) {
    constexpr float kWidthForFraction = 0x1.d12f3ap-5f;   // left start 2 x 65536 + 0xFFFF
    constexpr float kTwoSamplesPerStep = 0x1.58895ap+8f;  // increment 2 x 65536 at 44.1 kHz
    auto render = [&](bool hostile) {
        auto engine = makeEngine();
        float* t = engine->wavetable.current;
        for (int32_t i = 0; i <= Wavetable::kLength; i += 2) {
            const bool subnormal = i >= Wavetable::kLength / 2;
            t[i] = subnormal ? 1e-39f : 0x1.0a3de2p-2f;
            if (i < Wavetable::kLength) t[i + 1] = subnormal ? -3e-39f : -0x1.371ec4p-37f;
        }
        engine->params[9] = kWidthForFraction;
        engine->paramChanged(9);
        engine->params[21] = 0.0f;
        engine->noteOn(45, kTwoSamplesPerStep, 1.0f, 0);
        applyQueue(*engine);
        EXPECT_EQ(2u * 65536u + 0xFFFFu, engine->voices[0].oscL.position);
        EXPECT_EQ(2u * 65536u, engine->voices[0].oscL.increment);
        std::vector<float> out;
        std::thread worker([&] {
            if (hostile) {
                _mm_setcsr(_mm_getcsr() | 0x8040u | 0x6000u);
                const uint16_t control = ExtendedPrecision::readControl();
                ExtendedPrecision::writeControl(static_cast<uint16_t>((control & ~0x0300) | 0x0200));
            }
            out = renderChannel(*engine, 40000);
        });
        worker.join();
        return out;
    };
    EXPECT_TRUE(sameBits(render(false), render(true)));
}
