// A host thread's floating-point control settings, set and read the way a
// host's audio thread has them, for tests that check the instruments neither
// change them nor depend on them.
#pragma once

#include <gtest/gtest.h>
#include <xmmintrin.h>

#include <cstdint>
#include <vector>

#include "numerics/extended_precision.h"
#include "numerics/float_environment.h"
#include "plugin_base/vst2_interface.h"
#include "tools/testhost/midi_event_list.h"

namespace host_float {

struct Settings {
    unsigned mxcsr;  // SSE: rounding, flush-to-zero, denormals-are-zero, exception masks
    uint16_t x87;    // x87 control word: precision and rounding
};

inline bool operator==(const Settings& a, const Settings& b) { return a.mxcsr == b.mxcsr && a.x87 == b.x87; }

// MXCSR bits 0-5 are sticky exception flags that any arithmetic may raise;
// the rest is the control the host chose.
constexpr unsigned kMxcsrControlBits = 0xFFC0;

inline Settings current() { return Settings{_mm_getcsr() & kMxcsrControlBits, ExtendedPrecision::readControl()}; }

// Holds `settings` on the calling thread for its scope, then restores the previous ones.
class Scoped {
public:
    explicit Scoped(const Settings& settings) : saved_{_mm_getcsr(), ExtendedPrecision::readControl()} {
        _mm_setcsr(settings.mxcsr);
        ExtendedPrecision::writeControl(settings.x87);
    }
    ~Scoped() {
        _mm_setcsr(saved_.mxcsr);
        ExtendedPrecision::writeControl(saved_.x87);
    }
    Scoped(const Scoped&) = delete;
    Scoped& operator=(const Scoped&) = delete;

private:
    Settings saved_;
};

constexpr unsigned kRoundTowardZero = 0x6000;
constexpr uint16_t kX87Extended = 0x037F;    // 64-bit precision, to nearest: Linux, 64-bit Windows
constexpr uint16_t kX87Double = 0x027F;      // 53-bit precision: threads on 32-bit Windows
constexpr uint16_t kX87TowardZero = 0x0F7F;  // 64-bit precision, toward zero

constexpr Settings kPlain{kDefaultFloatControl, kX87Extended};
constexpr Settings kFlushing{kDefaultFloatControl | kFlushToZero | kDenormalsAreZero, kX87Extended};

// Settings host audio threads run with, plain first.
constexpr Settings kHostSettings[] = {
    kPlain,
    kFlushing,
    {kDefaultFloatControl | kFlushToZero, kX87Double},
    {kDefaultFloatControl | kRoundTowardZero | kDenormalsAreZero, kX87TowardZero},
};

inline VstIntPtr VSTCALLBACK quietHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

// Under each of kHostSettings: a program change (a new table), a chord and a
// few blocks through the plug-in's record; after the change and after the
// blocks the thread's settings must still be the host's.
inline void expectPlugKeepsHostSettings(AEffect* e, float rate, VstInt32 block) {
    e->dispatcher(e, effSetSampleRate, 0, 0, nullptr, rate);
    e->dispatcher(e, effSetBlockSize, 0, block, nullptr, 0);
    e->dispatcher(e, effMainsChanged, 0, 1, nullptr, 0);
    testhost::MidiEventList chord({{0, 0x90, 48, 100}, {3, 0x90, 55, 90}, {7, 0x90, 64, 80}});
    std::vector<float> left(block), right(block);
    float* outputs[2] = {left.data(), right.data()};

    VstInt32 program = 0;
    for (const Settings& settings : kHostSettings) {
        Scoped host(settings);
        e->dispatcher(e, effSetProgram, 0, ++program, nullptr, 0);
        EXPECT_EQ(current(), settings) << "after the generation of program " << program;
        e->dispatcher(e, effProcessEvents, 0, 0, chord.list(), 0);
        for (int32_t b = 0; b < 4; ++b) e->processReplacing(e, nullptr, outputs, block);
        EXPECT_EQ(current(), settings) << "after processReplacing, program " << program;
    }
}

}  // namespace host_float
