#include "first_generation/instrument/vst_plug.h"

#include <algorithm>
#include <limits>

#include "editor/zv_gui.h"
#include "first_generation/editor/first_gen_editor.h"
#include "first_generation/engine/first_gen_engine.h"
#include "first_generation/instrument/midi_intake.h"
#include "first_generation/instrument/parameter_names.h"
#include "plugin_base/instrument_plug_impl.h"

template class InstrumentPlug<FirstGenEngine, 23>;

AudioEffect* createEffectInstance(audioMasterCallback audioMaster) { return new firstgen::VSTPlug(audioMaster); }

namespace firstgen {

static_assert(VSTPlug::kNumParams == parameters::kCount && ProgramBank::numParams == parameters::kCount &&
                  FirstGenEngine::kParamCount == parameters::kCount,
              "a program holds every parameter");

namespace {
const PlugDescription kDescription{fourCC("ZVN1"),       "Nub-Bel", "ZV's Nub-Bel", 1000, parameters::kFirstAutomatable,
                                   parameters::writeName};
}

VSTPlug::VSTPlug(audioMasterCallback audioMaster) : InstrumentPlug(audioMaster, kDescription, kFactoryBank) {
    liveValuesLoaded();
    gui = createFirstGenEditor(this);
    editor = gui;
    setFlag(effFlagsHasEditor, gui != nullptr);
    if (gui) gui->refreshAll();
}

VSTPlug::~VSTPlug() = default;

// --- lifecycle --------------------------------------------------------------

void VSTPlug::resume() {
    // Both buffers take the block size now in force; without the memory for
    // them the instrument stays silent (as while suspended) instead of failing.
    buffers.allocate(workBufferFrames(blockSize));
    wantEvents(1);
}

void VSTPlug::suspend() { buffers.release(); }

void VSTPlug::processReplacing(float** /*inputs*/, float** outputs, VstInt32 sampleFrames) {
    if (!outputs || !outputs[0] || !outputs[1] || sampleFrames <= 0) return;
    float* outL = outputs[0];
    float* outR = outputs[1];
    std::fill(outL, outL + sampleFrames, 0.0f);
    std::fill(outR, outR + sampleFrames, 0.0f);
    // Suspended: no scratch, silence.
    if (!buffers[0]) return;
    // A host that sends more frames than it announced still hears every event
    // at its frame: the engine renders in spans the scratch buffers hold.
    engine->renderBlock(buffers[0], buffers[1], buffers.length(), outL, outR, sampleFrames);
}

// --- parameters -------------------------------------------------------------

void VSTPlug::parameterChanged(VstInt32 index, float value) {
    if (gui) {
        gui->parameterChanged(index, value);
        gui->redrawDirty();
    }
}

void VSTPlug::liveValuesLoaded() {
    engine->paramChanged(FirstGenEngine::kAllParameters);
    if (gui) gui->refreshAll();
}

// --- MIDI -------------------------------------------------------------------

VstInt32 VSTPlug::processEvents(VstEvents* events) {
    // While suspended no block follows to play queued events, so only what
    // acts at once is taken: nothing waits in the queue to sound late after
    // the next resume. The block's length is known only when it is rendered;
    // the engine brings later frames into it then.
    const midi::Block block{buffers[0] != nullptr, std::numeric_limits<VstInt32>::max()};
    return midi::processEvents(*engine, events, block);
}

}  // namespace firstgen
