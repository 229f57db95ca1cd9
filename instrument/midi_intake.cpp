#include "instrument/midi_intake.h"

#include <cstdint>

#include "engine/synth_engine.h"
#include "plugin_base/midi_reader.h"

namespace midi {

namespace {
// Engine frames run at twice the host rate. Offsets that would overflow are
// pinned; the engine clamps every frame into its block anyway.
int32_t engineFrame(VstInt32 deltaFrames) {
    int64_t doubled = static_cast<int64_t>(deltaFrames) * 2;
    if (doubled > INT32_MAX) return INT32_MAX;
    if (doubled < 0) return 0;
    return static_cast<int32_t>(doubled);
}
}  // namespace

VstInt32 processEvents(SynthEngine& engine, const VstEvents* events) {
    midi_reader::forEachMessage(events, [&](const midi_reader::Message& message) {
        const int32_t frame = engineFrame(message.deltaFrames);
        if (message.isNoteOn()) {
            engine.noteOn(message.data1, message.velocity(), frame);
        } else if (message.isNoteOff()) {
            engine.noteOff(message.data1, frame);
        } else if (message.silencesAll()) {
            engine.allNotesOff();
        } else if (message.kind == midi_reader::kPitchBend) {
            engine.queuePitchBend(message.bend(), frame);
        }
    });
    return 1;
}

}  // namespace midi
