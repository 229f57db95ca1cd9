#include "first_generation/instrument/midi_intake.h"

#include <algorithm>
#include <cstdint>

#include "first_generation/engine/first_gen_engine.h"
#include "plugin_base/midi_reader.h"

namespace firstgen::midi {

namespace {
// The engine's note n is MIDI key n + 12: its table starts an octave down,
// since the readers sound every frequency an octave higher.
constexpr int32_t kKeyOffset = 12;
}  // namespace

VstInt32 processEvents(FirstGenEngine& engine, const VstEvents* events, Block block) {
    const VstInt32 lastFrame = std::max<VstInt32>(block.lastFrame, 0);
    VstInt32 previousFrame = 0;
    midi_reader::forEachMessage(events, [&](const midi_reader::Message& message) {
        const int32_t frame = std::clamp(message.deltaFrames, previousFrame, lastFrame);
        previousFrame = frame;
        const int32_t note = message.data1 - kKeyOffset;
        if (message.silencesAll()) {
            engine.cutAllVoices();  // at once, not at its frame
        } else if (!block.follows) {
            return;
        } else if (message.isNoteOn()) {
            if (note >= 0) engine.noteOn(note, firstGenNoteFrequencies[note], message.velocity(), frame);
        } else if (message.isNoteOff()) {
            if (note >= 0) engine.noteOff(note, frame);
        } else if (message.kind == midi_reader::kPitchBend) {
            engine.pitchBend(message.bend(), frame);
        }
    });
    return 1;
}

}  // namespace firstgen::midi
