#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "engine/synth_engine.h"
#include "instrument/vst_plug.h"

namespace {

VstIntPtr VSTCALLBACK quietHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

std::string textOf(VSTPlug& plug, VstInt32 opcode, VstInt32 index) {
    char buf[64];
    std::memset(buf, '#', sizeof(buf));
    AEffect* e = plug.getAeffect();
    e->dispatcher(e, opcode, index, 0, buf, 0);
    EXPECT_EQ(buf[9], '#') << "more than 8 characters and terminator";
    buf[63] = 0;
    return buf;
}

TEST(Parameters, NamesLabelsDisplaysAndAutomation) {
    VSTPlug plug(quietHost);
    const struct {
        VstInt32 index;
        const char* name;
        bool automatable;
    } table[] = {
        {0, "Prt 1", false}, {31, "Prt 32", false}, {32, "BW", false}, {33, "SW", false},
        {34, "OCT", false},  {35, "SUB", false},    {36, "F_A", true}, {40, "F_Env", true},
        {41, "F_Cut", true}, {43, "A", true},       {47, "Vel", true}, {48, "Vol", true},
    };
    AEffect* e = plug.getAeffect();
    for (const auto& row : table) {
        EXPECT_EQ(textOf(plug, effGetParamName, row.index), row.name);
        EXPECT_EQ(textOf(plug, effGetParamLabel, row.index), "Ynk");
        EXPECT_EQ(textOf(plug, effGetParamDisplay, row.index), "A few");
        EXPECT_EQ(e->dispatcher(e, effCanBeAutomated, row.index, 0, nullptr, 0), row.automatable ? 1 : 0);
    }
    // Beyond the parameter list nothing is written.
    char buf[16] = "untouched";
    e->dispatcher(e, effGetParamName, 49, 0, buf, 0);
    e->dispatcher(e, effGetParamName, -1, 0, buf, 0);
    EXPECT_STREQ(buf, "untouched");
}

TEST(Parameters, ValuesAreStoredAsSentAndOutsideIndicesIgnored) {
    VSTPlug plug(quietHost);
    AEffect* e = plug.getAeffect();
    for (float v : {1.7f, -3.0f, 0.0f, 1e30f}) {
        e->setParameter(e, 48, v);
        EXPECT_EQ(e->getParameter(e, 48), v);
    }
    e->setParameter(e, 40, std::nanf(""));
    EXPECT_TRUE(std::isnan(e->getParameter(e, 40)));
    for (VstInt32 bad : {-1, 49, 100, 1 << 30}) {
        e->setParameter(e, bad, 0.5f);
        EXPECT_EQ(e->getParameter(e, bad), 0.0f);
    }
}

// What a change costs: a table generation for the spectrum, per-voice work
// for stereo width and envelopes, nothing for values read while rendering.
TEST(Parameters, ChangesStartOnlyTheirOwnWork) {
    VSTPlug plug(quietHost);
    SynthEngine& engine = plug.synthEngine();
    AEffect* e = plug.getAeffect();
    const uint32_t before = engine.tablesGenerated;

    e->setParameter(e, 5, e->getParameter(e, 5));  // unchanged: nothing at all
    EXPECT_EQ(engine.tablesGenerated, before);

    e->setParameter(e, 5, e->getParameter(e, 5) == 1.0f ? 0.0f : 1.0f);
    EXPECT_EQ(engine.tablesGenerated, before + 1);

    e->setParameter(e, 33, 1.0f);
    EXPECT_EQ(engine.tablesGenerated, before + 1);
    for (const SynthVoice& v : engine.voices) EXPECT_EQ(v.osc[0].startOffset, 0.5f);

    e->setParameter(e, 40, 0.123f);
    EXPECT_EQ(engine.tablesGenerated, before + 1);
}

}  // namespace
