// A VstEvents list built the way hosts build them: one VstMidiEvent per
// message, the pointer array allocated with room to spare and zero-filled.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

#include "plugin_base/vst2_interface.h"

namespace testhost {

// A MIDI message with its offset into the next block.
struct MidiMessage {
    VstInt32 deltaFrames;
    unsigned char status, data1, data2;
};

class MidiEventList {
public:
    // extraSlots null pointers follow the filled entries.
    explicit MidiEventList(const std::vector<MidiMessage>& messages, size_t extraSlots = 0)
        : events_(messages.size()),
          bytes_(offsetof(VstEvents, events) + std::max<size_t>(messages.size() + extraSlots, 2) * sizeof(VstEvent*),
                 0) {
        VstEvents* l = list();
        l->numEvents = static_cast<VstInt32>(messages.size());
        for (size_t i = 0; i < messages.size(); ++i) {
            VstMidiEvent& e = events_[i];
            std::memset(&e, 0, sizeof(e));
            e.type = kVstMidiType;
            e.byteSize = sizeof(VstMidiEvent);
            e.deltaFrames = messages[i].deltaFrames;
            e.midiData[0] = static_cast<char>(messages[i].status);
            e.midiData[1] = static_cast<char>(messages[i].data1);
            e.midiData[2] = static_cast<char>(messages[i].data2);
            l->events[i] = reinterpret_cast<VstEvent*>(&e);
        }
    }
    MidiEventList(const MidiEventList&) = delete;
    MidiEventList& operator=(const MidiEventList&) = delete;

    VstEvents* list() { return reinterpret_cast<VstEvents*>(bytes_.data()); }

private:
    std::vector<VstMidiEvent> events_;
    std::vector<unsigned char> bytes_;
};

}  // namespace testhost
