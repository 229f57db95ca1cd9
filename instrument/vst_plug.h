// The instrument as the host sees it: identity, lifecycle, parameters, MIDI
// intake, and the glue between host calls and the engine. No sound is
// computed here: the engine renders, this class only hands it buffers.
#pragma once

#include "plugin_base/audio_effect_x.h"

#include "instrument/program_bank.h"

struct SynthEngine;
struct HalfBandFilter;
class ZVGui;

class VSTPlug : public AudioEffectX {
public:
    static constexpr VstInt32 kNumPrograms = 8;
    static constexpr VstInt32 kNumParams = 49;

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

    // Work buffers of the render, 2 x block size floats each while resumed.
    const float* workBuffer(int which) const { return buffers[which]; }
    VstInt32 workBufferLength() const { return bufferLength; }
    SynthEngine& synthEngine() { return *engine; }

private:
    void releaseWorkBuffers();
    void releaseMembers();
    // After the live values changed wholesale: voices, one table, editor.
    void allParametersChanged();

    // scratchL, scratchR, mixL, mixR: null while suspended.
    float* buffers[4] = {nullptr, nullptr, nullptr, nullptr};
    VstInt32 bufferLength = 0;
    ProgramBank* bank = nullptr;
    SynthEngine* engine = nullptr;
    HalfBandFilter* filterL = nullptr;
    HalfBandFilter* filterR = nullptr;
    ZVGui* gui = nullptr;  // the editor, owned through the base's editor pointer
};
