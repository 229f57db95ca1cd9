#include "instrument/vst_plug.h"

#include <cstring>

AudioEffect* createEffectInstance(audioMasterCallback audioMaster) { return new VSTPlug(audioMaster); }

VSTPlug::VSTPlug(audioMasterCallback audioMaster) : AudioEffectX(audioMaster, kNumPrograms, kNumParams) {
    isSynth(true);
    programsAreChunks(true);
    canProcessReplacing(true);
    setNumInputs(0);
    setNumOutputs(2);
    setUniqueID(fourCC("ZVN3"));
    curProgram = 0;
}

VSTPlug::~VSTPlug() { releaseWorkBuffers(); }

void VSTPlug::resume() {
    // A second resume without a suspend replaces the buffers, so none is lost
    // and all take the block size now in force.
    releaseWorkBuffers();
    bufferLength = 2 * blockSize;
    for (float*& buffer : buffers) buffer = new float[bufferLength]();
    if ((cEffect.flags & effFlagsIsSynth) || canDo(const_cast<char*>("receiveVstMidiEvent")) == 1) wantEvents(1);
}

void VSTPlug::suspend() { releaseWorkBuffers(); }

void VSTPlug::releaseWorkBuffers() {
    for (float*& buffer : buffers) {
        delete[] buffer;
        buffer = nullptr;
    }
    bufferLength = 0;
}

void VSTPlug::setSampleRate(float newSampleRate) { AudioEffectX::setSampleRate(newSampleRate); }

void VSTPlug::processReplacing(float** /*inputs*/, float** outputs, VstInt32 sampleFrames) {
    if (!outputs || sampleFrames <= 0) return;
    for (int channel = 0; channel < 2; ++channel)
        if (outputs[channel]) std::memset(outputs[channel], 0, sizeof(float) * static_cast<size_t>(sampleFrames));
}

bool VSTPlug::getEffectName(char* name) {
    vst_strncpy(name, "Nubbel3", kVstMaxEffectNameLen);
    return true;
}

bool VSTPlug::getVendorString(char* text) {
    vst_strncpy(text, "Zephyrine Vaultworks", kVstMaxVendorStrLen);
    return true;
}

bool VSTPlug::getProductString(char* text) {
    vst_strncpy(text, "ZV's Nubbel3", kVstMaxProductStrLen);
    return true;
}

VstInt32 VSTPlug::getVendorVersion() { return 3000; }
