#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/interface/plugin_fixture.h"

namespace {

using Lifecycle = LoadedPlugin;

TEST_P(Lifecycle, EveryResumeAsksForMidi) {
    host.start(44100.0f, 512);
    host.suspend();
    host.resume();
    EXPECT_EQ(host.countCalls(audioMasterWantMidi), 2);
    for (const auto& call : host.calls) {
        if (call.opcode == audioMasterWantMidi) {
            EXPECT_EQ(call.value, 1);
        }
    }
}

TEST_P(Lifecycle, RendersSilentBlocksAndSurvivesCarelessHosts) {
    std::vector<float> left(4096, 1.0f), right(4096, 1.0f);
    // Before any resume: no work buffers yet, still no crash and silence.
    host.process(left.data(), right.data(), 256);
    host.start(44100.0f, 512);
    host.process(left.data(), right.data(), 0);
    host.process(left.data(), right.data(), 512);
    host.process(left.data(), right.data(), 4096);  // larger than the block size
    // Without notes at most an output filter's rounding residue remains.
    for (size_t i = 0; i < left.size(); ++i) {
        ASSERT_LE(std::fabs(left[i]), 1e-15f) << i;
        ASSERT_LE(std::fabs(right[i]), 1e-15f) << i;
    }
    host.dispatch(effSetBlockSize, 0, 0);
    host.dispatch(effSetBlockSize, 0, -3);
    host.suspend();
    host.resume();
    host.process(left.data(), right.data(), 512);
    host.suspend();
    host.process(left.data(), right.data(), 512);
    EXPECT_LE(std::fabs(left[0]), 1e-15f);
}

TEST_P(Lifecycle, CloseWhileResumedReleasesEverything) {
    host.start(48000.0f, 1024);
    EXPECT_EQ(host.close(), 1);  // the sanitizer build would report a leak
    EXPECT_FALSE(host.loaded());
}

RUN_FOR_EVERY_INSTRUMENT(Lifecycle);

}  // namespace
