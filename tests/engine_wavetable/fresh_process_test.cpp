// What a freshly loaded library does: the phase state starts at 656446, the
// record's construction leaves the all-0.5 table pending, and the following
// generations continue the same sequence, so a fresh process always produces
// the same tables. A binary of its own, so that nothing generates before it.

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

#include "engine/phase_generator.h"
#include "engine/wavetable.h"
#include "tests/reference/wavetable_reference.h"

TEST(FreshProcess, ConstructionThenProgramFollowTheInitialState) {
    ASSERT_EQ(kInitialPhaseState, peekPhaseState());

    Wavetable table;
    createWavetable(table);
    EXPECT_EQ(256, table.cyclesPerTable);
    EXPECT_EQ(65536, table.length);
    EXPECT_EQ(nullptr, table.current);
    EXPECT_TRUE(table.pendingReady.load());

    std::array<float, 33> half;
    half.fill(0.5f);
    std::vector<float> expected(Wavetable::kLength + 1);
    uint32_t state = reference::generateTable(half.data(), kInitialPhaseState, expected.data());
    float* pending = table.pending.load();
    ASSERT_NE(nullptr, pending);
    EXPECT_EQ(0, std::memcmp(expected.data(), pending, expected.size() * sizeof(float)));

    // The instrument then loads program 0, which replaces the pending table.
    std::array<float, 33> program;
    program.fill(0.0f);
    program[0] = 1.0f;
    program[1] = 0.5f;
    program[32] = 0.3f;
    generateWavetable(program.data(), table);
    state = reference::generateTable(program.data(), state, expected.data());
    adoptPendingTable(table);
    ASSERT_NE(nullptr, table.current);
    EXPECT_EQ(0, std::memcmp(expected.data(), table.current, expected.size() * sizeof(float)));
    EXPECT_EQ(state, peekPhaseState());
}
