// The random phase generator and the process-wide state shared by every
// generation.

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <thread>
#include <vector>

#include "engine/gaussian_bands.h"
#include "engine/phase_generator.h"
#include "engine/wavetable.h"
#include "tests/reference/wavetable_reference.h"

namespace {

uint32_t advance(uint32_t state, int32_t steps) {
    for (int32_t i = 0; i < steps; ++i) state = nextPhaseState(state);
    return state;
}

std::vector<float> referenceTable(const float* values, uint32_t state) {
    std::vector<float> table(Wavetable::kLength + 1);
    reference::generateTable(values, state, table.data());
    return table;
}

bool sameBits(const float* a, const std::vector<float>& b) {
    return std::memcmp(a, b.data(), b.size() * sizeof(float)) == 0;
}

}  // namespace

TEST(PhaseGenerator, FirstStatesAndPhasesOfAProcess) {
    const uint32_t s1 = nextPhaseState(kInitialPhaseState);
    const uint32_t s2 = nextPhaseState(s1);
    const uint32_t s3 = nextPhaseState(s2);
    EXPECT_EQ(1129873917u, s1);
    EXPECT_EQ(1591421545u, s2);
    EXPECT_EQ(3781532491u, s3);
    EXPECT_EQ(-513434805, static_cast<int32_t>(s3));
    EXPECT_NEAR(1.652913f, phaseOfState(s1), 1e-6f);
    EXPECT_NEAR(2.328120f, phaseOfState(s2), 1e-6f);
    EXPECT_NEAR(-0.751113f, phaseOfState(s3), 1e-6f);
}

TEST(PhaseGenerator, PhasesStayWithinPlusMinusPi) {
    EXPECT_FLOAT_EQ(-3.14159274f, phaseOfState(0x80000000u));
    EXPECT_LE(phaseOfState(0x7fffffffu), 3.14159274f);
    EXPECT_EQ(0.0f, phaseOfState(0u));
}

// Two instances generating at the same moment on two threads: each table must
// come from 32,768 consecutive states, the two draws one after the other.
TEST(PhaseGenerator, ConcurrentGenerationsDrawConsecutiveStates) {
    std::array<float, 33> valuesA, valuesB;
    valuesA.fill(0.5f);
    valuesB.fill(0.0f);
    valuesB[0] = 1.0f;
    valuesB[32] = 0.8f;
    for (int round = 0; round < 4; ++round) {
        Wavetable tableA, tableB;
        const uint32_t before = peekPhaseState();
        std::thread a([&] { generateWavetable(valuesA.data(), tableA); });
        std::thread b([&] { generateWavetable(valuesB.data(), tableB); });
        a.join();
        b.join();
        adoptPendingTable(tableA);
        adoptPendingTable(tableB);
        const uint32_t middle = advance(before, kAmplitudeBins);
        EXPECT_EQ(advance(middle, kAmplitudeBins), peekPhaseState());
        const bool aFirst = sameBits(tableA.current, referenceTable(valuesA.data(), before)) &&
                            sameBits(tableB.current, referenceTable(valuesB.data(), middle));
        const bool bFirst = sameBits(tableB.current, referenceTable(valuesB.data(), before)) &&
                            sameBits(tableA.current, referenceTable(valuesA.data(), middle));
        EXPECT_TRUE(aFirst || bFirst) << "round " << round;
    }
}
