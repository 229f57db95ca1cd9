// The render allocates nothing: this program replaces the global allocation
// functions and counts every call made while host blocks are rendered.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "engine/parameter_index.h"
#include "tests/engine_voices/test_support.h"

namespace {

std::atomic<bool> counting{false};
std::atomic<int64_t> allocations{0};
std::atomic<int64_t> releases{0};

void* allocate(std::size_t size) {
    if (counting.load()) ++allocations;
    void* p = std::malloc(size ? size : 1);
    if (!p) throw std::bad_alloc();
    return p;
}

void release(void* p) {
    if (p && counting.load()) ++releases;
    std::free(p);
}

}  // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    if (counting.load()) ++allocations;
    return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    if (counting.load()) ++allocations;
    return std::malloc(size ? size : 1);
}
void operator delete(void* p) noexcept { release(p); }
void operator delete[](void* p) noexcept { release(p); }
void operator delete(void* p, std::size_t) noexcept { release(p); }
void operator delete[](void* p, std::size_t) noexcept { release(p); }

using namespace voices_test;

TEST(RenderAllocation, HostBlocksAllocateNothingAndFreeAtMostTheSupersededTable) {
    // The counters see allocations (the replacement is linked in).
    counting = true;
    delete new int(1);
    counting = false;
    ASSERT_EQ(allocations.exchange(0), 1);
    ASSERT_EQ(releases.exchange(0), 1);

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
