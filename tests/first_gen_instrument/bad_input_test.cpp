// What careless or hostile hosts send: indices out of range, block sizes and
// frame counts that do not fit, absurd values. Nothing outside the arrays is
// touched, and what is stored is stored as sent.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>

#include "tests/first_gen_instrument/plug_under_test.h"

namespace {

uint32_t bitsOf(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, 4);
    return bits;
}

std::vector<unsigned char> bankBytes(PlugUnderTest& t) {
    void* data = nullptr;
    const auto size = t.dispatch(effGetChunk, 0, 0, &data);
    const auto* bytes = static_cast<const unsigned char*>(data);
    return std::vector<unsigned char>(bytes, bytes + size);
}

TEST(FirstGenBadInput, IndicesOutsideTheArraysTouchNothing) {
    for (VstInt32 index : {-1, 23, 1000, INT_MIN, INT_MAX}) {
        PlugUnderTest t;
        const auto before = bankBytes(t);
        t.plug.setParameter(index, 0.5f);
        EXPECT_TRUE(engineCalls().empty()) << index;
        EXPECT_EQ(t.plug.getParameter(index), 0.0f) << index;
        char text[16] = "untouched";
        t.plug.getParameterName(index, text);
        EXPECT_STREQ(text, "untouched") << index;
        t.plug.getParameterDisplay(index, text);
        EXPECT_STREQ(text, "A few") << index;
        t.plug.setProgram(index);
        EXPECT_EQ(t.dispatch(effGetProgram), 0) << index;
        char name[32] = "untouched";
        EXPECT_FALSE(t.plug.getProgramNameIndexed(0, index, name)) << index;
        EXPECT_STREQ(name, "") << index;
        EXPECT_EQ(bankBytes(t), before) << index;
        EXPECT_TRUE(engineCalls().empty()) << index;
    }
}

TEST(FirstGenBadInput, BlocksThatDoNotFitTheBuffers) {
    struct Case {
        const char* what;
        std::function<void(PlugUnderTest&)> before;
        VstInt32 frames;
        size_t room;
        int32_t scratchFrames;  // of the one render call, 0: none

        float expectedOutput;  // in every sample of the block
    } cases[] = {
        {"the announced block", [](PlugUnderTest&) {}, 256, 256, 256, 1.0f},
        {"more frames than announced: one render through the announced buffers", [](PlugUnderTest&) {}, 600, 600, 256,
         1.0f},
        {"suspended: silence", [](PlugUnderTest& t) { t.dispatch(effMainsChanged, 0, 0); }, 256, 256, 0, 0.0f},
        {"a block size of 0 or less keeps the previous one",
         [](PlugUnderTest& t) {
             t.dispatch(effSetBlockSize, 0, 0);
             t.dispatch(effSetBlockSize, 0, -3);
             t.dispatch(effMainsChanged, 0, 1);
         },
         300, 300, 256, 1.0f},
        {"no frames: nothing written", [](PlugUnderTest&) {}, 0, 4, 0, 7.0f},
        {"negative frames: nothing written", [](PlugUnderTest&) {}, -5, 4, 0, 7.0f},
    };
    for (const Case& c : cases) {
        PlugUnderTest t(256);
        c.before(t);
        engineCalls().clear();
        const std::vector<float> left = t.process(c.frames, c.room);
        std::vector<EngineCall> expected;
        if (c.scratchFrames) expected.push_back({"renderBlock", c.scratchFrames, c.frames});
        EXPECT_EQ(engineCalls(), expected) << c.what;
        for (size_t i = 0; i < left.size(); ++i) ASSERT_EQ(left[i], c.expectedOutput) << c.what << " sample " << i;
    }
    PlugUnderTest t;
    float* missing[2] = {nullptr, nullptr};
    t.effect->processReplacing(t.effect, nullptr, missing, 256);
    t.effect->processReplacing(t.effect, nullptr, nullptr, 256);
    EXPECT_TRUE(engineCalls().empty());
}

// Values are kept bit for bit however absurd, whichever way they arrive.
TEST(FirstGenBadInput, AbsurdValuesAreStoredAsSent) {
    const float values[] = {NAN, INFINITY, -INFINITY, 1e9f, -1e9f, 1e-45f, -0.0f};
    for (float value : values) {
        PlugUnderTest t;
        t.plug.setParameter(15, value);
        EXPECT_EQ(bitsOf(t.plug.getParameter(15)), bitsOf(value)) << value;

        std::vector<float> preset(23, value);
        EXPECT_EQ(t.dispatch(effSetChunk, 1, 92, preset.data()), 92) << value;
        for (VstInt32 i = 0; i < 23; ++i) ASSERT_EQ(bitsOf(t.plug.getParameter(i)), bitsOf(value)) << value;
        void* data = nullptr;
        ASSERT_EQ(t.dispatch(effGetChunk, 1, 0, &data), 92);
        EXPECT_EQ(std::memcmp(data, preset.data(), 92), 0) << value;

        t.dispatch(effSetSampleRate, 0, 0, nullptr, value);
        t.process(256, 256);
    }
}

}  // namespace
