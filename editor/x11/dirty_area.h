// The union of the areas asked to be repainted, as one bounding rectangle in
// a single atomic word: any thread (the host's automation included) adds to
// it without a lock, and the interface thread takes it whole, so no area
// added meanwhile is lost. Coordinates are clamped to 0..65535.
#pragma once

#include <atomic>
#include <cstdint>

#include "editor/canvas.h"

class DirtyArea {
public:
    // Empty areas add nothing.
    void add(const PixelRect& area);
    // The union since the last take, leaving nothing behind; false when
    // nothing was added.
    bool take(PixelRect& area);

private:
    // left, top, right, bottom: 16 bits each from the top; 0 is empty.
    std::atomic<std::uint64_t> packed{0};
};
