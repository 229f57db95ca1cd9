// An instrument's eight named programs and the state chunks the host stores.
//
// The bank is plain data plus the record-side half of every program and chunk
// operation. The live parameter values (the engine's array) and the current
// program number (the plug-in base's curProgram) stay with their owners and
// are passed in, so there is one copy of each; the caller runs the engine and
// editor steps that follow a load. The parameter count is a template argument:
// both instruments keep their programs in this bank.
#pragma once

#include <cstring>
#include <limits>
#include <type_traits>

#include "numerics/shared_float.h"
#include "plugin_base/vst2_interface.h"

// Chunks are the in-memory bytes of the records; hosts on other machines read
// them as little-endian IEEE floats, so only such targets can build this.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "chunks are little-endian");
static_assert(std::numeric_limits<float>::is_iec559 && sizeof(float) == 4, "chunks hold IEEE binary32");

constexpr VstInt32 kProgramCount = 8;
constexpr VstInt32 kProgramNameBytes = 24;

// One program exactly as the bank chunk holds it: a name of 8-bit characters,
// zero-padded (24 characters fill the field with no terminator), then one
// float per parameter in parameter index order. The struct has no padding, so
// its bytes are the chunk's bytes.
template <int NumParams>
struct ProgramRecordOf {
    char name[kProgramNameBytes];
    float values[NumParams];
};

// What setChunk answers the host, and whether the host must be asked to update
// its display (it must exactly when the chunk was refused, so that it shows the
// unchanged state again).
struct ChunkResult {
    VstInt32 byteSize = 0;  // bytes taken; 0 = refused, nothing changed

    bool taken() const { return byteSize != 0; }
    bool askHostToUpdateDisplay() const { return !taken(); }
};

// Eight records in one contiguous block, which is also the bank chunk.
// Invariants: the block never changes size; nothing outside it is read or
// written for any program number or chunk size; values are stored bit for bit
// as received (no clamping, NaN kept), which is why every copy is a byte copy.
template <int NumParams>
class ProgramBankOf {
public:
    using Record = ProgramRecordOf<NumParams>;
    static constexpr VstInt32 numPrograms = kProgramCount;
    static constexpr VstInt32 numParams = NumParams;
    static constexpr VstInt32 presetChunkSize = NumParams * VstInt32(sizeof(float));
    static constexpr VstInt32 bankChunkSize = numPrograms * VstInt32(sizeof(Record));

    static_assert(sizeof(Record) == kProgramNameBytes + NumParams * sizeof(float), "record has no padding");
    static_assert(std::is_trivially_copyable<Record>::value && std::is_standard_layout<Record>::value,
                  "records are copied as bytes");

    explicit ProgramBankOf(const Record (&initial)[kProgramCount]) { std::memcpy(records, initial, sizeof(records)); }

    static bool isProgram(VstInt32 index) { return index >= 0 && index < numPrograms; }

    // setProgram's record side: the live values go back into the program being
    // left, index becomes current and its values are copied into live. The same
    // number reloads what was just written back, so edits survive. A number
    // outside 0..7 answers false and touches nothing; true means the caller
    // must now run the engine's all-parameters step and refresh the editor.
    bool selectProgram(VstInt32& current, VstInt32 index, float* live) {
        if (!isProgram(index)) return false;
        storeLive(current, live);
        current = index;
        loadInto(current, live);
        return true;
    }

    // Write-back: the live values become the current program's stored values.
    void storeLive(VstInt32 current, const float* live) {
        if (isProgram(current)) std::memmove(records[current].values, live, presetChunkSize);
    }

    // The first step of loading a program: its stored values become live,
    // one shared store each, since the render may be reading them.
    void loadInto(VstInt32 current, float* live) const {
        if (!isProgram(current)) return;
        for (VstInt32 i = 0; i < NumParams; ++i) storeShared(live[i], records[current].values[i]);
    }

    // Clears the name field, then keeps at most 24 characters of text.
    void setProgramName(VstInt32 current, const char* text) {
        if (!isProgram(current) || !text) return;
        char* field = records[current].name;
        std::memset(field, 0, kProgramNameBytes);
        for (VstInt32 i = 0; i < kProgramNameBytes && text[i]; ++i) field[i] = text[i];
    }

    // text receives at most 24 characters and a terminator (25 bytes at most).
    void getProgramName(VstInt32 current, char* text) const { getProgramNameIndexed(current, text); }

    // A number outside 0..7 answers false with an empty text, since the
    // dispatcher may hand the buffer to the host whatever the answer.
    bool getProgramNameIndexed(VstInt32 index, char* text) const {
        if (!text) return false;
        if (!isProgram(index)) {
            text[0] = 0;
            return false;
        }
        const char* field = records[index].name;
        VstInt32 length = 0;
        while (length < kProgramNameBytes && field[length]) ++length;
        std::memcpy(text, field, size_t(length));
        text[length] = 0;
        return true;
    }

    // After the write-back, *data points at the live values (preset, one float
    // per parameter) or at the whole block (bank, eight records); the memory
    // stays ours and the host copies it. A null data pointer gets 0.
    VstInt32 getChunk(VstInt32 current, void** data, bool isPreset, float* live) {
        storeLive(current, live);
        if (!data) return 0;
        if (isPreset) {
            *data = live;
            return presetChunkSize;
        }
        *data = records;
        return bankChunkSize;
    }

    // A preset chunk (preset flag and exactly the preset size) replaces the
    // current program's values, keeping its name; a chunk of the bank size
    // replaces the whole bank whatever the flag says. Either way the current
    // number stays and its values are copied into live. Every other size, a
    // null pointer or a current number outside 0..7 is refused with nothing
    // changed. Byte moves, not copies: a host may hand back our own pointer.
    ChunkResult setChunk(VstInt32 current, const void* data, VstInt32 byteSize, bool isPreset, float* live) {
        if (!data || !isProgram(current)) return {};
        if (isPreset && byteSize == presetChunkSize) {
            std::memmove(records[current].values, data, presetChunkSize);
        } else if (byteSize == bankChunkSize) {
            std::memmove(records, data, bankChunkSize);
        } else {
            return {};
        }
        loadInto(current, live);
        return {byteSize};
    }

    // Read access for inspection; a number outside 0..7 reads program 0.
    const Record& record(VstInt32 index) const { return records[isProgram(index) ? index : 0]; }
    const unsigned char* bytes() const { return reinterpret_cast<const unsigned char*>(records); }

private:
    Record records[kProgramCount];
};
