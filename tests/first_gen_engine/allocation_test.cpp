// The render allocates nothing: this program replaces the global allocation
// functions and counts every call made while blocks are rendered.
#include <gtest/gtest.h>

#include "tests/first_gen_engine/first_gen_test_support.h"
#include "tests/support/counting_allocation.h"

using namespace counting_allocation;
using namespace firstgen_test;

TEST(FirstGenAllocation, BlocksAllocateAndFreeNothing) {
    ASSERT_TRUE(countsOneRoundTrip());

    auto engine = makeEngine();
    BlockRun run;
    run.render(*engine, 1024);  // sizes the buffers outside the count
    for (int32_t block = 0; block < 200; ++block) {
        if (block == 100) {
            engine->params[4] = 0.25f;
            engine->paramChanged(4);  // the next block adopts a new table
        }
        engine->params[15] = 0.2f + 0.003f * static_cast<float>(block);
        engine->paramChanged(15);
        if (block % 7 == 0) engine->noteOn(40 + block % 50, noteHz(40 + block % 50), 0.8f, block % 300);
        if (block % 11 == 0) engine->noteOff(40 + (block + 20) % 50, 17);
        if (block % 13 == 0) engine->pitchBend(static_cast<float>(block % 5) * 0.3f - 0.6f, 99);
        if (block == 150) engine->cutAllVoices();
        const int32_t frames = block % 2 ? 1024 : 300;
        counting = true;
        engine->renderBlock(run.scratchL.data(), run.scratchR.data(), run.outL.data(), run.outR.data(), frames);
        counting = false;
        ASSERT_EQ(allocations.load(), 0) << block;
        ASSERT_EQ(releases.load(), 0) << block;
    }
}
