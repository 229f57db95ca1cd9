// A first-generation plug-in over the recording engine, driven through its
// record like a host drives it.
#pragma once

#include <vector>

#include "first_generation/instrument/vst_plug.h"
#include "tests/first_gen_instrument/recording_engine.h"
#include "tools/testhost/midi_event_list.h"

inline VstIntPtr VSTCALLBACK quietHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

struct PlugUnderTest {
    firstgen::VSTPlug plug{quietHost};
    AEffect* effect = plug.getAeffect();

    explicit PlugUnderTest(VstInt32 blockSize = 256) {
        dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
        dispatch(effSetBlockSize, 0, blockSize);
        dispatch(effMainsChanged, 0, 1);
        engineCalls().clear();
    }
    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr, float opt = 0) {
        return effect->dispatcher(effect, opcode, index, value, ptr, opt);
    }
    VstIntPtr send(VstEvents* events) { return dispatch(effProcessEvents, 0, 0, events); }
    VstIntPtr send(const std::vector<testhost::MidiMessage>& messages) {
        testhost::MidiEventList list(messages);
        return send(list.list());
    }
    // frames samples into buffers of room samples, pre-filled with 7.
    std::vector<float> process(VstInt32 frames, size_t room) {
        std::vector<float> left(room, 7.0f), right(room, 7.0f);
        float* outputs[2] = {left.data(), right.data()};
        effect->processReplacing(effect, nullptr, outputs, frames);
        return left;
    }
};
