#include "instrument/vst_plug.h"

#include "editor/nubbel3_editor.h"
#include "editor/zv_gui.h"
#include "engine/half_band_filter.h"
#include "engine/output_stage.h"
#include "engine/synth_engine.h"
#include "instrument/factory_bank.h"
#include "instrument/midi_intake.h"
#include "instrument/parameter_names.h"
#include "plugin_base/instrument_plug_impl.h"

template class InstrumentPlug<SynthEngine, 49>;

AudioEffect* createEffectInstance(audioMasterCallback audioMaster) { return new VSTPlug(audioMaster); }

namespace {
const PlugDescription kDescription{fourCC("ZVN3"),       "Nubbel3", "ZV's Nubbel3", 3000, parameters::kFirstAutomatable,
                                   parameters::writeName};
}

// Whatever is built before a constructor step throws is released by its
// owner, so the entry point can answer null without a leak.
VSTPlug::VSTPlug(audioMasterCallback audioMaster)
    : InstrumentPlug(audioMaster, kDescription, kFactoryBank),
      filterL(new HalfBandFilter()),
      filterR(new HalfBandFilter()) {
    liveValuesLoaded();
    gui = createNubbel3Editor(this);
    editor = gui;
    setFlag(effFlagsHasEditor, gui != nullptr);
    if (gui) gui->refreshAll();
}

VSTPlug::~VSTPlug() = default;

// --- lifecycle --------------------------------------------------------------

void VSTPlug::resume() {
    // All buffers take the block size now in force; without the memory for
    // them the instrument stays silent (as while suspended) instead of failing.
    buffers.allocate(2 * workBufferFrames(blockSize));
    wantEvents(1);
}

void VSTPlug::suspend() { buffers.release(); }

void VSTPlug::processReplacing(float** /*inputs*/, float** outputs, VstInt32 sampleFrames) {
    if (!outputs || !outputs[0] || !outputs[1] || sampleFrames <= 0) return;
    // While suspended the buffers are gone: the engine writes silence.
    const RenderBuffers work{buffers[0], buffers[1], buffers[2], buffers[3], buffers.length()};
    renderHostBlock(*engine, *filterL, *filterR, work, outputs[0], outputs[1], sampleFrames);
}

// --- parameters -------------------------------------------------------------

static_assert(VSTPlug::kNumParams == param::kCount && ProgramBank::numParams == param::kCount,
              "a program holds every parameter");

void VSTPlug::parameterChanged(VstInt32 index, float value) {
    if (gui) {
        gui->parameterChanged(index, value);
        gui->redrawDirty();
    }
}

void VSTPlug::liveValuesLoaded() {
    engine->paramChanged(param::kAll);
    if (gui) gui->refreshAll();
}

// --- MIDI -------------------------------------------------------------------

VstInt32 VSTPlug::processEvents(VstEvents* events) { return midi::processEvents(*engine, events); }
