#include <gtest/gtest.h>

#include <cstring>

#include "tests/plugin_base/stub_effect.h"

namespace {

TEST(SpeakerArrangement, AllocateMatchAndRelease) {
    Lifecycle life;
    StubEffect effect(nullptr, life);
    VstSpeakerArrangement* a = nullptr;
    ASSERT_TRUE(effect.allocateArrangement(&a, 2));
    EXPECT_EQ(a->numChannels, 2);
    EXPECT_EQ(a->type, 0);
    const auto* bytes = reinterpret_cast<const unsigned char*>(a->speakers);
    for (size_t i = 0; i < 2 * sizeof(VstSpeakerProperties); ++i) ASSERT_EQ(bytes[i], 0) << i;

    a->type = 1;
    a->speakers[0].azimuth = -1.5f;
    a->speakers[1].type = 2;
    std::memset(a->speakers[1].name, 'R', sizeof(a->speakers[1].name));  // no terminator
    a->speakers[1].future[27] = 9;

    VstSpeakerArrangement* b = nullptr;
    ASSERT_TRUE(effect.matchArrangement(&b, a));
    EXPECT_EQ(b->type, 1);
    EXPECT_EQ(b->numChannels, 2);
    EXPECT_EQ(b->speakers[0].azimuth, -1.5f);
    EXPECT_EQ(b->speakers[1].type, 2);
    EXPECT_EQ(std::strlen(b->speakers[1].name), 63u);
    EXPECT_EQ(b->speakers[1].future[27], 9);

    // Reallocation releases the old block (the sanitizer build proves it).
    ASSERT_TRUE(effect.allocateArrangement(&a, 6));
    EXPECT_EQ(a->numChannels, 6);
    EXPECT_TRUE(effect.deallocateArrangement(&a));
    EXPECT_EQ(a, nullptr);
    EXPECT_TRUE(effect.deallocateArrangement(&a));
    EXPECT_TRUE(effect.deallocateArrangement(&b));

    EXPECT_FALSE(effect.matchArrangement(&b, nullptr));
    EXPECT_FALSE(effect.copySpeaker(nullptr, nullptr));
    EXPECT_FALSE(effect.allocateArrangement(&a, -1));
}

}  // namespace
