// Absurd values from a host or a chunk: nothing undefined, a voice whose state
// turns non-finite is silenced, and once values are sane again the next note
// sounds as it would in a fresh engine.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "tests/first_gen_engine/first_gen_test_support.h"

using namespace firstgen_test;

namespace {

void setParam(FirstGenEngine& e, int32_t index, float value) {
    e.params[index] = value;
    e.paramChanged(index);
}

// Sane values back, one note rendered for a while: its output.
std::vector<float> saneNote(FirstGenEngine& e) {
    const std::vector<float> program = padProgram();
    std::copy(program.begin(), program.end(), e.params);
    e.setSampleRate(44100.0f);
    e.paramChanged(FirstGenEngine::kAllParameters);
    e.pitchBend(0.0f, 0);
    e.cutAllVoices();
    applyQueue(e);
    useTestTable(e);
    e.noteOn(45, noteHz(45), 0.8f, 0);
    return renderChannel(e, 4096);
}

}  // namespace

TEST(FirstGenFaults, AbsurdValuesStayDefinedAndRecover) {
    const float kAbsurd[] = {NAN, INFINITY, -INFINITY, 1e9f, -1e9f, 1e30f, 0.0f};
    const struct {
        const char* name;
        std::function<void(FirstGenEngine&, float)> apply;
    } cases[] = {
        {"sample rate", [](FirstGenEngine& e, float x) { e.setSampleRate(x); }},
        {"frequency", [](FirstGenEngine& e, float x) { e.noteOn(45, x, 1.0f, 0); }},
        {"velocity", [](FirstGenEngine& e, float x) { e.noteOn(45, noteHz(45), x, 0); }},
        {"bend", [](FirstGenEngine& e, float x) { e.pitchBend(x, 0); }},
        {"width", [](FirstGenEngine& e, float x) { setParam(e, 9, x); }},
        {"filter envelope",
         [](FirstGenEngine& e, float x) {
             for (int32_t i = 10; i <= 13; ++i) setParam(e, i, x);
         }},
        {"filter amount", [](FirstGenEngine& e, float x) { setParam(e, 14, x); }},
        {"cutoff", [](FirstGenEngine& e, float x) { setParam(e, 15, x); }},
        {"filter velocity", [](FirstGenEngine& e, float x) { setParam(e, 16, x); }},
        {"amp envelope",
         [](FirstGenEngine& e, float x) {
             for (int32_t i = 17; i <= 20; ++i) setParam(e, i, x);
         }},
        {"amp velocity", [](FirstGenEngine& e, float x) { setParam(e, 21, x); }},
        {"volume", [](FirstGenEngine& e, float x) { setParam(e, 22, x); }},
        {"group and bandwidth", [](FirstGenEngine& e, float x) { setParam(e, 2, x), setParam(e, 8, x); }},
    };
    auto fresh = makeEngine();
    const std::vector<float> expected = saneNote(*fresh);
    ASSERT_GT(peakOf(expected), 0.1f);
    for (const auto& c : cases) {
        for (float x : kAbsurd) {
            auto engine = makeEngine();
            engine->noteOn(40, noteHz(40), 1.0f, 0);
            engine->noteOn(52, noteHz(52), 1.0f, 0);
            c.apply(*engine, x);
            engine->noteOn(45, noteHz(45), 1.0f, 10);
            renderChannel(*engine, 4096);
            for (const FirstGenVoice& voice : engine->voices) {
                if (!voice.sounding) continue;
                EXPECT_TRUE(std::isfinite(voice.left.y4 + voice.oscL.s4 + voice.ampEnv.level)) << c.name << " " << x;
            }
            // A table that never changes stays comparable: only spectral rows regenerate.
            EXPECT_TRUE(sameBits(expected, saneNote(*engine))) << c.name << " " << x;
        }
    }
}

TEST(FirstGenFaults, OutOfRangeIndicesAndBuffersAreIgnored) {
    auto engine = makeEngine();
    const uint32_t generated = engine->tablesGenerated.load();
    for (int32_t index : {-1, 23, 99, 101, 1000, INT32_MIN, INT32_MAX}) engine->paramChanged(index);
    EXPECT_EQ(generated, engine->tablesGenerated.load());

    engine->noteOn(45, noteHz(45), 1.0f, 0);
    engine->noteOff(-1, 0);  // matches only voices that never played
    float buffer[8] = {};
    engine->renderBlock(nullptr, buffer, buffer, buffer, 8);  // entries applied, nothing written
    EXPECT_EQ(0, engine->eventCount);
    engine->renderBlock(buffer, buffer, buffer, buffer, -5);
    for (float x : buffer) EXPECT_EQ(0.0f, x);
    EXPECT_TRUE(engine->voices[0].sounding);
}
