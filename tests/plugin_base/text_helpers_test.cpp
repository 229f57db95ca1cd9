#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "tests/plugin_base/stub_effect.h"

namespace {

struct Texts : ::testing::Test {
    Lifecycle life;
    StubEffect effect{nullptr, life};
    // Canary bytes after the allowed length show any write past it.
    std::string run(void (StubEffect::*op)(float, char*, VstInt32), float v, VstInt32 maxLen = 8) {
        char buf[64];
        std::memset(buf, '#', sizeof(buf));
        (effect.*op)(v, buf, maxLen);
        EXPECT_EQ(buf[maxLen + 1], '#') << "wrote past the text";
        return buf;
    }
    std::string integer(VstInt32 v, VstInt32 maxLen = 8) {
        char buf[64];
        std::memset(buf, '#', sizeof(buf));
        effect.int2string(v, buf, maxLen);
        EXPECT_EQ(buf[maxLen + 1], '#') << "wrote past the text";
        return buf;
    }
};

TEST_F(Texts, FloatToString) {
    const struct {
        float value;
        const char* text;
    } table[] = {
        {1.5f, "1.500000"},       {0.0f, "0.000000"},       {-2.25f, "-2.25000"},      {1234.5f, "1234.500"},
        {9999999.0f, "9999999."}, {-999999.0f, "-999999."}, {-9999999.0f, "-9999999"}, {12345678.0f, "12345678"},
    };
    for (const auto& row : table) EXPECT_EQ(run(&StubEffect::float2string, row.value), row.text) << row.value;
    for (float huge : {1e8f + 8.0f, -1e7f - 1.0f, 1e30f, -1e30f, std::numeric_limits<float>::infinity(),
                       -std::numeric_limits<float>::infinity()})
        EXPECT_EQ(run(&StubEffect::float2string, huge), "Huge!") << huge;
    EXPECT_EQ(run(&StubEffect::float2string, std::nanf("")), "NaN");
    for (float v : {0.001f, -0.5f, 123.456f, 1e7f - 1.0f, -1e6f + 1.0f, 5e7f})
        EXPECT_LE(run(&StubEffect::float2string, v).size(), 8u) << v;
    EXPECT_EQ(run(&StubEffect::float2string, 1.5f, 4), "1.50");
}

TEST_F(Texts, IntToString) {
    EXPECT_EQ(integer(-42), "-42");
    EXPECT_EQ(integer(0), "0");
    EXPECT_EQ(integer(7), "7");
    EXPECT_EQ(integer(99999999), "99999999");
    EXPECT_EQ(integer(-99999999, 9), "-99999999");
    EXPECT_EQ(integer(100000000), "Huge!");
    EXPECT_EQ(integer(-100000000), "Huge!");
    EXPECT_EQ(integer(std::numeric_limits<VstInt32>::min()), "Huge!");
    EXPECT_EQ(integer(12345, 3), "123");
}

TEST_F(Texts, DecibelsHertzAndMilliseconds) {
    EXPECT_EQ(run(&StubEffect::dB2string, 0.0f), "-oo");
    EXPECT_EQ(run(&StubEffect::dB2string, -1.0f), "-oo");
    EXPECT_EQ(run(&StubEffect::dB2string, 1.0f), "0.000000");
    EXPECT_EQ(run(&StubEffect::dB2string, 10.0f), "20.00000");
    effect.setSampleRate(44100.0f);
    EXPECT_EQ(run(&StubEffect::Hz2string, 0.0f), "0.000000");
    EXPECT_EQ(run(&StubEffect::Hz2string, 100.0f), "441.0000");
    EXPECT_EQ(run(&StubEffect::ms2string, 441.0f), "10.00000");
}

TEST(StringCopies, CutAndAlwaysTerminate) {
    char buf[16];
    std::memset(buf, '#', sizeof(buf));
    vst_strncpy(buf, "Zephyrine Vaultworks", 8);
    EXPECT_STREQ(buf, "Zephyrin");
    vst_strncat(buf, "more", 10);
    EXPECT_STREQ(buf, "Zephyrinmo");
    vst_strncpy(buf, nullptr, 8);
    EXPECT_STREQ(buf, "");
    vst_strncpy(nullptr, "x", 8);  // nothing to write into: no crash
}

}  // namespace
