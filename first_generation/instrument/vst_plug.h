// The first-generation instrument as the host sees it: identity, lifecycle,
// parameters, programs and chunks, MIDI intake, the editor. The engine
// renders; this class hands it buffers and events.
#pragma once

#include "first_generation/instrument/factory_bank.h"
#include "plugin_base/instrument_plug.h"
#include "plugin_base/work_buffers.h"

struct FirstGenEngine;
class ZVGui;
extern template class InstrumentPlug<FirstGenEngine, 23>;

namespace firstgen {

class VSTPlug : public InstrumentPlug<FirstGenEngine, 23> {
public:
    explicit VSTPlug(audioMasterCallback audioMaster);
    ~VSTPlug() override;  // where the engine's type is complete

    // Lifecycle
    void resume() override;
    void suspend() override;
    void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override;

    // MIDI
    VstInt32 processEvents(VstEvents* events) override;

    // The render's scratch buffers: scratchFrames floats each while resumed,
    // null while suspended.
    const float* scratch(int channel) const { return buffers[channel]; }
    VstInt32 scratchLength() const { return buffers.length(); }
    FirstGenEngine& firstGenEngine() { return *engine; }

private:
    // The editor follows every change of a value.
    void parameterChanged(VstInt32 index, float value) override;
    // One table, the voices, the editor.
    void liveValuesLoaded() override;

    WorkBuffers<2> buffers;  // left, right
    ZVGui* gui = nullptr;    // the editor, owned through the base's editor pointer
};

}  // namespace firstgen
