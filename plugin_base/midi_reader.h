// Reading a host's event list for the coming block, the same way for every
// instrument: only the entries that are really there, MIDI events only, the
// channel dropped and the data bytes reduced to their seven bits.
#pragma once

#include <cstring>
#include <initializer_list>

#include "plugin_base/vst2_interface.h"

namespace midi_reader {

constexpr unsigned char kNoteOff = 0x80;
constexpr unsigned char kNoteOn = 0x90;
constexpr unsigned char kControlChange = 0xB0;
constexpr unsigned char kPitchBend = 0xE0;
constexpr unsigned char kAllNotesOff = 123;
constexpr unsigned char kMonoModeOn = 126;

// One channel message: kind is the status without its channel nibble.
struct Message {
    unsigned char kind;
    unsigned char data1;
    unsigned char data2;
    VstInt32 deltaFrames;

    bool isNoteOn() const { return kind == kNoteOn && data2 != 0; }
    // A note-on of velocity 0 is a note-off, as keyboards send them.
    bool isNoteOff() const { return kind == kNoteOff || (kind == kNoteOn && data2 == 0); }
    bool silencesAll() const { return kind == kControlChange && (data1 == kAllNotesOff || data1 == kMonoModeOn); }
    float velocity() const { return static_cast<float>(data2) * 0.007874016f; }  // 1/127
    // The 14-bit wheel position as -1..1; 6.1035156e-05 is 2^-14.
    float bend() const { return static_cast<float>((data2 << 7) | data1) * 6.1035156e-05f * 2.0f - 1.0f; }
};

// Calls handle(message) for each MIDI event in list order. Reads only each
// event's type, deltaFrames and midiData; stops at the first null entry, since
// a careless host's count may run past the entries it filled. A null list or
// a count of 0 or less reads nothing.
template <typename Handle>
void forEachMessage(const VstEvents* events, Handle&& handle) {
    if (!events) return;
    // The declared array has two entries; hosts allocate numEvents of them,
    // so they are read through a pointer, not by indexing that array.
    const VstEvent* const* entries = events->events;
    for (VstInt32 i = 0; i < events->numEvents; ++i) {
        const VstEvent* event = entries[i];
        if (!event) break;
        if (event->type != kVstMidiType) continue;
        const auto* midiEvent = reinterpret_cast<const VstMidiEvent*>(event);
        handle(Message{static_cast<unsigned char>(midiEvent->midiData[0] & 0xF0),
                       static_cast<unsigned char>(midiEvent->midiData[1] & 0x7F),
                       static_cast<unsigned char>(midiEvent->midiData[2] & 0x7F), midiEvent->deltaFrames});
    }
}

// The capability questions an instrument answers: 1 for the events it
// receives, -1 for everything else (exact, case-sensitive).
inline VstInt32 instrumentCanDo(const char* text) {
    if (!text) return -1;
    for (const char* yes : {"receiveVstEvents", "receiveVstMidiEvent", "receiveVstTimeInfo"})
        if (std::strcmp(text, yes) == 0) return 1;
    return -1;
}

}  // namespace midi_reader
