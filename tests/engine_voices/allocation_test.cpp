// The render allocates nothing: this program replaces the global allocation
// functions and counts every call made while host blocks are rendered.
#include <gtest/gtest.h>

#include "engine/parameter_index.h"
#include "tests/engine_voices/test_support.h"
#include "tests/support/counting_allocation.h"

using namespace counting_allocation;
using namespace voices_test;

TEST(RenderAllocation, HostBlocksAllocateNothingAndFreeAtMostTheSupersededTable) {
    // The counters see allocations (the replacement is linked in).
    ASSERT_TRUE(countsOneRoundTrip());

    auto engine = makeEngine();
    HostRun host(1024);
    float* p = engine->params;
    for (int32_t block = 0; block < 200; ++block) {
        // Between blocks, as the host's other threads would: parameter changes,
        // one of them spectral, so the next block adopts a new table.
        if (block == 100) {
            p[5] = 0.25f;
            engine->paramChanged(5);
        }
        p[param::kCutoff] = 0.2f + 0.003f * static_cast<float>(block);
        engine->paramChanged(param::kCutoff);
        if (block % 7 == 0) engine->noteOn(40 + block % 50, 0.8f, block % 300);
        if (block % 11 == 0) engine->noteOff(40 + (block + 20) % 50, 17);
        if (block % 13 == 0) engine->queuePitchBend(static_cast<float>(block % 5) * 0.3f - 0.6f, 99);
        if (block == 150) engine->allNotesOff();

        const int64_t before = releases.load();
        counting = true;
        renderHostBlock(*engine, host.filterL, host.filterR, host.buffers(), host.outL.data(), host.outR.data(),
                        block % 2 ? 512 : 300);
        counting = false;
        const int64_t freed = releases.load() - before;
        ASSERT_EQ(allocations.load(), 0) << block;
        ASSERT_LE(freed, block == 100 ? 1 : 0) << block;
    }
}
