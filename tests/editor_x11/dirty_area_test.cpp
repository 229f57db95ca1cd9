// The area to repaint: a bounding union that any thread adds to and the
// interface thread takes, losing nothing in between.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "editor/x11/dirty_area.h"

namespace {

bool operator==(const PixelRect& a, const PixelRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

PixelRect join(const PixelRect& a, const PixelRect& b) {
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

TEST(DirtyArea, TakesTheUnionOfWhatWasAddedAndThenNothing) {
    const struct {
        const char* name;
        std::vector<PixelRect> added;
        bool any;
        PixelRect expected;
    } cases[] = {
        {"nothing", {}, false, {}},
        {"one", {{3, 4, 10, 20}}, true, {3, 4, 10, 20}},
        {"two apart", {{440, 40, 464, 64}, {16, 24, 37, 45}}, true, {16, 24, 464, 64}},
        {"empty areas", {{5, 5, 5, 9}, {7, 7, 6, 9}}, false, {}},
        {"clamped", {{-20, -3, 70000, 12}}, true, {0, 0, 65535, 12}},
    };
    for (const auto& c : cases) {
        DirtyArea dirty;
        for (const PixelRect& r : c.added) dirty.add(r);
        PixelRect taken{};
        EXPECT_EQ(dirty.take(taken), c.any) << c.name;
        if (c.any) {
            EXPECT_TRUE(taken == c.expected) << c.name;
        }
        EXPECT_FALSE(dirty.take(taken)) << c.name << ": taken twice";
    }
}

TEST(DirtyArea, AddsFromOtherThreadsAreNeverLost) {
    DirtyArea dirty;
    constexpr int kAdds = 20000;
    // Each writer adds one marker, mid-run, that alone widens the union on
    // its own side; a lost add among the crowd shows as a missing side.
    const PixelRect markers[] = {{0, 150, 1, 151}, {500, 150, 501, 151}, {150, 0, 151, 1}};
    std::atomic<int> running{3};
    std::vector<std::thread> writers;
    for (const PixelRect& marker : markers)
        writers.emplace_back([&dirty, &running, marker] {
            for (int i = 0; i < kAdds; ++i) {
                const int x = 100 + i * 37 % 100, y = 100 + i * 13 % 100;
                dirty.add(i == kAdds / 2 ? marker : PixelRect{x, y, x + 1, y + 1});
            }
            --running;
        });
    PixelRect seen{65535, 65535, 0, 0};
    PixelRect taken;
    while (running.load() > 0)
        if (dirty.take(taken)) seen = join(seen, taken);
    for (auto& w : writers) w.join();
    if (dirty.take(taken)) seen = join(seen, taken);
    EXPECT_TRUE(seen == (PixelRect{0, 0, 501, 200}))
        << seen.left << "," << seen.top << "," << seen.right << "," << seen.bottom;
}

}  // namespace
