// generateFirstGenWavetable: the library's phase state, consecutive draws per
// generation, and publication for the next block.

#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

#include "engine/phase_generator.h"
#include "engine/wavetable.h"
#include "first_generation/engine/first_gen_generator.h"

namespace {

constexpr int32_t kTableSize = Wavetable::kLength + 1;
const float kGroups[kFirstGenGroupCount] = {1, 0, 0.635f, 1, 0, 1, 0.75f, 0.92f};

bool sameTable(const float* a, const std::vector<float>& b) {
    return std::memcmp(a, b.data(), kTableSize * sizeof(float)) == 0;
}

}  // namespace

TEST(FirstGenGeneration, EachGenerationContinuesTheLibrarysPhaseState) {
    Wavetable wavetable;
    for (int generation = 0; generation < 2; ++generation) {
        const uint32_t before = peekPhaseState();
        std::vector<float> expected(kTableSize);
        const uint32_t after = synthesizeFirstGenTable(kGroups, 0.345f, before, expected.data());
        generateFirstGenWavetable(kGroups, 0.345f, wavetable);
        EXPECT_EQ(after, peekPhaseState());
        adoptPendingTable(wavetable);
        ASSERT_NE(nullptr, wavetable.current);
        EXPECT_TRUE(sameTable(wavetable.current, expected));
    }
}

// Two generations before a block: the block adopts the second one only.
TEST(FirstGenGeneration, TheLaterOfTwoPendingTablesIsAdopted) {
    Wavetable wavetable;
    generateFirstGenWavetable(kGroups, 0.5f, wavetable);
    const uint32_t between = peekPhaseState();
    generateFirstGenWavetable(kGroups, 0.5f, wavetable);
    std::vector<float> second(kTableSize);
    synthesizeFirstGenTable(kGroups, 0.5f, between, second.data());
    adoptPendingTable(wavetable);
    EXPECT_TRUE(sameTable(wavetable.current, second));
    adoptPendingTable(wavetable);  // nothing new pending
    EXPECT_TRUE(sameTable(wavetable.current, second));
}

// Generations on several threads at once each draw 32,768 consecutive states:
// together they advance the state by exactly as many steps.
TEST(FirstGenGeneration, ConcurrentGenerationsDrawDisjointRuns) {
    constexpr int kThreads = 3;
    uint32_t expected = peekPhaseState();
    for (int i = 0; i < kThreads * Wavetable::kLength / 2; ++i) expected = nextPhaseState(expected);
    std::vector<Wavetable> wavetables(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&wavetables, t] { generateFirstGenWavetable(kGroups, 0.2f * t, wavetables[t]); });
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(expected, peekPhaseState());
}
