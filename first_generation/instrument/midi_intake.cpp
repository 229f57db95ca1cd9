#include "first_generation/instrument/midi_intake.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <initializer_list>

#include "first_generation/engine/first_gen_engine.h"

namespace firstgen::midi {

namespace {
constexpr unsigned char kNoteOff = 0x80;
constexpr unsigned char kNoteOn = 0x90;
constexpr unsigned char kControlChange = 0xB0;
constexpr unsigned char kPitchBend = 0xE0;
constexpr unsigned char kAllNotesOff = 123;
constexpr unsigned char kMonoModeOn = 126;
constexpr float kVelocityScale = 0.007874016f;  // 1/127
constexpr float kBendScale = 6.1035156e-05f;    // 2^-14
// The engine's note n is MIDI key n + 12: its table starts an octave down,
// since the readers sound every frequency an octave higher.
constexpr int32_t kKeyOffset = 12;
}  // namespace

VstInt32 processEvents(FirstGenEngine& engine, const VstEvents* events, VstInt32 lastFrame) {
    if (!events) return 1;
    lastFrame = std::max<VstInt32>(lastFrame, 0);
    VstInt32 previousFrame = 0;
    for (VstInt32 i = 0; i < events->numEvents; ++i) {
        const VstEvent* event = events->events[i];
        if (!event) break;
        if (event->type != kVstMidiType) continue;
        const auto* midiEvent = reinterpret_cast<const VstMidiEvent*>(event);
        const auto status = static_cast<unsigned char>(midiEvent->midiData[0]);
        const auto data1 = static_cast<unsigned char>(midiEvent->midiData[1] & 0x7F);
        const auto data2 = static_cast<unsigned char>(midiEvent->midiData[2] & 0x7F);
        const int32_t frame = std::clamp(midiEvent->deltaFrames, previousFrame, lastFrame);
        previousFrame = frame;
        const int32_t note = data1 - kKeyOffset;

        switch (status & 0xF0) {
            case kNoteOff:
                if (note >= 0) engine.noteOff(note, frame);
                break;
            case kNoteOn:
                if (note < 0) break;
                if (data2 == 0)
                    engine.noteOff(note, frame);
                else
                    engine.noteOn(note, firstGenNoteFrequencies[note], static_cast<float>(data2) * kVelocityScale,
                                  frame);
                break;
            case kControlChange:
                if (data1 == kAllNotesOff || data1 == kMonoModeOn) engine.cutAllVoices();
                break;
            case kPitchBend: {
                const int position = (data2 << 7) | data1;
                engine.pitchBend(static_cast<float>(position) * kBendScale * 2.0f - 1.0f, frame);
                break;
            }
            default: break;
        }
    }
    return 1;
}

VstInt32 canDo(const char* text) {
    if (!text) return -1;
    for (const char* yes : {"receiveVstEvents", "receiveVstMidiEvent", "receiveVstTimeInfo"})
        if (std::strcmp(text, yes) == 0) return 1;
    return -1;
}

}  // namespace firstgen::midi
