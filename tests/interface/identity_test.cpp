#include <gtest/gtest.h>

#include "tests/interface/plugin_fixture.h"

namespace {

using Identity = LoadedPlugin;

TEST_F(Identity, RecordAndAnswersAsAHostScanSeesThem) {
    AEffect* e = host.effect();
    EXPECT_EQ(e->magic, fourCC("VstP"));
    EXPECT_EQ(e->numInputs, 0);
    EXPECT_EQ(e->numOutputs, 2);
    EXPECT_EQ(e->numPrograms, 8);
    EXPECT_EQ(e->numParams, 49);
    EXPECT_EQ(e->uniqueID, fourCC("ZVN3"));
    EXPECT_EQ(e->version, 1);
#if defined(_WIN32)
    EXPECT_EQ(e->flags, 0x131);  // the Windows libraries have the editor window
#else
    EXPECT_EQ(e->flags, 0x130);  // no window backend here yet: no editor
#endif
    EXPECT_EQ(e->initialDelay, 0);
    EXPECT_EQ(e->ioRatio, 1.0f);
    EXPECT_EQ(host.text(effGetEffectName), "Nubbel3");
    EXPECT_EQ(host.text(effGetVendorString), "Zephyrine Vaultworks");
    EXPECT_EQ(host.text(effGetProductString), "ZV's Nubbel3");
    EXPECT_EQ(host.dispatch(effGetVendorVersion), 3000);
    EXPECT_EQ(host.dispatch(effGetPlugCategory), 2);
    EXPECT_EQ(host.dispatch(effGetVstVersion), 2400);
    EXPECT_EQ(host.dispatch(effIdentify), fourCC("NvEf"));
    EXPECT_EQ(host.dispatch(effGetTailSize), 0);
    EXPECT_EQ(host.dispatch(effGetCurrentMidiProgram), -1);
    EXPECT_EQ(host.dispatch(effGetNumMidiInputChannels), 0);
}

TEST_F(Identity, BothExportsRefuseAHostThatAnswersNoVersion) {
    host.versionAnswer = 0;
    EXPECT_EQ(host.callEntry("VSTPluginMain"), nullptr);
    EXPECT_EQ(host.callEntry("main"), nullptr);

    host.versionAnswer = 2400;
    AEffect* second = host.callEntry("main");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->uniqueID, fourCC("ZVN3"));
    EXPECT_NE(second, host.effect());
    EXPECT_EQ(second->dispatcher(second, effClose, 0, 0, nullptr, 0), 1);
}

TEST_F(Identity, CarelessHostPointersAreAnsweredWithZero) {
    for (VstInt32 opcode : {effGetProgramName, effGetParamName, effGetParamLabel, effGetParamDisplay, effSetProgramName,
                            effGetChunk, effSetChunk, effGetEffectName, effGetVendorString, effGetProductString,
                            effCanDo, effEditGetRect, effGetProgramNameIndexed})
        EXPECT_EQ(host.dispatch(opcode, 0, 0, nullptr), 0) << "opcode " << opcode;
    for (VstInt32 opcode = 0; opcode < 80; ++opcode) {
        if (opcode == effClose || opcode == effEditOpen || opcode == effMainsChanged) continue;
        host.dispatch(opcode, 0, 0, nullptr);  // every opcode survives a null pointer
    }
    EXPECT_EQ(host.dispatch(effProcessEvents, 0, 0, nullptr), 1);  // an empty list is still taken
    EXPECT_EQ(host.text(effGetEffectName), "Nubbel3");
}

}  // namespace
