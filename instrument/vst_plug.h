// The instrument as the host sees it: identity, lifecycle, parameters, MIDI
// intake, and the glue between host calls and the engine. No sound is
// computed here: the engine renders, this class only hands it buffers.
#pragma once

#include <memory>

#include "instrument/program_bank.h"
#include "plugin_base/instrument_plug.h"
#include "plugin_base/work_buffers.h"

struct SynthEngine;
struct HalfBandFilter;
class ZVGui;
extern template class InstrumentPlug<SynthEngine, 49>;

class VSTPlug : public InstrumentPlug<SynthEngine, 49> {
public:
    explicit VSTPlug(audioMasterCallback audioMaster);
    ~VSTPlug() override;  // where the engine's and filters' types are complete

    // Lifecycle
    void resume() override;
    void suspend() override;
    void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override;

    // MIDI
    VstInt32 processEvents(VstEvents* events) override;

    // Work buffers of the render, 2 x block size floats each while resumed.
    const float* workBuffer(int which) const { return buffers[which]; }
    VstInt32 workBufferLength() const { return buffers.length(); }
    SynthEngine& synthEngine() { return *engine; }

private:
    void parameterChanged(VstInt32 index, float value) override;
    // Voices, one table, editor.
    void liveValuesLoaded() override;

    // scratchL, scratchR, mixL, mixR: null while suspended.
    WorkBuffers<4> buffers;
    const std::unique_ptr<HalfBandFilter> filterL;
    const std::unique_ptr<HalfBandFilter> filterR;
    ZVGui* gui = nullptr;  // the editor, owned through the base's editor pointer
};
