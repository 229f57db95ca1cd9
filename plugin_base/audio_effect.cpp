#include "plugin_base/audio_effect.h"

#include <algorithm>
#include <cstring>

#include "plugin_base/aeff_editor.h"

AudioEffect::AudioEffect(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams)
    : audioMaster(audioMaster), numPrograms(numPrograms), numParams(numParams) {
    std::memset(&cEffect, 0, sizeof(cEffect));
    cEffect.magic = kEffectMagic;
    cEffect.dispatcher = dispatchEffectClass;
    cEffect.process = processClass;
    cEffect.setParameter = setParameterClass;
    cEffect.getParameter = getParameterClass;
    cEffect.numPrograms = numPrograms;
    cEffect.numParams = numParams;
    cEffect.numInputs = 1;
    cEffect.numOutputs = 2;
    cEffect.flags = effFlagsCanReplacing;
    cEffect.ioRatio = 1.0f;
    cEffect.object = this;
    cEffect.uniqueID = fourCC("NoEf");
    cEffect.version = 1;
    cEffect.processReplacing = processClassReplacing;
    cEffect.processDoubleReplacing = processClassDoubleReplacing;
}

AudioEffect::~AudioEffect() { delete editor; }

VstIntPtr AudioEffect::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
    switch (opcode) {
        case effOpen: open(); return 0;
        case effClose: close(); return 0;
        case effSetProgram:
            // Numbers below 0 are refused here too, so no override ever indexes with them.
            if (value >= 0 && value < numPrograms) setProgram(static_cast<VstInt32>(value));
            return 0;
        case effGetProgram: return getProgram();
        case effSetProgramName:
            if (ptr) setProgramName(static_cast<char*>(ptr));
            return 0;
        case effGetProgramName:
            if (ptr) getProgramName(static_cast<char*>(ptr));
            return 0;
        case effGetParamLabel:
            if (ptr) getParameterLabel(index, static_cast<char*>(ptr));
            return 0;
        case effGetParamDisplay:
            if (ptr) getParameterDisplay(index, static_cast<char*>(ptr));
            return 0;
        case effGetParamName:
            if (ptr) getParameterName(index, static_cast<char*>(ptr));
            return 0;
        case effSetSampleRate: setSampleRate(opt); return 0;
        case effSetBlockSize: setBlockSize(static_cast<VstInt32>(value)); return 0;
        case effMainsChanged:
            if (value == 0)
                suspend();
            else
                resume();
            return 0;
        case effEditGetRect:
            if (!editor || !ptr) return 0;
            return editor->getRect(static_cast<ERect**>(ptr)) ? 1 : 0;
        case effEditOpen: return editor && editor->open(ptr) ? 1 : 0;
        case effEditClose:
            if (editor) editor->close();
            return 0;
        case effEditIdle:
            if (editor) editor->idle();
            return 0;
        case effIdentify: return fourCC("NvEf");
        case effGetChunk:
            if (!ptr) return 0;
            return getChunk(static_cast<void**>(ptr), index != 0);
        case effSetChunk: return setChunk(ptr, static_cast<VstInt32>(value), index != 0);
        default: return 0;
    }
}

void AudioEffect::setParameterAutomated(VstInt32 index, float value) {
    setParameter(index, value);
    callHost(audioMasterAutomate, index, 0, nullptr, value);
}

VstInt32 AudioEffect::getMasterVersion() {
    VstInt32 version = static_cast<VstInt32>(callHost(audioMasterVersion));
    return version == 0 ? 1 : version;
}

VstInt32 AudioEffect::getCurrentUniqueId() { return static_cast<VstInt32>(callHost(audioMasterCurrentId)); }

void AudioEffect::masterIdle() { callHost(audioMasterIdle); }

bool AudioEffect::isInputConnected(VstInt32 input) { return callHost(audioMasterPinConnected, input, 0) == 0; }

bool AudioEffect::isOutputConnected(VstInt32 output) { return callHost(audioMasterPinConnected, output, 1) == 0; }

// --- record trampolines -----------------------------------------------------

// Every entry from the host ends here, and nothing may leave it by an
// exception: one that escapes a plug-in ends the host's process. What the
// code below may throw (allocation failures, mostly) is answered with the
// neutral value of the call: 0, silence, nothing done.

static AudioEffect* objectOf(AEffect* e) { return e ? static_cast<AudioEffect*>(e->object) : nullptr; }

// Silence in every output channel the record declares, after a failed render.
template <typename Sample>
static void silenceOutputs(AEffect* e, Sample** outputs, VstInt32 sampleFrames) {
    if (!outputs || sampleFrames <= 0) return;
    for (VstInt32 channel = 0; channel < e->numOutputs; ++channel)
        if (outputs[channel]) std::fill(outputs[channel], outputs[channel] + sampleFrames, Sample(0));
}

VstIntPtr VSTCALLBACK AudioEffect::dispatchEffectClass(AEffect* e, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                                       void* ptr, float opt) {
    AudioEffect* self = objectOf(e);
    if (!self) return 0;
    if (opcode == effClose) {
        try {
            self->dispatcher(opcode, index, value, ptr, opt);
        } catch (...) {
        }
        delete self;
        return 1;
    }
    try {
        return self->dispatcher(opcode, index, value, ptr, opt);
    } catch (...) {
        return 0;
    }
}

float VSTCALLBACK AudioEffect::getParameterClass(AEffect* e, VstInt32 index) {
    AudioEffect* self = objectOf(e);
    if (!self) return 0.0f;
    try {
        return self->getParameter(index);
    } catch (...) {
        return 0.0f;
    }
}

void VSTCALLBACK AudioEffect::setParameterClass(AEffect* e, VstInt32 index, float value) {
    AudioEffect* self = objectOf(e);
    if (!self) return;
    try {
        self->setParameter(index, value);
    } catch (...) {
    }
}

void VSTCALLBACK AudioEffect::processClass(AEffect* e, float** inputs, float** outputs, VstInt32 sampleFrames) {
    AudioEffect* self = objectOf(e);
    if (!self) return;
    try {
        self->process(inputs, outputs, sampleFrames);
    } catch (...) {
        // process adds into the outputs; what it added before failing stays.
    }
}

void VSTCALLBACK AudioEffect::processClassReplacing(AEffect* e, float** inputs, float** outputs,
                                                    VstInt32 sampleFrames) {
    AudioEffect* self = objectOf(e);
    if (!self) return;
    try {
        self->processReplacing(inputs, outputs, sampleFrames);
    } catch (...) {
        silenceOutputs(e, outputs, sampleFrames);
    }
}

void VSTCALLBACK AudioEffect::processClassDoubleReplacing(AEffect* e, double** inputs, double** outputs,
                                                          VstInt32 sampleFrames) {
    AudioEffect* self = objectOf(e);
    if (!self) return;
    try {
        self->processDoubleReplacing(inputs, outputs, sampleFrames);
    } catch (...) {
        silenceOutputs(e, outputs, sampleFrames);
    }
}
