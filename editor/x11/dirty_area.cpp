#include "editor/x11/dirty_area.h"

#include <algorithm>

namespace {
constexpr int kLargest = 0xFFFF;

std::uint64_t field(int v) { return static_cast<std::uint64_t>(std::clamp(v, 0, kLargest)); }
int at(std::uint64_t word, int shift) { return static_cast<int>(word >> shift & kLargest); }

std::uint64_t pack(const PixelRect& r) {
    return field(r.left) << 48 | field(r.top) << 32 | field(r.right) << 16 | field(r.bottom);
}
PixelRect unpack(std::uint64_t word) { return {at(word, 48), at(word, 32), at(word, 16), at(word, 0)}; }
bool isEmpty(const PixelRect& r) { return r.right <= r.left || r.bottom <= r.top; }
}  // namespace

void DirtyArea::add(const PixelRect& area) {
    const PixelRect clamped = unpack(pack(area));
    if (isEmpty(clamped)) return;
    std::uint64_t current = packed.load(std::memory_order_relaxed);
    for (;;) {
        PixelRect joined = clamped;
        if (current != 0) {
            const PixelRect old = unpack(current);
            joined = {std::min(old.left, clamped.left), std::min(old.top, clamped.top),
                      std::max(old.right, clamped.right), std::max(old.bottom, clamped.bottom)};
        }
        if (packed.compare_exchange_weak(current, pack(joined), std::memory_order_relaxed)) return;
    }
}

bool DirtyArea::take(PixelRect& area) {
    const std::uint64_t word = packed.exchange(0, std::memory_order_relaxed);
    if (word == 0) return false;
    area = unpack(word);
    return true;
}
