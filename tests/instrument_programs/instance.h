// The instrument's program state as the plug-in holds it: the bank, the
// current program number and the live values, wired the way the plug-in wires
// them, with the chunk traffic of a host.
#pragma once

#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "instrument/factory_bank.h"
#include "instrument/program_bank.h"

using Bytes = std::vector<unsigned char>;

inline Bytes bytesOf(const void* data, size_t size) {
    const unsigned char* p = static_cast<const unsigned char*>(data);
    return Bytes(p, p + size);
}

inline Bytes valuesOf(const float* values) { return bytesOf(values, ProgramBank::presetChunkSize); }

struct Instance {
    ProgramBank bank{kFactoryBank};
    VstInt32 current = 0;
    float live[ProgramBank::numParams];

    // As at construction: program 0 is loaded.
    Instance() { bank.loadInto(current, live); }

    bool select(VstInt32 index) { return bank.selectProgram(current, index, live); }

    // A host copies the chunk at once, as here.
    Bytes chunk(bool isPreset) {
        void* data = nullptr;
        VstInt32 size = bank.getChunk(current, &data, isPreset, live);
        return size > 0 ? bytesOf(data, size) : Bytes();
    }

    ChunkResult take(const Bytes& chunk, bool isPreset) {
        return bank.setChunk(current, chunk.data(), VstInt32(chunk.size()), isPreset, live);
    }

    std::string name(VstInt32 index) const {
        char text[kProgramNameBytes + 1];
        bank.getProgramNameIndexed(index, text);
        return text;
    }

    Bytes bankBytes() const { return bytesOf(bank.bytes(), ProgramBank::bankChunkSize); }
    Bytes liveBytes() const { return valuesOf(live); }

    // Everything a refused operation must leave alone.
    std::tuple<Bytes, VstInt32, Bytes> state() const { return {bankBytes(), current, liveBytes()}; }
};
