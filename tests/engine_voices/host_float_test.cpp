// Nubbel3 and its host thread's floating-point settings: the render does not
// depend on them, even after a minute of held notes whose decays would end in
// subnormals, and neither the render nor a generation changes them.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "instrument/factory_bank.h"
#include "instrument/vst_plug.h"
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

// Subnormal arithmetic costs many times a normal operation: a state that
// settles there keeps every later sample slow.
bool isSubnormal(float x) { return x != 0.0f && std::fabs(x) < std::numeric_limits<float>::min(); }

void expectNoSubnormalState(const SynthEngine& engine, int32_t program) {
    for (const SynthVoice& voice : engine.voices) {
        bool subnormal = isSubnormal(voice.ampEnv.level) || isSubnormal(voice.filterEnv.level);
        for (float state : voice.filterState) subnormal = subnormal || isSubnormal(state);
        EXPECT_FALSE(subnormal) << "program " << program;
    }
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
        expectNoSubnormalState(*plain, program);
    }
}

TEST(HostFloatSettings, AreTheSameAfterProcessReplacingAndAfterAGeneration) {
    VSTPlug plug(host_float::quietHost);
    host_float::expectPlugKeepsHostSettings(plug.getAeffect(), kHostRate, kBlock);
}

}  // namespace
