// Memory that runs out on a script's request. A program that links
// allocation_limit.cpp replaces the global allocation functions; while a limit
// is set on a thread, allocations on that thread larger than the limit fail
// (new throws std::bad_alloc, the nothrow forms return null). Other threads
// (a fuzzer's own, say) are never limited. Without that file linked, or where
// a plug-in carries its own allocator (a statically linked C++ library, as in
// the Windows builds), limits change nothing and refusedAllocations stays 0.
#pragma once

#include <cstddef>

namespace fuzzhost {

// Bytes <= 0 refuses every allocation.
void limitAllocations(long long bytes);
void liftAllocationLimit();
// Allocations refused on this thread since the program started.
size_t refusedAllocations();

}  // namespace fuzzhost
