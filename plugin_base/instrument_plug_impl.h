// The members of InstrumentPlug that reach the engine. Include from the one
// source file that defines the instrument, after the engine's header, and
// instantiate the base there.
#pragma once

#include "numerics/shared_float.h"
#include "plugin_base/instrument_plug.h"

template <typename Engine, int NumParams>
InstrumentPlug<Engine, NumParams>::InstrumentPlug(audioMasterCallback audioMaster, const PlugDescription& description,
                                                  const typename Bank::Record (&factoryBank)[kProgramCount])
    : AudioEffectX(audioMaster, kNumPrograms, kNumParams),
      description(description),
      bank(new Bank(factoryBank)),
      engine(new Engine(kNumParams)) {
    isSynth(true);
    programsAreChunks(true);
    canProcessReplacing(true);
    setNumInputs(0);
    setNumOutputs(2);
    setUniqueID(description.uniqueId);
    curProgram = 0;
    bank->loadInto(curProgram, engine->params);
}

template <typename Engine, int NumParams>
InstrumentPlug<Engine, NumParams>::~InstrumentPlug() = default;

template <typename Engine, int NumParams>
void InstrumentPlug<Engine, NumParams>::setSampleRate(float newSampleRate) {
    AudioEffectX::setSampleRate(newSampleRate);
    engine->setSampleRate(newSampleRate);
}

template <typename Engine, int NumParams>
void InstrumentPlug<Engine, NumParams>::setParameter(VstInt32 index, float value) {
    if (!isParameter(index)) return;
    // An unchanged value must not cost the engine's work (a table generation
    // for the spectral ones).
    if (engine->params[index] == value) return;
    // The audio thread may be reading the live values right now.
    storeShared(engine->params[index], value);
    engine->paramChanged(index);
    parameterChanged(index, value);
}

template <typename Engine, int NumParams>
float InstrumentPlug<Engine, NumParams>::getParameter(VstInt32 index) {
    return isParameter(index) ? loadShared(engine->params[index]) : 0.0f;
}

template <typename Engine, int NumParams>
void InstrumentPlug<Engine, NumParams>::setProgram(VstInt32 program) {
    // Edits of the current program are written back before the switch.
    if (bank->selectProgram(curProgram, program, engine->params)) liveValuesLoaded();
}

template <typename Engine, int NumParams>
VstInt32 InstrumentPlug<Engine, NumParams>::getChunk(void** data, bool isPreset) {
    return bank->getChunk(curProgram, data, isPreset, engine->params);
}

template <typename Engine, int NumParams>
VstInt32 InstrumentPlug<Engine, NumParams>::setChunk(void* data, VstInt32 byteSize, bool isPreset) {
    const ChunkResult result = bank->setChunk(curProgram, data, byteSize, isPreset, engine->params);
    if (result.askHostToUpdateDisplay()) {
        updateDisplay();
        return 0;
    }
    liveValuesLoaded();
    return result.byteSize;
}
