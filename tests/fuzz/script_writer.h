// Writes host scripts in the byte language of script_format.h, for the seed
// corpus and the regression inputs made by make_seeds.cpp. Ints and floats are
// written in their raw form, so a script reads the same whatever the tables
// of edge values hold.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "plugin_base/vst2_interface.h"
#include "tests/fuzz/script_format.h"

namespace fuzzhost {

struct Midi {
    unsigned char status, data1, data2;
    int32_t deltaFrames = 0;
};

class ScriptWriter {
public:
    const std::vector<uint8_t>& bytes() const { return bytes_; }

    ScriptWriter& byte(uint8_t b) {
        bytes_.push_back(b);
        return *this;
    }
    ScriptWriter& integer(int32_t v) {
        byte(kRawInt);
        return raw(&v);
    }
    ScriptWriter& real(float v) {
        byte(kRawFloat);
        return raw(&v);
    }
    // A count of one byte, or two for a chunk, then the bytes.
    ScriptWriter& counted(const void* data, size_t size, bool twoByteCount) {
        byte(static_cast<uint8_t>(size));
        if (twoByteCount) byte(static_cast<uint8_t>(size >> 8));
        const auto* p = static_cast<const uint8_t*>(data);
        bytes_.insert(bytes_.end(), p, p + size);
        return *this;
    }
    ScriptWriter& text(const std::string& t) { return counted(t.data(), t.size(), false); }

    ScriptWriter& action(Action a, int instance) { return byte(static_cast<uint8_t>(a)).byte(instance); }

    ScriptWriter& dispatch(int instance, VstInt32 opcode, VstInt32 index = 0, VstInt32 value = 0, float opt = 0.0f) {
        return action(Action::Dispatch, instance).byte(opcode).integer(index).integer(value).real(opt);
    }
    ScriptWriter& lifecycle(int instance, LifecycleStep step) {
        return action(Action::Lifecycle, instance).byte(static_cast<uint8_t>(step));
    }
    ScriptWriter& sampleRate(int instance, float rate) {
        return lifecycle(instance, LifecycleStep::SampleRate).real(rate);
    }
    ScriptWriter& blockSize(int instance, int32_t size) {
        return lifecycle(instance, LifecycleStep::BlockSize).integer(size);
    }
    ScriptWriter& start(int instance) {
        return sampleRate(instance, 44100.0f).blockSize(instance, 512).lifecycle(instance, LifecycleStep::Resume);
    }
    ScriptWriter& process(int instance, int32_t frames, bool accumulating = false) {
        return action(Action::Process, instance).byte(accumulating ? 1 : 0).integer(frames);
    }
    ScriptWriter& setParameter(int instance, int32_t index, float value) {
        return action(Action::SetParameter, instance).integer(index).real(value);
    }
    ScriptWriter& getParameter(int instance, int32_t index) {
        return action(Action::GetParameter, instance).integer(index);
    }
    ScriptWriter& setChunk(int instance, bool preset, const std::vector<uint8_t>& chunk) {
        return action(Action::SetChunk, instance).byte(preset ? 1 : 0).counted(chunk.data(), chunk.size(), true);
    }
    ScriptWriter& chunkRoundTrip(int instance, bool preset) {
        return action(Action::ChunkRoundTrip, instance).byte(preset ? 1 : 0);
    }
    ScriptWriter& limitMemory(int32_t bytes) { return byte(static_cast<uint8_t>(Action::LimitMemory)).integer(bytes); }

    // An honest list of MIDI events, as a host sends it.
    ScriptWriter& events(int instance, const std::vector<Midi>& messages) {
        action(Action::Events, instance).byte(static_cast<uint8_t>(messages.size())).byte(0);
        for (const Midi& m : messages) midiEvent(m);
        return *this;
    }
    // One event of a list the caller starts with eventList.
    ScriptWriter& eventList(int instance, int count, int8_t lie) {
        return action(Action::Events, instance).byte(static_cast<uint8_t>(count)).byte(static_cast<uint8_t>(lie));
    }
    ScriptWriter& midiEvent(const Midi& m, int32_t byteSizeLie = 0) {
        eventHead(EventShape::Midi, m.deltaFrames, byteSizeLie);
        return byte(m.status).byte(m.data1).byte(m.data2);
    }
    ScriptWriter& sysexEvent(const std::string& dump, int32_t deltaFrames) {
        return eventHead(EventShape::Sysex, deltaFrames, 0).text(dump);
    }
    ScriptWriter& otherEvent(int32_t type, int32_t deltaFrames, int32_t byteSizeLie) {
        return eventHead(EventShape::Other, deltaFrames, byteSizeLie).integer(type);
    }

private:
    ScriptWriter& raw(const void* four) {
        uint32_t v;
        std::memcpy(&v, four, sizeof(v));
        for (int shift = 0; shift < 32; shift += 8) byte(static_cast<uint8_t>(v >> shift));
        return *this;
    }
    // A byteSize lie of 0 writes the honest size.
    ScriptWriter& eventHead(EventShape shape, int32_t deltaFrames, int32_t byteSizeLie) {
        byte(static_cast<uint8_t>(shape)).integer(deltaFrames);
        if (byteSizeLie == 0) return byte(0);
        return byte(1).integer(byteSizeLie);
    }

    std::vector<uint8_t> bytes_;
};

}  // namespace fuzzhost
