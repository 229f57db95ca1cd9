// The instrument as the host sees it: identity, lifecycle and the glue
// between host calls and the engine. No sound is computed here.
#pragma once

#include "plugin_base/audio_effect_x.h"

class VSTPlug : public AudioEffectX {
public:
    static constexpr VstInt32 kNumPrograms = 8;
    static constexpr VstInt32 kNumParams = 49;

    explicit VSTPlug(audioMasterCallback audioMaster);
    ~VSTPlug() override;

    void resume() override;
    void suspend() override;
    void setSampleRate(float newSampleRate) override;
    void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override;

    bool getEffectName(char* name) override;
    bool getVendorString(char* text) override;
    bool getProductString(char* text) override;
    VstInt32 getVendorVersion() override;

    // Work buffers of the render, 2 x block size floats each while resumed.
    const float* workBuffer(int which) const { return buffers[which]; }
    VstInt32 workBufferLength() const { return bufferLength; }

private:
    void releaseWorkBuffers();

    // scratchL, scratchR, mixL, mixR: null while suspended.
    float* buffers[4] = {nullptr, nullptr, nullptr, nullptr};
    VstInt32 bufferLength = 0;
};
