#include "tests/fuzz/allocation_limit.h"

#include <cstdlib>
#include <new>

namespace fuzzhost {

namespace {
thread_local bool limited = false;
thread_local long long limitBytes = 0;
thread_local size_t refused = 0;

bool allowed(std::size_t size) {
    if (!limited ||
        (limitBytes > 0 && static_cast<unsigned long long>(size) <= static_cast<unsigned long long>(limitBytes)))
        return true;
    ++refused;
    return false;
}

void* allocateOrNull(std::size_t size) noexcept { return allowed(size) ? std::malloc(size ? size : 1) : nullptr; }
}  // namespace

void limitAllocations(long long bytes) {
    limited = true;
    limitBytes = bytes;
}

void liftAllocationLimit() { limited = false; }

size_t refusedAllocations() { return refused; }

}  // namespace fuzzhost

namespace {
void* allocate(std::size_t size) {
    void* p = fuzzhost::allocateOrNull(size);
    if (!p) throw std::bad_alloc();
    return p;
}
}  // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return fuzzhost::allocateOrNull(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return fuzzhost::allocateOrNull(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
