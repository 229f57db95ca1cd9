// Builds VstEvents lists the way hosts do, for in-process tests.
#pragma once

#include <cstring>
#include <vector>

#include "plugin_base/vst2_interface.h"

struct EventList {
    std::vector<VstMidiEvent> events;
    std::vector<unsigned char> bytes;

    EventList& midi(VstInt32 deltaFrames, int status, int data1, int data2) {
        VstMidiEvent e;
        std::memset(&e, 0, sizeof(e));
        e.type = kVstMidiType;
        e.byteSize = sizeof(VstMidiEvent);
        e.deltaFrames = deltaFrames;
        e.midiData[0] = static_cast<char>(status);
        e.midiData[1] = static_cast<char>(data1);
        e.midiData[2] = static_cast<char>(data2);
        events.push_back(e);
        return *this;
    }
    // The list as the host hands it over; extraSlots null pointers follow.
    VstEvents* list(size_t extraSlots = 0) {
        size_t slots = events.size() + extraSlots + 2;
        bytes.assign(offsetof(VstEvents, events) + slots * sizeof(VstEvent*), 0);
        auto* l = reinterpret_cast<VstEvents*>(bytes.data());
        l->numEvents = static_cast<VstInt32>(events.size());
        for (size_t i = 0; i < events.size(); ++i) l->events[i] = reinterpret_cast<VstEvent*>(&events[i]);
        return l;
    }
};
