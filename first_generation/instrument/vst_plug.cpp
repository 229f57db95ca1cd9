#include "first_generation/instrument/vst_plug.h"

#include <algorithm>
#include <limits>
#include <new>

#include "first_generation/engine/first_gen_engine.h"
#include "first_generation/instrument/midi_intake.h"
#include "first_generation/instrument/parameter_names.h"
#include "plugin_base/midi_reader.h"
#include "plugin_base/work_buffers.h"

AudioEffect* createEffectInstance(audioMasterCallback audioMaster) { return new firstgen::VSTPlug(audioMaster); }

namespace firstgen {

static_assert(ProgramBank::numParams == parameters::kCount && FirstGenEngine::kParamCount == parameters::kCount,
              "a program holds every parameter");

VSTPlug::VSTPlug(audioMasterCallback audioMaster) : AudioEffectX(audioMaster, kNumPrograms, kNumParams) {
    isSynth(true);
    programsAreChunks(true);
    canProcessReplacing(true);
    setNumInputs(0);
    setNumOutputs(2);
    setUniqueID(fourCC("ZVN1"));
    curProgram = 0;
    // The editor comes with its own layout; until then hosts are told there
    // is none.
    setFlag(effFlagsHasEditor, false);
    try {
        bank = new ProgramBank(kFactoryBank);
        engine = new FirstGenEngine(kNumParams);
        bank->loadInto(curProgram, engine->params);
        loadLiveValues();
    } catch (...) {
        // The entry point answers null; nothing built so far may leak.
        releaseMembers();
        throw;
    }
}

VSTPlug::~VSTPlug() {
    releaseScratch();
    releaseMembers();
}

void VSTPlug::releaseMembers() {
    delete engine;
    engine = nullptr;
    delete bank;
    bank = nullptr;
}

// --- lifecycle --------------------------------------------------------------

void VSTPlug::resume() {
    // A second resume without a suspend replaces the buffers, so none is lost
    // and both take the block size now in force.
    // Without the memory for them the instrument stays silent (as while
    // suspended) instead of failing.
    releaseScratch();
    const VstInt32 frames = workBufferFrames(blockSize);
    scratchL = new (std::nothrow) float[frames]();
    scratchR = new (std::nothrow) float[frames]();
    if (scratchL && scratchR)
        scratchFrames = frames;
    else
        releaseScratch();
    wantEvents(1);
}

void VSTPlug::suspend() { releaseScratch(); }

void VSTPlug::releaseScratch() {
    delete[] scratchL;
    delete[] scratchR;
    scratchL = scratchR = nullptr;
    scratchFrames = 0;
}

void VSTPlug::setSampleRate(float newSampleRate) {
    AudioEffectX::setSampleRate(newSampleRate);
    engine->setSampleRate(newSampleRate);
}

void VSTPlug::processReplacing(float** /*inputs*/, float** outputs, VstInt32 sampleFrames) {
    if (!outputs || !outputs[0] || !outputs[1] || sampleFrames <= 0) return;
    float* outL = outputs[0];
    float* outR = outputs[1];
    std::fill(outL, outL + sampleFrames, 0.0f);
    std::fill(outR, outR + sampleFrames, 0.0f);
    // Suspended: no scratch, silence.
    if (!scratchL || !scratchR) return;
    // A host that sends more frames than it announced still hears every event
    // at its frame: the engine renders in spans the scratch buffers hold.
    engine->renderBlock(scratchL, scratchR, scratchFrames, outL, outR, sampleFrames);
}

// --- parameters -------------------------------------------------------------

void VSTPlug::setParameter(VstInt32 index, float value) {
    if (!parameters::isParameter(index)) return;
    // An unchanged value must not cost a table generation.
    if (engine->params[index] == value) return;
    engine->params[index] = value;
    engine->paramChanged(index);
}

float VSTPlug::getParameter(VstInt32 index) { return parameters::isParameter(index) ? engine->params[index] : 0.0f; }

void VSTPlug::getParameterName(VstInt32 index, char* text) { parameters::writeName(index, text); }
void VSTPlug::getParameterLabel(VstInt32 /*index*/, char* text) { parameters::writeLabel(text); }
void VSTPlug::getParameterDisplay(VstInt32 /*index*/, char* text) { parameters::writeDisplay(text); }
bool VSTPlug::canParameterBeAutomated(VstInt32 index) { return index >= parameters::kFirstAutomatable; }

void VSTPlug::loadLiveValues() { engine->paramChanged(FirstGenEngine::kAllParameters); }

// --- programs and chunks ----------------------------------------------------

void VSTPlug::setProgram(VstInt32 program) {
    // Edits of the current program are written back before the switch.
    if (bank->selectProgram(curProgram, program, engine->params)) loadLiveValues();
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
    loadLiveValues();
    return result.byteSize;
}

// --- MIDI -------------------------------------------------------------------

VstInt32 VSTPlug::processEvents(VstEvents* events) {
    // While suspended no block follows to play queued events, so only what
    // acts at once is taken: nothing waits in the queue to sound late after
    // the next resume. The block's length is known only when it is rendered;
    // the engine brings later frames into it then.
    const midi::Block block{scratchL != nullptr, std::numeric_limits<VstInt32>::max()};
    return midi::processEvents(*engine, events, block);
}

VstInt32 VSTPlug::canDo(char* text) { return midi_reader::instrumentCanDo(text); }

// --- identity ---------------------------------------------------------------

bool VSTPlug::getEffectName(char* name) {
    vst_strncpy(name, "Nub-Bel", kVstMaxEffectNameLen);
    return true;
}

bool VSTPlug::getVendorString(char* text) {
    vst_strncpy(text, "Zephyrine Vaultworks", kVstMaxVendorStrLen);
    return true;
}

bool VSTPlug::getProductString(char* text) {
    vst_strncpy(text, "ZV's Nub-Bel", kVstMaxProductStrLen);
    return true;
}

VstInt32 VSTPlug::getVendorVersion() { return 1000; }

}  // namespace firstgen
