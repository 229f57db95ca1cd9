// Replaces the global allocation functions of a test program with ones that
// count the calls made while `counting` is set. Include from exactly one
// source file of the program (replacement functions are defined here).
#pragma once

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace counting_allocation {

inline std::atomic<bool> counting{false};
inline std::atomic<int64_t> allocations{0};
inline std::atomic<int64_t> releases{0};

inline void* allocate(std::size_t size) {
    if (counting.load()) ++allocations;
    void* p = std::malloc(size ? size : 1);
    if (!p) throw std::bad_alloc();
    return p;
}

inline void* allocateOrNull(std::size_t size) noexcept {
    if (counting.load()) ++allocations;
    return std::malloc(size ? size : 1);
}

inline void release(void* p) {
    if (p && counting.load()) ++releases;
    std::free(p);
}

// The program's self-check that the replacement is linked in: one counted
// allocation and one counted release; leaves the counters at 0.
inline bool countsOneRoundTrip() {
    counting = true;
    // Through a volatile pointer: a compiler may drop a new that meets its delete.
    int* volatile one = new int(1);
    delete one;
    counting = false;
    const bool allocated = allocations.exchange(0) == 1;
    return releases.exchange(0) == 1 && allocated;
}

}  // namespace counting_allocation

void* operator new(std::size_t size) { return counting_allocation::allocate(size); }
void* operator new[](std::size_t size) { return counting_allocation::allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return counting_allocation::allocateOrNull(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return counting_allocation::allocateOrNull(size);
}
void operator delete(void* p) noexcept { counting_allocation::release(p); }
void operator delete[](void* p) noexcept { counting_allocation::release(p); }
void operator delete(void* p, std::size_t) noexcept { counting_allocation::release(p); }
void operator delete[](void* p, std::size_t) noexcept { counting_allocation::release(p); }
