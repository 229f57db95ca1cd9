// Handing finished tables from the generating thread to the audio thread.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <set>
#include <thread>

#include "engine/wavetable.h"

namespace {

std::array<float, 33> valuesWithBandwidth(float bandwidth) {
    std::array<float, 33> values;
    values.fill(0.5f);
    values[32] = bandwidth;
    return values;
}

int occupiedSpares(const Wavetable& table) {
    int count = 0;
    for (const auto& slot : table.spares) count += slot.load() != nullptr;
    return count;
}

bool isSpare(const Wavetable& table, const float* candidate) {
    for (const auto& slot : table.spares)
        if (slot.load() == candidate) return true;
    return false;
}

}  // namespace

TEST(WavetableHandOver, AdoptionTakesTheLatestPublishedTable) {
    Wavetable table;
    adoptPendingTable(table);  // nothing published: nothing happens
    EXPECT_EQ(nullptr, table.current);

    const auto values = valuesWithBandwidth(0.5f);
    generateWavetable(values.data(), table);
    generateWavetable(values.data(), table);  // replaces the first, unseen
    float* latest = table.pending.load();
    ASSERT_NE(nullptr, latest);
    EXPECT_TRUE(table.pendingReady.load());

    adoptPendingTable(table);
    EXPECT_EQ(latest, table.current);
    EXPECT_EQ(nullptr, table.pending.load());
    EXPECT_FALSE(table.pendingReady.load());

    adoptPendingTable(table);  // a second block without a new table
    EXPECT_EQ(latest, table.current);
}

// The audio thread never frees: the table it gives up becomes a spare, which
// the next generation fills again, so a steady stream of regenerations
// settles on the same few arrays.
TEST(WavetableHandOver, GivenUpTablesAreRecycled) {
    Wavetable table;
    const auto values = valuesWithBandwidth(0.5f);
    generateWavetable(values.data(), table);
    adoptPendingTable(table);
    float* first = table.current;
    EXPECT_EQ(0, occupiedSpares(table));

    generateWavetable(values.data(), table);
    adoptPendingTable(table);
    EXPECT_TRUE(isSpare(table, first));

    generateWavetable(values.data(), table);
    EXPECT_EQ(first, table.pending.load());
    adoptPendingTable(table);

    std::set<const float*> arrays;
    for (int i = 0; i < 10; ++i) {
        generateWavetable(values.data(), table);
        adoptPendingTable(table);
        arrays.insert(table.current);
    }
    EXPECT_EQ(2u, arrays.size());
    EXPECT_EQ(1, occupiedSpares(table));
}

// Spares left over from earlier adoptions are released by the next
// generation, on its own thread, except the one it fills.
TEST(WavetableHandOver, SurplusSparesAreReleasedByTheGenerator) {
    Wavetable table;
    table.spares[0].store(allocateTable());
    table.spares[1].store(allocateTable());
    table.spares[2].store(allocateTable());
    const auto values = valuesWithBandwidth(0.5f);
    generateWavetable(values.data(), table);
    EXPECT_EQ(0, occupiedSpares(table));
}

// One thread regenerates continuously while another adopts at block rate and
// reads whole tables, as the voices do. Run under ThreadSanitizer too: every
// table the reader sees must be complete (guard sample equals sample 0, peak
// at 1/1.4142) and no access may race.
TEST(WavetableHandOver, RegeneratingWhileTheAudioThreadAdoptsAndReads) {
    Wavetable table;
    createWavetable(table);
    std::atomic<bool> generating{true};
    std::atomic<int> generations{0};

    std::thread generator([&] {
        for (int i = 0; i < 60; ++i) {
            const auto values = valuesWithBandwidth(static_cast<float>(i % 11) / 10.0f);
            generateWavetable(values.data(), table);
            generations.fetch_add(1);
        }
        generating.store(false);
    });

    int blocks = 0;
    int adoptions = 0;
    int incomplete = 0;
    const float kNormalisedPeak = 1.0f / 1.4142f;
    const float* seen = nullptr;
    while (generating.load() || blocks < 3000) {
        adoptPendingTable(table);
        const float* current = table.current;
        if (current && current != seen) {
            seen = current;
            ++adoptions;
            float peak = 0.0f;
            for (int32_t i = 0; i <= Wavetable::kLength; i += 7) peak = std::max(peak, std::fabs(current[i]));
            // The peak may land one float step above 1/1.4142 (peak * scale rounds).
            if (current[Wavetable::kLength] != current[0] || peak > std::nextafter(kNormalisedPeak, 1.0f)) ++incomplete;
        } else if (current) {
            // An ordinary block: the voices read a few samples.
            volatile float sample = current[(static_cast<uint32_t>(blocks) * 977u) & (Wavetable::kLength - 1)];
            (void)sample;
        }
        ++blocks;
        if (blocks % 64 == 0) std::this_thread::yield();
    }
    generator.join();
    adoptPendingTable(table);

    EXPECT_EQ(60, generations.load());
    EXPECT_GT(adoptions, 1);
    EXPECT_EQ(0, incomplete);
    EXPECT_GE(blocks, 3000);
}
