// Nubbel and its host thread's floating-point settings: the render does not
// depend on them, even after a minute of held notes whose decays would end in
// subnormals, and neither the render nor a generation changes them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "first_generation/instrument/factory_bank.h"
#include "first_generation/instrument/vst_plug.h"
#include "tests/first_gen_engine/first_gen_test_support.h"
#include "tests/support/host_float_settings.h"

namespace {

using namespace firstgen_test;

constexpr float kRate = 44100.0f;
constexpr int32_t kBlock = 512;
constexpr int32_t kHeldSeconds = 60;
constexpr int32_t kNote = 48;  // key 60
constexpr float kVelocity = 0.8f;

std::unique_ptr<FirstGenEngine> factoryEngine(int32_t program) {
    auto engine = std::make_unique<FirstGenEngine>();
    engine->setSampleRate(kRate);
    std::copy_n(firstgen::kFactoryBank[program].values, FirstGenEngine::kParamCount, engine->params);
    engine->paramChanged(FirstGenEngine::kAllParameters);
    return engine;
}

// Generation draws new random phases every time: twins share the model's table.
void copyTable(FirstGenEngine& model, FirstGenEngine& twin) {
    adoptPendingTable(model.wavetable);
    adoptPendingTable(twin.wavetable);
    std::memcpy(twin.wavetable.current, model.wavetable.current, sizeof(float) * (Wavetable::kLength + 1));
}

TEST(HostFloatSettings, HeldNoteOnEveryProgramIsTheSameWithAndWithoutHostFlushToZero) {
    const int32_t blocks = static_cast<int32_t>(kHeldSeconds * kRate) / kBlock;
    for (int32_t program = 0; program < kProgramCount; ++program) {
        auto plain = factoryEngine(program);
        auto flushing = factoryEngine(program);
        copyTable(*plain, *flushing);
        plain->noteOn(kNote, noteHz(kNote), kVelocity, 0);
        flushing->noteOn(kNote, noteHz(kNote), kVelocity, 0);
        BlockRun plainRun, flushingRun;
        for (int32_t block = 0; block < blocks; ++block) {
            {
                host_float::Scoped host(host_float::kPlain);
                plainRun.render(*plain, kBlock);
            }
            {
                host_float::Scoped host(host_float::kFlushing);
                flushingRun.render(*flushing, kBlock);
            }
            if (!sameBits(plainRun.outL, flushingRun.outL) || !sameBits(plainRun.outR, flushingRun.outR)) {
                ADD_FAILURE() << "program " << program << " differs in block " << block;
                break;
            }
        }
    }
}

TEST(HostFloatSettings, AreTheSameAfterProcessReplacingAndAfterAGeneration) {
    firstgen::VSTPlug plug(host_float::quietHost);
    host_float::expectPlugKeepsHostSettings(plug.getAeffect(), kRate, kBlock);
}

}  // namespace
