// Steady-state regeneration allocates nothing: the workspace comes from the
// pool and the table the audio thread gave up is refilled. The audio thread's
// adoption neither allocates nor frees. A binary of its own, because it
// replaces the global allocation functions to count calls.

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cstdlib>
#include <new>

#include "engine/table_workspace.h"
#include "engine/wavetable.h"

namespace {

std::atomic<int> allocations{0};
std::atomic<int> releases{0};

}  // namespace

namespace {

void* countedAllocation(std::size_t size) {
    allocations.fetch_add(1);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}

void countedRelease(void* p) noexcept {
    if (p) releases.fetch_add(1);
    std::free(p);
}

}  // namespace

void* operator new(std::size_t size) { return countedAllocation(size); }
void* operator new[](std::size_t size) { return countedAllocation(size); }
void operator delete(void* p) noexcept { countedRelease(p); }
void operator delete[](void* p) noexcept { countedRelease(p); }
void operator delete(void* p, std::size_t) noexcept { countedRelease(p); }
void operator delete[](void* p, std::size_t) noexcept { countedRelease(p); }

TEST(WavetableAllocation, RegenerationAndAdoptionReuseTheirMemory) {
    std::array<float, 33> values;
    values.fill(0.5f);
    Wavetable table;
    for (int i = 0; i < 3; ++i) {  // warm up: workspace, current and one spare
        generateWavetable(values.data(), table);
        adoptPendingTable(table);
    }
    const int workspaces = WorkspaceLease::createdCount();

    for (int i = 0; i < 20; ++i) {
        values[32] = static_cast<float>(i) / 20.0f;
        const int allocationsBefore = allocations.load();
        const int releasesBefore = releases.load();
        generateWavetable(values.data(), table);
        EXPECT_EQ(allocationsBefore, allocations.load()) << "generation " << i;
        EXPECT_EQ(releasesBefore, releases.load()) << "generation " << i;

        adoptPendingTable(table);
        adoptPendingTable(table);  // and a block without a new table
        EXPECT_EQ(allocationsBefore, allocations.load()) << "adoption " << i;
        EXPECT_EQ(releasesBefore, releases.load()) << "adoption " << i;
    }
    EXPECT_EQ(workspaces, WorkspaceLease::createdCount());
}
