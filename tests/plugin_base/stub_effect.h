// A minimal instrument on the plug-in base, and a host callback that records
// what it is asked, for tests of the base layer without a library.
#pragma once

#include <string>
#include <vector>

#include "plugin_base/aeff_editor.h"
#include "plugin_base/audio_effect_x.h"

struct RecordedCall {
    AEffect* effect;
    VstInt32 opcode, index;
    VstIntPtr value;
    void* ptr;
    float opt;
};

struct RecordingHost {
    static inline std::vector<RecordedCall> calls;
    static inline VstIntPtr answer = 0;
    static VstIntPtr VSTCALLBACK callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                          float opt) {
        calls.push_back({effect, opcode, index, value, ptr, opt});
        return answer;
    }
    static void reset(VstIntPtr newAnswer = 0) {
        calls.clear();
        answer = newAnswer;
    }
};

struct Lifecycle {
    int suspends = 0, resumes = 0, programsSet = 0;
    bool effectDestroyed = false, editorDestroyed = false;
};

class StubEditor : public AEffEditor {
public:
    StubEditor(AudioEffect* effect, Lifecycle& life) : AEffEditor(effect), life(life) {}
    ~StubEditor() override { life.editorDestroyed = true; }
    Lifecycle& life;
};

class StubEffect : public AudioEffectX {
public:
    StubEffect(audioMasterCallback host, Lifecycle& life, bool withEditor = false)
        : AudioEffectX(host, 8, 4), life(life) {
        if (withEditor) editor = new StubEditor(this, life);
    }
    ~StubEffect() override { life.effectDestroyed = true; }
    void processReplacing(float**, float**, VstInt32) override {}
    void suspend() override { ++life.suspends; }
    void resume() override { ++life.resumes; }
    void setProgram(VstInt32 program) override {
        ++life.programsSet;
        AudioEffectX::setProgram(program);
    }
    using AudioEffect::callHost;
    Lifecycle& life;
};
