// What a host can do to the instrument through the record without ending its
// own process: block sizes far beyond any buffer, and memory that runs out.
// This program replaces the global allocation functions so that allocations
// can be made to fail on demand.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <vector>

#include "instrument/vst_plug.h"

namespace {

std::atomic<bool> outOfMemory{false};

void* allocate(std::size_t size) {
    void* p = outOfMemory.load() ? nullptr : std::malloc(size ? size : 1);
    if (!p) throw std::bad_alloc();
    return p;
}

void* allocateOrNull(std::size_t size) noexcept { return outOfMemory.load() ? nullptr : std::malloc(size ? size : 1); }

}  // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return allocateOrNull(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return allocateOrNull(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {

VstIntPtr VSTCALLBACK quietHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

VstIntPtr call(AEffect* e, VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
               float opt = 0) {
    return e->dispatcher(e, opcode, index, value, ptr, opt);
}

// One held note through the record; returns the peak of `frames` output
// samples (at most kMaxFrames), or NaN when any sample is not finite. The
// output buffers exist before any allocation is made to fail.
constexpr VstInt32 kMaxFrames = 40000;
std::vector<float> left(kMaxFrames), right(kMaxFrames);

float playNote(AEffect* e, VstInt32 frames) {
    VstMidiEvent note{};
    note.type = kVstMidiType;
    note.byteSize = sizeof(note);
    note.midiData[0] = char(0x90);
    note.midiData[1] = 60;
    note.midiData[2] = 100;
    VstEvents list{};
    list.numEvents = 1;
    list.events[0] = reinterpret_cast<VstEvent*>(&note);
    call(e, effProcessEvents, 0, 0, &list);
    std::fill(left.begin(), left.end(), 1.0f);
    std::fill(right.begin(), right.end(), 1.0f);
    float* outs[2] = {left.data(), right.data()};
    e->processReplacing(e, nullptr, outs, frames);
    float peak = 0.0f;
    for (VstInt32 i = 0; i < frames; ++i) {
        if (!std::isfinite(left[size_t(i)]) || !std::isfinite(right[size_t(i)])) return std::nanf("");
        peak = std::fmax(peak, std::fmax(std::fabs(left[size_t(i)]), std::fabs(right[size_t(i)])));
    }
    return peak;
}

// A host may announce any block size and then hand over blocks of that size
// or less; the instrument renders them in pieces of its own buffers.
TEST(HostBoundary, AnyAnnouncedBlockSizeResumesAndPlays) {
    const VstIntPtr announced[] = {1, 4096, VstIntPtr(1) << 27, VstIntPtr(1) << 30, 0x7fffffff};
    for (VstIntPtr blockSize : announced) {
        AEffect* e = (new VSTPlug(quietHost))->getAeffect();
        call(e, effSetSampleRate, 0, 0, nullptr, 44100.0f);
        call(e, effSetBlockSize, 0, blockSize);
        call(e, effMainsChanged, 0, 1);
        const VstInt32 frames = VstInt32(blockSize < kMaxFrames ? blockSize : kMaxFrames);
        const float peak = playNote(e, frames);
        EXPECT_TRUE(std::isfinite(peak)) << blockSize;
        if (frames >= 4096) {
            EXPECT_GT(peak, 1e-3f) << blockSize;
        }
        call(e, effMainsChanged, 0, 0);
        EXPECT_EQ(call(e, effClose), 1);
    }
}

// Without memory, resume leaves the instrument suspended and silent, a
// regeneration leaves the old table playing, and the host lives; once memory
// is back, the next resume plays again.
TEST(HostBoundary, MemoryRunningOutLeavesTheInstrumentSilentAndWorking) {
    AEffect* e = (new VSTPlug(quietHost))->getAeffect();
    call(e, effSetSampleRate, 0, 0, nullptr, 44100.0f);
    call(e, effSetBlockSize, 0, VstIntPtr(1) << 27);

    outOfMemory = true;
    call(e, effMainsChanged, 0, 1);
    e->setParameter(e, 0, 0.25f);  // a spectral change: generation needs a table
    EXPECT_EQ(call(e, effSetProgram, 0, 2), 0);
    const float silent = playNote(e, 2048);
    outOfMemory = false;
    EXPECT_EQ(silent, 0.0f);

    call(e, effMainsChanged, 0, 0);
    call(e, effMainsChanged, 0, 1);
    EXPECT_GT(playNote(e, 8192), 1e-3f);
    EXPECT_EQ(call(e, effClose), 1);
}

}  // namespace
