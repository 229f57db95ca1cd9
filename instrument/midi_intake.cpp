#include "instrument/midi_intake.h"

#include <cstdint>
#include <cstring>
#include <initializer_list>

#include "engine/synth_engine.h"

namespace midi {

namespace {
constexpr unsigned char kNoteOff = 0x80;
constexpr unsigned char kNoteOn = 0x90;
constexpr unsigned char kControlChange = 0xB0;
constexpr unsigned char kPitchBend = 0xE0;
constexpr unsigned char kAllNotesOff = 123;
constexpr unsigned char kMonoModeOn = 126;
constexpr float kVelocityScale = 0.007874016f;  // 1/127
constexpr float kBendScale = 6.1035156e-05f;    // 2^-14

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
    if (!events) return 1;
    for (VstInt32 i = 0; i < events->numEvents; ++i) {
        const VstEvent* event = events->events[i];
        if (!event) break;
        if (event->type != kVstMidiType) continue;
        const auto* midiEvent = reinterpret_cast<const VstMidiEvent*>(event);
        const auto status = static_cast<unsigned char>(midiEvent->midiData[0]);
        const auto data1 = static_cast<unsigned char>(midiEvent->midiData[1] & 0x7F);
        const auto data2 = static_cast<unsigned char>(midiEvent->midiData[2] & 0x7F);
        const int32_t frame = engineFrame(midiEvent->deltaFrames);

        switch (status & 0xF0) {
            case kNoteOff: engine.noteOff(data1, frame); break;
            case kNoteOn:
                if (data2 == 0)
                    engine.noteOff(data1, frame);
                else
                    engine.noteOn(data1, static_cast<float>(data2) * kVelocityScale, frame);
                break;
            case kControlChange:
                if (data1 == kAllNotesOff || data1 == kMonoModeOn) engine.allNotesOff();
                break;
            case kPitchBend: {
                const int position = (data2 << 7) | data1;
                engine.queuePitchBend(static_cast<float>(position) * kBendScale * 2.0f - 1.0f, frame);
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

}  // namespace midi
