#include <gtest/gtest.h>

#include <cstring>

#include "tests/interface/plugin_fixture.h"

namespace {

using Identity = LoadedPlugin;

TEST_P(Identity, RecordAndAnswersAsAHostScanSeesThem) {
    const Instrument& i = instrument();
    AEffect* e = host.effect();
    EXPECT_EQ(e->magic, fourCC("VstP"));
    EXPECT_EQ(e->numInputs, 0);
    EXPECT_EQ(e->numOutputs, 2);
    EXPECT_EQ(e->numPrograms, 8);
    EXPECT_EQ(e->numParams, i.numParams);
    EXPECT_EQ(e->uniqueID, i.uniqueID);
    EXPECT_EQ(e->version, 1);
    EXPECT_EQ(e->flags, i.flags);
    EXPECT_EQ(e->initialDelay, 0);
    EXPECT_EQ(e->ioRatio, 1.0f);
    EXPECT_EQ(host.text(effGetEffectName), i.effectName);
    EXPECT_EQ(host.text(effGetVendorString), "Zephyrine Vaultworks");
    EXPECT_EQ(host.text(effGetProductString), i.productString);
    EXPECT_EQ(host.dispatch(effGetVendorVersion), i.vendorVersion);
    EXPECT_EQ(host.dispatch(effGetPlugCategory), 2);
    EXPECT_EQ(host.dispatch(effGetVstVersion), 2400);
    EXPECT_EQ(host.dispatch(effIdentify), fourCC("NvEf"));
    EXPECT_EQ(host.dispatch(effGetTailSize), 0);
    EXPECT_EQ(host.dispatch(effGetCurrentMidiProgram), -1);
    EXPECT_EQ(host.dispatch(effGetNumMidiInputChannels), 0);
}

TEST_P(Identity, ParameterTextsAndWhatTheHostMayAutomate) {
    const Instrument& i = instrument();
    ASSERT_EQ(VstInt32(i.parameterNames.size()), i.numParams);
    for (VstInt32 index = 0; index < i.numParams; ++index) {
        EXPECT_EQ(host.text(effGetParamName, index), i.parameterNames[size_t(index)]) << index;
        EXPECT_EQ(host.text(effGetParamLabel, index), "Ynk") << index;
        EXPECT_EQ(host.text(effGetParamDisplay, index), "A few") << index;
        EXPECT_EQ(host.dispatch(effCanBeAutomated, index), index >= i.firstAutomatable ? 1 : 0) << index;
    }
}

TEST_P(Identity, CapabilitiesAreExactlyTheEventsItReceives) {
    struct Case {
        const char* question;
        VstIntPtr answer;
    } cases[] = {{"receiveVstEvents", 1},
                 {"receiveVstMidiEvent", 1},
                 {"receiveVstTimeInfo", 1},
                 {"receivevstevents", -1},
                 {"receiveVstEventsX", -1},
                 {"sendVstMidiEvent", -1},
                 {"", -1}};
    for (const Case& c : cases) {
        char text[64];
        std::strcpy(text, c.question);
        EXPECT_EQ(host.dispatch(effCanDo, 0, 0, text), c.answer) << c.question;
    }
}

TEST_P(Identity, BothExportsRefuseAHostThatAnswersNoVersion) {
    host.versionAnswer = 0;
    EXPECT_EQ(host.callEntry("VSTPluginMain"), nullptr);
    EXPECT_EQ(host.callEntry("main"), nullptr);

    host.versionAnswer = 2400;
    AEffect* second = host.callEntry("main");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->uniqueID, instrument().uniqueID);
    EXPECT_NE(second, host.effect());
    EXPECT_EQ(second->dispatcher(second, effClose, 0, 0, nullptr, 0), 1);
}

TEST_P(Identity, CarelessHostPointersAreAnsweredWithZero) {
    for (VstInt32 opcode : {effGetProgramName, effGetParamName, effGetParamLabel, effGetParamDisplay, effSetProgramName,
                            effGetChunk, effSetChunk, effGetEffectName, effGetVendorString, effGetProductString,
                            effCanDo, effEditGetRect, effGetProgramNameIndexed})
        EXPECT_EQ(host.dispatch(opcode, 0, 0, nullptr), 0) << "opcode " << opcode;
    for (VstInt32 opcode = 0; opcode < 80; ++opcode) {
        if (opcode == effClose || opcode == effEditOpen || opcode == effMainsChanged) continue;
        host.dispatch(opcode, 0, 0, nullptr);  // every opcode survives a null pointer
    }
    EXPECT_EQ(host.dispatch(effProcessEvents, 0, 0, nullptr), 1);  // an empty list is still taken
    EXPECT_EQ(host.text(effGetEffectName), instrument().effectName);
}

RUN_FOR_EVERY_INSTRUMENT(Identity);

}  // namespace
