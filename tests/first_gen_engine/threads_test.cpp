// One thread regenerates the wavetable without pause (a group knob turned on
// the user-interface thread) while another renders blocks. Meant to run under
// ThreadSanitizer; it also checks the sound stays finite.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>

#include "tests/first_gen_engine/first_gen_test_support.h"

using namespace firstgen_test;

TEST(FirstGenThreads, BlocksRenderWhileTablesAreRegenerated) {
    auto engine = makeEngine();
    std::atomic<bool> done{false};
    std::atomic<int32_t> generations{0};
    std::thread knob([&] {
        for (int32_t turn = 0; !done.load(); ++turn) {
            engine->params[2] = static_cast<float>(turn % 11) * 0.1f;
            engine->paramChanged(2);
            ++generations;
        }
    });

    BlockRun run;
    bool finite = true;
    for (int32_t block = 0; block < 2000 && finite; ++block) {
        const int32_t note = 36 + block / 50 % 24;
        if (block % 50 == 0) engine->noteOn(note, noteHz(note), 0.9f, block % 128);
        if (block % 50 == 25) engine->noteOff(note, 3);
        run.render(*engine, 128);
        for (int32_t j = 0; j < 128; ++j) finite = finite && std::isfinite(run.outL[j]) && std::isfinite(run.outR[j]);
        if (block == 1999 && generations.load() < 2) --block;  // make sure tables did change under the render
    }
    done = true;
    knob.join();
    EXPECT_TRUE(finite);
    EXPECT_GE(generations.load(), 2);
}
