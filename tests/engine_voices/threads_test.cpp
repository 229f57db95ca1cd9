// One thread regenerates the wavetable without pause (as a parameter knob
// turned on the user-interface thread) while another renders host blocks.
// Meant to run under ThreadSanitizer; it also checks the sound stays finite.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>

#include "engine/parameter_index.h"
#include "tests/engine_voices/test_support.h"

using namespace voices_test;

TEST(RenderThreads, BlocksRenderWhileTablesAreRegenerated) {
    auto engine = makeEngine();
    std::atomic<bool> done{false};
    std::atomic<int32_t> generations{0};
    std::thread knob([&] {
        for (int32_t turn = 0; !done.load(); ++turn) {
            engine->params[5] = static_cast<float>(turn % 11) * 0.1f;
            engine->paramChanged(5);
            ++generations;
        }
    });

    HostRun host(256);
    bool finite = true;
    for (int32_t block = 0; block < 4000 && finite; ++block) {
        if (block % 50 == 0) engine->noteOn(48 + block / 50 % 24, 0.9f, block % 256);
        if (block % 50 == 25) engine->noteOff(48 + block / 50 % 24, 3);
        host.render(*engine, 128);
        for (int32_t j = 0; j < 128; ++j) finite = finite && std::isfinite(host.outL[j]) && std::isfinite(host.outR[j]);
        if (block == 3999 && generations.load() < 2) --block;  // make sure tables did change under the render
    }
    done = true;
    knob.join();
    EXPECT_TRUE(finite);
    EXPECT_GE(generations.load(), 2);
    RecordProperty("tables_generated_while_rendering", generations.load());
}
