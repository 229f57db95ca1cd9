// Nubbel3 and its host thread's floating-point settings: the render does not
// depend on them, even after a minute of held notes whose decays would end in
// subnormals, and neither the render nor a generation changes them.
#include <gtest/gtest.h>

#include "instrument/factory_bank.h"
#include "instrument/vst_plug.h"
#include "tools/testhost/midi_event_list.h"
#include "tests/engine_voices/test_support.h"
#include "tests/support/host_float_settings.h"

namespace {

using namespace voices_test;

constexpr int32_t kBlock = 512;
constexpr int32_t kHeldSeconds = 60;
constexpr int32_t kKey = 60;
constexpr float kVelocity = 0.8f;

std::unique_ptr<SynthEngine> factoryEngine(int32_t program) {
    auto engine = std::make_unique<SynthEngine>();
    engine->setSampleRate(kHostRate);
    engine->loadAllParameters(kFactoryBank[program].values);
    return engine;
}

TEST(HostFloatSettings, HeldNoteOnEveryProgramIsTheSameWithAndWithoutHostFlushToZero) {
    const int32_t blocks = static_cast<int32_t>(kHeldSeconds * kHostRate) / kBlock;
    for (int32_t program = 0; program < kProgramCount; ++program) {
        auto plain = factoryEngine(program);
        auto flushing = factoryEngine(program);
        adoptPendingTable(plain->wavetable);
        copyTable(*plain, *flushing);
        plain->noteOn(kKey, kVelocity, 0);
        flushing->noteOn(kKey, kVelocity, 0);
        HostRun plainRun(2 * kBlock), flushingRun(2 * kBlock);
        for (int32_t block = 0; block < blocks; ++block) {
            {
                host_float::Scoped host(host_float::kPlain);
                plainRun.render(*plain, kBlock);
            }
            {
                host_float::Scoped host(host_float::kFlushing);
                flushingRun.render(*flushing, kBlock);
            }
            if (firstDifference(plainRun.outL, flushingRun.outL) >= 0 ||
                firstDifference(plainRun.outR, flushingRun.outR) >= 0) {
                ADD_FAILURE() << "program " << program << " differs in block " << block;
                break;
            }
        }
    }
}

VstIntPtr VSTCALLBACK quietHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

TEST(HostFloatSettings, AreTheSameAfterProcessReplacingAndAfterAGeneration) {
    VSTPlug plug(quietHost);
    AEffect* e = plug.getAeffect();
    e->dispatcher(e, effSetSampleRate, 0, 0, nullptr, kHostRate);
    e->dispatcher(e, effSetBlockSize, 0, kBlock, nullptr, 0);
    e->dispatcher(e, effMainsChanged, 0, 1, nullptr, 0);
    testhost::MidiEventList chord({{0, 0x90, 48, 100}, {3, 0x90, 55, 90}, {7, 0x90, 64, 80}});
    std::vector<float> left(kBlock), right(kBlock);
    float* outputs[2] = {left.data(), right.data()};

    VstInt32 program = 0;
    for (const host_float::Settings& settings : host_float::kHostSettings) {
        host_float::Scoped host(settings);
        e->dispatcher(e, effSetProgram, 0, ++program, nullptr, 0);  // a new table
        EXPECT_EQ(host_float::current(), settings) << "after the generation of program " << program;
        e->dispatcher(e, effProcessEvents, 0, 0, chord.list(), 0);
        for (int32_t block = 0; block < 4; ++block) e->processReplacing(e, nullptr, outputs, kBlock);
        EXPECT_EQ(host_float::current(), settings) << "after processReplacing, program " << program;
    }
}

}  // namespace
