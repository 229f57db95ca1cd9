#include <gtest/gtest.h>

#include "instrument/vst_plug.h"

namespace {

VstIntPtr VSTCALLBACK quietHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

TEST(WorkBuffers, ExistWhileResumedWithTwiceTheBlockSize) {
    VSTPlug plug(quietHost);
    AEffect* e = plug.getAeffect();
    for (int i = 0; i < 4; ++i) EXPECT_EQ(plug.workBuffer(i), nullptr);

    e->dispatcher(e, effSetBlockSize, 0, 512, nullptr, 0);
    e->dispatcher(e, effMainsChanged, 0, 1, nullptr, 0);
    ASSERT_EQ(plug.workBufferLength(), 1024);
    for (int i = 0; i < 4; ++i) {
        ASSERT_NE(plug.workBuffer(i), nullptr);
        for (int n = 0; n < 1024; ++n) ASSERT_EQ(plug.workBuffer(i)[n], 0.0f);
    }

    // The new size takes effect at the next resume; a second resume in a row
    // replaces the buffers without losing any (the sanitizer build checks).
    e->dispatcher(e, effSetBlockSize, 0, 64, nullptr, 0);
    EXPECT_EQ(plug.workBufferLength(), 1024);
    e->dispatcher(e, effMainsChanged, 0, 1, nullptr, 0);
    EXPECT_EQ(plug.workBufferLength(), 128);

    e->dispatcher(e, effMainsChanged, 0, 0, nullptr, 0);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(plug.workBuffer(i), nullptr);
}

}  // namespace
