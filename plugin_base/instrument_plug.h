// What every instrument plug-in does the same way between the host and its
// engine: the identity and channel set-up, the live parameter values, and the
// program and chunk calls over the bank. The engine owns the live values
// (its params array); the bank holds the stored programs. Each instrument
// derives from this, adds its names, MIDI intake and render, and says in
// liveValuesLoaded what follows a wholesale change of the live values.
#pragma once

#include <memory>

#include "plugin_base/audio_effect_x.h"
#include "plugin_base/midi_reader.h"
#include "plugin_base/program_bank.h"

// What the host is told about one instrument beyond its parameter values:
// who it is and what its parameters are called. The vendor is the same for
// all of them.
struct PlugDescription {
    VstInt32 uniqueId;  // fourCC of four characters
    const char* effectName;
    const char* productName;
    VstInt32 vendorVersion;
    // The host may automate the parameters from this index on.
    VstInt32 firstAutomatable;
    // At most 8 characters and a terminator for a parameter index; nothing
    // written for other indices.
    void (*writeParameterName)(VstInt32 index, char* text);
};

// Engine: built from the parameter count; float* params (NumParams values,
// live), paramChanged(index) and setSampleRate(rate).
template <typename Engine, int NumParams>
class InstrumentPlug : public AudioEffectX {
public:
    using Bank = ProgramBankOf<NumParams>;
    static constexpr VstInt32 kNumPrograms = Bank::numPrograms;
    static constexpr VstInt32 kNumParams = NumParams;

    // Program 0 of the factory bank becomes live; the derived class then runs
    // liveValuesLoaded itself (no virtual call reaches it from here).
    InstrumentPlug(audioMasterCallback audioMaster, const PlugDescription& description,
                   const typename Bank::Record (&factoryBank)[kProgramCount]);
    ~InstrumentPlug() override;

    void setSampleRate(float newSampleRate) override;

    // Parameters: indices outside 0..NumParams-1 read 0 and write nothing.
    void setParameter(VstInt32 index, float value) override;
    float getParameter(VstInt32 index) override;
    void getParameterName(VstInt32 index, char* text) override { description.writeParameterName(index, text); }
    bool canParameterBeAutomated(VstInt32 index) override { return index >= description.firstAutomatable; }
    // One label and one display text serve every parameter of every
    // instrument.
    void getParameterLabel(VstInt32 /*index*/, char* text) override { vst_strncpy(text, "Ynk", kVstMaxParamStrLen); }
    void getParameterDisplay(VstInt32 /*index*/, char* text) override {
        vst_strncpy(text, "A few", kVstMaxParamStrLen);
    }

    // Programs and chunks
    void setProgram(VstInt32 program) override;
    void setProgramName(char* name) override { bank->setProgramName(curProgram, name); }
    void getProgramName(char* name) override { bank->getProgramName(curProgram, name); }
    bool getProgramNameIndexed(VstInt32 /*category*/, VstInt32 index, char* text) override {
        return bank->getProgramNameIndexed(index, text);
    }
    VstInt32 getChunk(void** data, bool isPreset) override;
    VstInt32 setChunk(void* data, VstInt32 byteSize, bool isPreset) override;

    VstInt32 canDo(char* text) override { return midi_reader::instrumentCanDo(text); }

    // Identity
    bool getEffectName(char* name) override {
        vst_strncpy(name, description.effectName, kVstMaxEffectNameLen);
        return true;
    }
    bool getVendorString(char* text) override {
        vst_strncpy(text, "Zephyrine Vaultworks", kVstMaxVendorStrLen);
        return true;
    }
    bool getProductString(char* text) override {
        vst_strncpy(text, description.productName, kVstMaxProductStrLen);
        return true;
    }
    VstInt32 getVendorVersion() override { return description.vendorVersion; }

protected:
    static bool isParameter(VstInt32 index) { return index >= 0 && index < NumParams; }

    // After one live value changed and the engine was told.
    virtual void parameterChanged(VstInt32 /*index*/, float /*value*/) {}
    // After the live values changed wholesale (program switch, chunk).
    virtual void liveValuesLoaded() = 0;

    const PlugDescription description;
    const std::unique_ptr<Bank> bank;
    const std::unique_ptr<Engine> engine;
};
