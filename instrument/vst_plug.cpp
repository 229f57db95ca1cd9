#include "instrument/vst_plug.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>

#include "editor/nubbel3_editor.h"
#include "editor/zv_gui.h"
#include "engine/half_band_filter.h"
#include "engine/output_stage.h"
#include "engine/synth_engine.h"
#include "instrument/factory_bank.h"
#include "instrument/midi_intake.h"
#include "instrument/parameter_names.h"
#include "plugin_base/work_buffers.h"

AudioEffect* createEffectInstance(audioMasterCallback audioMaster) { return new VSTPlug(audioMaster); }

VSTPlug::VSTPlug(audioMasterCallback audioMaster) : AudioEffectX(audioMaster, kNumPrograms, kNumParams) {
    isSynth(true);
    programsAreChunks(true);
    canProcessReplacing(true);
    setNumInputs(0);
    setNumOutputs(2);
    setUniqueID(fourCC("ZVN3"));
    curProgram = 0;
    try {
        bank = new ProgramBank(kFactoryBank);
        engine = new SynthEngine(kNumParams);
        filterL = new HalfBandFilter();
        filterR = new HalfBandFilter();
        bank->loadInto(curProgram, engine->params);
        allParametersChanged();
        gui = createNubbel3Editor(this);
        editor = gui;
        setFlag(effFlagsHasEditor, gui != nullptr);
        if (gui) gui->refreshAll();
    } catch (...) {
        // The entry point answers null; nothing built so far may leak.
        releaseMembers();
        throw;
    }
}

VSTPlug::~VSTPlug() {
    releaseWorkBuffers();
    releaseMembers();
}

void VSTPlug::releaseMembers() {
    delete engine;
    engine = nullptr;
    delete bank;
    bank = nullptr;
    delete filterL;
    filterL = nullptr;
    delete filterR;
    filterR = nullptr;
}

// --- lifecycle --------------------------------------------------------------

void VSTPlug::resume() {
    // A second resume without a suspend replaces the buffers, so none is lost
    // and all take the block size now in force. Without the memory for them
    // the instrument stays silent (as while suspended) instead of failing.
    releaseWorkBuffers();
    const VstInt32 length = 2 * workBufferFrames(blockSize);
    for (float*& buffer : buffers) {
        buffer = new (std::nothrow) float[length]();
        if (!buffer) {
            releaseWorkBuffers();
            break;
        }
    }
    if (buffers[0]) bufferLength = length;
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

void VSTPlug::setSampleRate(float newSampleRate) {
    AudioEffectX::setSampleRate(newSampleRate);
    engine->setSampleRate(newSampleRate);
}

void VSTPlug::processReplacing(float** /*inputs*/, float** outputs, VstInt32 sampleFrames) {
    if (!outputs || !outputs[0] || !outputs[1] || sampleFrames <= 0) return;
    // While suspended the buffers are gone: the engine writes silence.
    const RenderBuffers work{buffers[0], buffers[1], buffers[2], buffers[3], bufferLength};
    renderHostBlock(*engine, *filterL, *filterR, work, outputs[0], outputs[1], sampleFrames);
}

// --- parameters -------------------------------------------------------------

void VSTPlug::setParameter(VstInt32 index, float value) {
    if (!parameters::isParameter(index)) return;
    if (engine->params[index] == value) return;
    engine->params[index] = value;
    engine->paramChanged(index);
    if (gui) {
        gui->parameterChanged(index, value);
        gui->redrawDirty();
    }
}

float VSTPlug::getParameter(VstInt32 index) { return parameters::isParameter(index) ? engine->params[index] : 0.0f; }

void VSTPlug::getParameterName(VstInt32 index, char* text) { parameters::writeName(index, text); }
void VSTPlug::getParameterLabel(VstInt32 /*index*/, char* text) { parameters::writeLabel(text); }
void VSTPlug::getParameterDisplay(VstInt32 /*index*/, char* text) { parameters::writeDisplay(text); }
bool VSTPlug::canParameterBeAutomated(VstInt32 index) { return index >= parameters::kFirstAutomatable; }

void VSTPlug::allParametersChanged() {
    engine->paramChanged(param::kAll);
    if (gui) gui->refreshAll();
}

// --- programs and chunks ----------------------------------------------------

static_assert(ProgramBank::numParams == param::kCount, "a program holds every parameter");

void VSTPlug::setProgram(VstInt32 program) {
    // Edits of the current program are written back before the switch.
    if (!bank->selectProgram(curProgram, program, engine->params)) return;
    allParametersChanged();
}

void VSTPlug::setProgramName(char* name) { bank->setProgramName(curProgram, name); }

void VSTPlug::getProgramName(char* name) { bank->getProgramName(curProgram, name); }

bool VSTPlug::getProgramNameIndexed(VstInt32 /*category*/, VstInt32 index, char* text) {
    return bank->getProgramNameIndexed(index, text);
}

VstInt32 VSTPlug::getChunk(void** data, bool isPreset) {
    return bank->getChunk(curProgram, data, isPreset, engine->params);
}

VstInt32 VSTPlug::setChunk(void* data, VstInt32 byteSize, bool isPreset) {
    const ChunkResult result = bank->setChunk(curProgram, data, byteSize, isPreset, engine->params);
    if (result.askHostToUpdateDisplay()) {
        updateDisplay();
        return 0;
    }
    allParametersChanged();
    return result.byteSize;
}

// --- MIDI -------------------------------------------------------------------

VstInt32 VSTPlug::processEvents(VstEvents* events) { return midi::processEvents(*engine, events); }

VstInt32 VSTPlug::canDo(char* text) { return midi::canDo(text); }

// --- identity ---------------------------------------------------------------

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
