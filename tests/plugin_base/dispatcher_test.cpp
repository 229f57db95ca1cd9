#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <new>

#include "tests/plugin_base/stub_effect.h"

namespace {

VstIntPtr call(AEffect* e, VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
               float opt = 0) {
    return e->dispatcher(e, opcode, index, value, ptr, opt);
}

TEST(Record, FreshPluginFieldsAreTheBaseDefaults) {
    Lifecycle life;
    StubEffect effect(nullptr, life);
    AEffect* e = effect.getAeffect();
    EXPECT_EQ(e->magic, 0x56737450);
    EXPECT_EQ(e->version, 1);
    EXPECT_EQ(e->ioRatio, 1.0f);
    EXPECT_EQ(e->initialDelay, 0);
    EXPECT_EQ(e->flags, effFlagsCanReplacing);
    EXPECT_EQ(e->uniqueID, 0x4E6F4566);
    EXPECT_EQ(e->numInputs, 1);
    EXPECT_EQ(e->numOutputs, 2);
    EXPECT_EQ(e->numPrograms, 8);
    EXPECT_EQ(e->numParams, 4);
    EXPECT_EQ(e->object, &effect);
    EXPECT_EQ(e->user, nullptr);
    for (char c : e->future) EXPECT_EQ(c, 0);
}

// Opcodes whose default answer is a fixed number, for a plug-in without an
// editor and without the synth flag. Deprecated and unknown opcodes answer 0.
struct FixedAnswer {
    VstInt32 opcode;
    VstIntPtr expected;
};

TEST(Dispatcher, DefaultAnswers) {
    Lifecycle life;
    StubEffect effect(nullptr, life);
    AEffect* e = effect.getAeffect();
    const FixedAnswer table[] = {
        {effGetVu, 0},
        {effEditGetRect, 0},
        {effEditOpen, 0},
        {effEditClose, 0},
        {effEditIdle, 0},
        {effEditDraw, 0},
        {effIdentify, 0x4E764566},
        {effGetChunk, 0},
        {effSetChunk, 0},
        {effProcessEvents, 0},
        {effCanBeAutomated, 1},
        {effString2Parameter, 0},
        {effGetNumProgramCategories, 0},
        {effGetProgramNameIndexed, 0},
        {effCopyProgram, 0},
        {effGetPlugCategory, 0},
        {effSetBypass, 0},
        {effGetEffectName, 0},
        {effGetVendorVersion, 0},
        {effCanDo, 0},
        {effGetTailSize, 0},
        {effIdle, 0},
        {effKeysRequired, 0},
        {effGetVstVersion, 2400},
        {effEditKeyDown, 0},
        {effSetEditKnobMode, 0},
        {effGetCurrentMidiProgram, -1},
        {effGetSpeakerArrangement, 0},
        {effSetTotalSampleToProcess, 0},
        {effGetNumMidiInputChannels, 0},
        {effGetNumMidiOutputChannels, 0},
        {80, 0},
        {-1, 0},
        {100000, 0},
    };
    char text[256];
    for (const FixedAnswer& row : table) {
        std::memset(text, 0, sizeof(text));
        EXPECT_EQ(call(e, row.opcode, 0, 0, text), row.expected) << "opcode " << row.opcode;
    }
    EXPECT_EQ(call(e, effSetTotalSampleToProcess, 0, 4711), 4711);
}

TEST(Dispatcher, ProgramNumbersOutsideTheBankAreIgnored) {
    Lifecycle life;
    StubEffect effect(nullptr, life);
    AEffect* e = effect.getAeffect();
    call(e, effSetProgram, 0, 3);
    EXPECT_EQ(call(e, effGetProgram), 3);
    for (VstIntPtr bad : {VstIntPtr{8}, VstIntPtr{-1}, VstIntPtr{1000}}) call(e, effSetProgram, 0, bad);
    EXPECT_EQ(call(e, effGetProgram), 3);
    EXPECT_EQ(life.programsSet, 1);
}

TEST(Dispatcher, MainsChangedChoosesSuspendOrResume) {
    Lifecycle life;
    StubEffect effect(nullptr, life);
    AEffect* e = effect.getAeffect();
    call(e, effMainsChanged, 0, 1);
    call(e, effMainsChanged, 0, 0);
    call(e, effMainsChanged, 0, 7);
    EXPECT_EQ(life.resumes, 2);
    EXPECT_EQ(life.suspends, 1);
}

TEST(Dispatcher, SampleRateAndBlockSize) {
    Lifecycle life;
    StubEffect effect(nullptr, life);
    AEffect* e = effect.getAeffect();
    call(e, effSetSampleRate, 0, 0, nullptr, 48000.0f);
    call(e, effSetBlockSize, 0, 256);
    EXPECT_EQ(effect.getSampleRate(), 48000.0f);
    EXPECT_EQ(effect.getBlockSize(), 256);
    // A careless host's zero or negative size keeps the previous one.
    call(e, effSetBlockSize, 0, 0);
    call(e, effSetBlockSize, 0, -64);
    EXPECT_EQ(effect.getBlockSize(), 256);
}

TEST(Dispatcher, NullTextPointersAreAnsweredWithZero) {
    Lifecycle life;
    StubEffect effect(nullptr, life, true);
    AEffect* e = effect.getAeffect();
    for (VstInt32 opcode : {effSetProgramName, effGetProgramName, effGetParamLabel, effGetParamDisplay, effGetParamName,
                            effEditGetRect, effGetChunk, effGetProgramNameIndexed, effGetEffectName, effGetVendorString,
                            effGetProductString, effCanDo, effGetSpeakerArrangement})
        EXPECT_EQ(call(e, opcode, 0, 0, nullptr), 0) << "opcode " << opcode;
}

TEST(Dispatcher, SynthFlagMakesTheCategorySynth) {
    Lifecycle life;
    StubEffect effect(nullptr, life);
    effect.isSynth(true);
    EXPECT_EQ(call(effect.getAeffect(), effGetPlugCategory), 2);
    EXPECT_EQ(effect.getAeffect()->flags & effFlagsIsSynth, effFlagsIsSynth);
    effect.isSynth(false);
    EXPECT_EQ(call(effect.getAeffect(), effGetPlugCategory), 0);
}

TEST(Dispatcher, SpeakerArrangementQueryLeavesBothPointersNull) {
    Lifecycle life;
    StubEffect effect(nullptr, life);
    VstSpeakerArrangement dummy{};
    VstSpeakerArrangement* in = &dummy;
    VstSpeakerArrangement* out = &dummy;
    EXPECT_EQ(call(effect.getAeffect(), effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out), 0);
    EXPECT_EQ(in, nullptr);
    EXPECT_EQ(out, nullptr);
}

TEST(Dispatcher, EditorOpcodesReachTheEditor) {
    Lifecycle life;
    StubEffect effect(nullptr, life, true);
    AEffect* e = effect.getAeffect();
    ERect* rect = reinterpret_cast<ERect*>(1);
    EXPECT_EQ(call(e, effEditGetRect, 0, 0, &rect), 0);  // the base editor has no size
    EXPECT_EQ(rect, nullptr);
    int window = 0;
    EXPECT_EQ(call(e, effEditOpen, 0, 0, &window), 0);
    EXPECT_TRUE(effect.getEditor()->isOpen());
    call(e, effEditClose);
    EXPECT_FALSE(effect.getEditor()->isOpen());
    EXPECT_EQ(call(e, effEditKeyDown, 'a', 0), 0);
}

TEST(Trampoline, CloseDestroysTheObjectAndItsEditor) {
    Lifecycle life;
    auto* effect = new StubEffect(nullptr, life, true);
    AEffect* e = effect->getAeffect();
    EXPECT_EQ(e->dispatcher(e, effClose, 0, 0, nullptr, 0), 1);
    EXPECT_TRUE(life.effectDestroyed);
    EXPECT_TRUE(life.editorDestroyed);
}

TEST(Trampoline, ParameterAndProcessCallsReachTheObject) {
    struct Recorder : StubEffect {
        using StubEffect::StubEffect;
        void setParameter(VstInt32 i, float v) override { index = i, value = v; }
        float getParameter(VstInt32 i) override { return static_cast<float>(i) * 0.5f; }
        void processReplacing(float**, float** outputs, VstInt32 n) override { outputs[0][0] = float(n); }
        VstInt32 index = -1;
        float value = 0;
    };
    Lifecycle life;
    Recorder effect(nullptr, life);
    AEffect* e = effect.getAeffect();
    e->setParameter(e, 3, 0.25f);
    EXPECT_EQ(effect.index, 3);
    EXPECT_EQ(effect.value, 0.25f);
    EXPECT_EQ(e->getParameter(e, 5), 2.5f);
    float left[4] = {}, right[4] = {};
    float* outs[2] = {left, right};
    e->processReplacing(e, nullptr, outs, 4);
    EXPECT_EQ(left[0], 4.0f);
}

// An exception that leaves a plug-in ends the host; every entry answers the
// neutral value instead, and effClose still destroys the object.
TEST(Trampoline, NothingThrownBelowCrossesTheBoundary) {
    struct Thrower : StubEffect {
        using StubEffect::StubEffect;
        void setParameter(VstInt32, float) override { throw std::bad_alloc(); }
        float getParameter(VstInt32) override { throw std::bad_alloc(); }
        void processReplacing(float**, float**, VstInt32) override { throw std::bad_alloc(); }
        void resume() override { throw std::bad_alloc(); }
        void suspend() override { throw std::bad_alloc(); }
        VstInt32 getChunk(void**, bool) override { throw std::bad_alloc(); }
    };
    Lifecycle life;
    auto* effect = new Thrower(nullptr, life);
    AEffect* e = effect->getAeffect();
    e->setParameter(e, 0, 0.5f);
    EXPECT_EQ(e->getParameter(e, 0), 0.0f);
    void* data = nullptr;
    EXPECT_EQ(call(e, effGetChunk, 0, 0, &data), 0);
    EXPECT_EQ(call(e, effMainsChanged, 0, 1), 0);
    float left[4] = {1, 1, 1, 1}, right[4] = {1, 1, 1, 1};
    float* outs[2] = {left, right};
    e->processReplacing(e, nullptr, outs, 4);
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(left[i] == 0.0f && right[i] == 0.0f) << i;
    EXPECT_EQ(call(e, effClose), 1);
    EXPECT_TRUE(life.effectDestroyed);
}

// The key opcodes' modifier float: its integer's low byte, and none where the
// float has no int32 (NaN, infinities, beyond 2^31).
TEST(Dispatcher, KeyModifiersFromAnyFloat) {
    struct KeyEditor : AEffEditor {
        using AEffEditor::AEffEditor;
        bool onKeyDown(VstKeyCode& key) override {
            modifier = key.modifier;
            return true;
        }
        int modifier = -1;
    };
    struct WithKeys : StubEffect {
        WithKeys(Lifecycle& life) : StubEffect(nullptr, life) { editor = keys = new KeyEditor(this); }
        KeyEditor* keys;
    };
    const struct {
        float opt;
        int modifier;
    } table[] = {{5.0f, 5},
                 {-1.0f, 255},
                 {300.0f, 44},
                 {std::nanf(""), 0},
                 {3e9f, 0},
                 {-3e9f, 0},
                 {std::numeric_limits<float>::infinity(), 0}};
    for (const auto& row : table) {
        Lifecycle life;
        WithKeys effect(life);
        EXPECT_EQ(call(effect.getAeffect(), effEditKeyDown, 'a', 0, nullptr, row.opt), 1);
        EXPECT_EQ(effect.keys->modifier, row.modifier) << row.opt;
    }
}

}  // namespace
