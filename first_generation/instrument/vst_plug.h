// The first-generation instrument as the host sees it: identity, lifecycle,
// parameters, programs and chunks, MIDI intake. The engine renders; this
// class hands it buffers and events.
#pragma once

#include "plugin_base/audio_effect_x.h"

#include "first_generation/instrument/factory_bank.h"

struct FirstGenEngine;

namespace firstgen {

class VSTPlug : public AudioEffectX {
public:
    static constexpr VstInt32 kNumPrograms = 8;
    static constexpr VstInt32 kNumParams = 23;

    explicit VSTPlug(audioMasterCallback audioMaster);
    ~VSTPlug() override;

    // Lifecycle
    void resume() override;
    void suspend() override;
    void setSampleRate(float newSampleRate) override;
    void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override;

    // Parameters
    void setParameter(VstInt32 index, float value) override;
    float getParameter(VstInt32 index) override;
    void getParameterName(VstInt32 index, char* text) override;
    void getParameterLabel(VstInt32 index, char* text) override;
    void getParameterDisplay(VstInt32 index, char* text) override;
    bool canParameterBeAutomated(VstInt32 index) override;

    // Programs and chunks
    void setProgram(VstInt32 program) override;
    void setProgramName(char* name) override;
    void getProgramName(char* name) override;
    bool getProgramNameIndexed(VstInt32 category, VstInt32 index, char* text) override;
    VstInt32 getChunk(void** data, bool isPreset) override;
    VstInt32 setChunk(void* data, VstInt32 byteSize, bool isPreset) override;

    // MIDI and capabilities
    VstInt32 processEvents(VstEvents* events) override;
    VstInt32 canDo(char* text) override;

    // Identity
    bool getEffectName(char* name) override;
    bool getVendorString(char* text) override;
    bool getProductString(char* text) override;
    VstInt32 getVendorVersion() override;

    // The render's scratch buffers: scratchFrames floats each while resumed,
    // null while suspended.
    const float* scratch(int channel) const { return channel == 0 ? scratchL : scratchR; }
    VstInt32 scratchLength() const { return scratchFrames; }
    FirstGenEngine& firstGenEngine() { return *engine; }

private:
    void releaseScratch();
    void releaseMembers();
    // After the live values changed wholesale: one table, the voices.
    void loadLiveValues();

    float* scratchL = nullptr;
    float* scratchR = nullptr;
    VstInt32 scratchFrames = 0;
    ProgramBank* bank = nullptr;
    FirstGenEngine* engine = nullptr;
};

}  // namespace firstgen
