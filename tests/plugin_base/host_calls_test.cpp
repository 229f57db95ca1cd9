#include <gtest/gtest.h>

#include <functional>

#include "tests/plugin_base/stub_effect.h"

namespace {

// One host wrapper: how to call it, which opcode, index and value it must
// send, and what it returns for a host answering 0, answering 1 and without
// any host.
struct WrapperCase {
    const char* name;
    std::function<VstIntPtr(StubEffect&)> call;
    VstInt32 opcode, index;
    VstIntPtr value;
    VstIntPtr whenZero, whenOne, withoutHost;
};

char someText[64] = "x";

const WrapperCase kWrappers[] = {
    {"getMasterVersion", [](StubEffect& e) { return e.getMasterVersion(); }, audioMasterVersion, 0, 0, 1, 1, 1},
    {"getCurrentUniqueId", [](StubEffect& e) { return e.getCurrentUniqueId(); }, audioMasterCurrentId, 0, 0, 0, 1, 0},
    {"isInputConnected", [](StubEffect& e) { return VstIntPtr(e.isInputConnected(3)); }, audioMasterPinConnected, 3, 0,
     1, 0, 1},
    {"isOutputConnected", [](StubEffect& e) { return VstIntPtr(e.isOutputConnected(2)); }, audioMasterPinConnected, 2,
     1, 1, 0, 1},
    {"beginEdit", [](StubEffect& e) { return VstIntPtr(e.beginEdit(7)); }, audioMasterBeginEdit, 7, 0, 0, 1, 0},
    {"endEdit", [](StubEffect& e) { return VstIntPtr(e.endEdit(7)); }, audioMasterEndEdit, 7, 0, 0, 1, 0},
    {"ioChanged", [](StubEffect& e) { return VstIntPtr(e.ioChanged()); }, audioMasterIOChanged, 0, 0, 0, 1, 0},
    {"needIdle", [](StubEffect& e) { return VstIntPtr(e.needIdle()); }, audioMasterNeedIdle, 0, 0, 0, 1, 0},
    {"sizeWindow", [](StubEffect& e) { return VstIntPtr(e.sizeWindow(640, 480)); }, audioMasterSizeWindow, 640, 480, 0,
     1, 0},
    {"updateDisplay", [](StubEffect& e) { return VstIntPtr(e.updateDisplay()); }, audioMasterUpdateDisplay, 0, 0, 0, 1,
     0},
    {"canHostDo", [](StubEffect& e) { return VstIntPtr(e.canHostDo(someText)); }, audioMasterCanDo, 0, 0, 0, 1, 0},
    {"getHostVendorString", [](StubEffect& e) { return VstIntPtr(e.getHostVendorString(someText)); },
     audioMasterGetVendorString, 0, 0, 0, 1, 0},
    {"getHostProductString", [](StubEffect& e) { return VstIntPtr(e.getHostProductString(someText)); },
     audioMasterGetProductString, 0, 0, 0, 1, 0},
    {"getHostVendorVersion", [](StubEffect& e) { return VstIntPtr(e.getHostVendorVersion()); },
     audioMasterGetVendorVersion, 0, 0, 0, 1, 0},
    {"getHostLanguage", [](StubEffect& e) { return VstIntPtr(e.getHostLanguage()); }, audioMasterGetLanguage, 0, 0, 0,
     1, 0},
    {"getInputLatency", [](StubEffect& e) { return VstIntPtr(e.getInputLatency()); }, audioMasterGetInputLatency, 0, 0,
     0, 1, 0},
    {"getOutputLatency", [](StubEffect& e) { return VstIntPtr(e.getOutputLatency()); }, audioMasterGetOutputLatency, 0,
     0, 0, 1, 0},
    {"getCurrentProcessLevel", [](StubEffect& e) { return VstIntPtr(e.getCurrentProcessLevel()); },
     audioMasterGetCurrentProcessLevel, 0, 0, 0, 1, 0},
    {"getAutomationState", [](StubEffect& e) { return VstIntPtr(e.getAutomationState()); },
     audioMasterGetAutomationState, 0, 0, 0, 1, 0},
    {"tempoAt", [](StubEffect& e) { return VstIntPtr(e.tempoAt(99)); }, audioMasterTempoAt, 0, 99, 0, 1, 0},
    {"getNumAutomatableParameters", [](StubEffect& e) { return VstIntPtr(e.getNumAutomatableParameters()); },
     audioMasterGetNumAutomatableParameters, 0, 0, 0, 1, 0},
    {"getParameterQuantization", [](StubEffect& e) { return VstIntPtr(e.getParameterQuantization()); },
     audioMasterGetParameterQuantization, 0, 0, 0, 1, 0},
    {"willProcessReplacing", [](StubEffect& e) { return VstIntPtr(e.willProcessReplacing()); },
     audioMasterWillReplaceOrAccumulate, 0, 0, 0, 1, 0},
    {"offlineStart", [](StubEffect& e) { return VstIntPtr(e.offlineStart(nullptr, 4, 2)); }, audioMasterOfflineStart, 2,
     4, 0, 1, 0},
    {"offlineRead", [](StubEffect& e) { return VstIntPtr(e.offlineRead(nullptr, 5, true)); }, audioMasterOfflineRead, 1,
     5, 0, 1, 0},
    {"offlineWrite", [](StubEffect& e) { return VstIntPtr(e.offlineWrite(nullptr, 6)); }, audioMasterOfflineWrite, 0, 6,
     0, 1, 0},
    {"offlineGetCurrentPass", [](StubEffect& e) { return VstIntPtr(e.offlineGetCurrentPass()); },
     audioMasterOfflineGetCurrentPass, 0, 0, 0, 1, 0},
    {"offlineGetCurrentMetaPass", [](StubEffect& e) { return VstIntPtr(e.offlineGetCurrentMetaPass()); },
     audioMasterOfflineGetCurrentMetaPass, 0, 0, 0, 1, 0},
    {"openFileSelector", [](StubEffect& e) { return VstIntPtr(e.openFileSelector(someText)); },
     audioMasterOpenFileSelector, 0, 0, 0, 1, 0},
    {"closeFileSelector", [](StubEffect& e) { return VstIntPtr(e.closeFileSelector(someText)); },
     audioMasterCloseFileSelector, 0, 0, 0, 1, 0},
    {"closeWindow", [](StubEffect& e) { return VstIntPtr(e.closeWindow(someText)); }, audioMasterCloseWindow, 0, 0, 0,
     1, 0},
    {"getChunkFile", [](StubEffect& e) { return VstIntPtr(e.getChunkFile(someText)); }, audioMasterGetChunkFile, 0, 0,
     0, 1, 0},
};

TEST(HostCalls, EveryWrapperSendsItsOpcodeAndReadsTheAnswer) {
    Lifecycle life;
    for (const WrapperCase& w : kWrappers) {
        for (VstIntPtr answer : {VstIntPtr{0}, VstIntPtr{1}}) {
            StubEffect effect(RecordingHost::callback, life);
            RecordingHost::reset(answer);
            VstIntPtr result = w.call(effect);
            ASSERT_EQ(RecordingHost::calls.size(), 1u) << w.name;
            const RecordedCall& c = RecordingHost::calls[0];
            EXPECT_EQ(c.opcode, w.opcode) << w.name;
            EXPECT_EQ(c.index, w.index) << w.name;
            EXPECT_EQ(c.value, w.value) << w.name;
            EXPECT_EQ(result, answer ? w.whenOne : w.whenZero) << w.name << " answer " << answer;
        }
        StubEffect orphan(nullptr, life);
        EXPECT_EQ(w.call(orphan), w.withoutHost) << w.name << " without host";
    }
}

TEST(HostCalls, EveryCallPassesTheRecordFirst) {
    Lifecycle life;
    StubEffect effect(RecordingHost::callback, life);
    RecordingHost::reset();
    effect.updateDisplay();
    effect.setParameterAutomated(0, 0.5f);
    ASSERT_EQ(RecordingHost::calls.size(), 2u);
    for (const RecordedCall& c : RecordingHost::calls) EXPECT_EQ(c.effect, effect.getAeffect());
}

TEST(HostCalls, AutomationAppliesTheValueBeforeTellingTheHost) {
    struct Effect : StubEffect {
        using StubEffect::StubEffect;
        void setParameter(VstInt32, float v) override {
            value = v;
            callsBefore = RecordingHost::calls.size();
        }
        float value = 0;
        size_t callsBefore = 99;
    };
    Lifecycle life;
    Effect effect(RecordingHost::callback, life);
    RecordingHost::reset();
    effect.setParameterAutomated(2, 0.75f);
    EXPECT_EQ(effect.value, 0.75f);
    EXPECT_EQ(effect.callsBefore, 0u);
    ASSERT_EQ(RecordingHost::calls.size(), 1u);
    EXPECT_EQ(RecordingHost::calls[0].opcode, audioMasterAutomate);
    EXPECT_EQ(RecordingHost::calls[0].index, 2);
    EXPECT_EQ(RecordingHost::calls[0].opt, 0.75f);
}

TEST(HostCalls, AnswersThatMeanMoreThanYesOrNo) {
    Lifecycle life;
    StubEffect effect(RecordingHost::callback, life);
    RecordingHost::reset(-1);
    EXPECT_TRUE(effect.canHostDo(someText));  // -1 counts as an answer too

    RecordingHost::reset(0);
    effect.setSampleRate(48000.0f);
    EXPECT_EQ(effect.updateSampleRate(), 48000.0);  // the host does not know: keep ours
    RecordingHost::reset(96000);
    EXPECT_EQ(effect.updateSampleRate(), 96000.0);
    RecordingHost::reset(-5);
    EXPECT_EQ(effect.updateBlockSize(), 1024);
    RecordingHost::reset(64);
    EXPECT_EQ(effect.updateBlockSize(), 64);

    RecordingHost::reset(1);
    EXPECT_FALSE(effect.openFileSelector(nullptr));  // never asked with nothing to show
    EXPECT_FALSE(effect.getChunkFile(nullptr));
    EXPECT_TRUE(RecordingHost::calls.empty());

    effect.wantEvents(1);
    ASSERT_EQ(RecordingHost::calls.size(), 1u);
    EXPECT_EQ(RecordingHost::calls[0].opcode, audioMasterWantMidi);
    EXPECT_EQ(RecordingHost::calls[0].value, 1);
}

}  // namespace
