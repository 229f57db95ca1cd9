// One voice of the first-generation engine: two table readers, two linear
// envelopes and a ladder per channel, at the host's rate.
#pragma once

#include <cstdint>

#include "engine/wavetable.h"
#include "first_generation/engine/ladder_filter.h"
#include "first_generation/engine/linear_envelope.h"
#include "first_generation/engine/table_oscillator.h"

struct FirstGenVoice {
    // The rate until the host tells its own; the envelopes' construction steps use it too.
    static constexpr float kDefaultRate = 44100.0f;
    static constexpr int32_t kNoNote = -1;  // never started: matches no key the instrument sends

    Wavetable* wavetable = nullptr;  // the engine's; not owned
    TableOscillator oscL;            // start offset follows the width
    TableOscillator oscR;            // always starts at 0
    float bendFactor = 1.0f;         // frequency factor of the last pitch-bend entry
    float sampleRate = kDefaultRate;
    bool sounding = false;
    bool released = false;  // released, or the reserve being faded
    bool starting = false;  // a note start for this voice waits in the queue
    int32_t note = kNoNote;
    float velocity = 0.0f;
    LinearEnvelope ampEnv;
    LinearEnvelope filterEnv;
    LadderCoefficients ladder;  // shared by both channels, the last sample's
    LadderState left;
    LadderState right;
    const float* params = nullptr;  // the engine's parameter array; not owned
    // What the running note was started with, so that a pitch bend can rescale
    // its increments: the frequency in Hz and the rate then.
    float noteFrequency = 0.0f;
    float noteRate = kDefaultRate;

    // Construction: shared pointers, envelopes idle, the amplitude envelope
    // holding the steps of 44.1 kHz and every stage value 0.5.
    void connect(Wavetable* table, const float* parameterArray);
    // The voice's part of a parameter change: width (9), filter envelope
    // (10..13), amplitude envelope (17..20), or all three for the
    // all-parameters code.
    void paramChanged(int32_t index);
    // Note start at the voice's rate and the current bend. Inside ExtendedPrecision.
    void start(int32_t startNote, float startVelocity, float frequency);
    void release();
    // New bend factor; the running note's increments follow at once. Inside ExtendedPrecision.
    void bend(float factor);
    // Any ladder, smoothing or envelope state that is NaN or infinite makes the
    // voice silent, cleared and idle, ready for its next start.
    void silenceIfNotFinite();
};

// The parameter indices the voices read.
namespace firstgen_param {
constexpr int32_t kBandwidth = 8;
constexpr int32_t kWidth = 9;
constexpr int32_t kFilterAttack = 10;  // then decay, sustain, release
constexpr int32_t kFilterRelease = 13;
constexpr int32_t kFilterAmount = 14;
constexpr int32_t kCutoff = 15;
constexpr int32_t kFilterVelocity = 16;
constexpr int32_t kAttack = 17;  // then decay, sustain, release
constexpr int32_t kRelease = 20;
constexpr int32_t kAmpVelocity = 21;
constexpr int32_t kVolume = 22;
constexpr int32_t kAll = 100;
}  // namespace firstgen_param
