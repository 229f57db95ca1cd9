// One voice of the pad engine: two table readers, a sub-oscillator, two
// envelopes and a pair of four-pole filters, at the oversampled rate.
#pragma once

#include <cstdint>

#include "engine/envelope.h"
#include "engine/table_reader.h"
#include "engine/wavetable.h"

struct SynthVoice {
    static constexpr float kDefaultRate = 88200.0f;  // 2 x 44.1 kHz until the host tells its rate

    Wavetable* wavetable = nullptr;  // the engine's; not owned
    TableReader osc[2];              // left, right; the right one always starts at 0
    float bendFactor = 1.0f;         // 2^bend of the last pitch-bend entry
    float rate = kDefaultRate;       // oversampled rate in Hz
    bool sounding = false;
    bool released = false;  // released, or the pre-faded reserve
    bool starting = false;  // a note start for this voice waits in the queue
    int32_t note = 0;
    float velocity = 0.0f;
    Envelope ampEnv;
    Envelope filterEnv;
    uint16_t subPhase = 0;                   // wraps at 65,536
    int16_t subIncrement = 0;                // in use, pitch bend included
    float filterState[8] = {};               // four sections left, then four right
    const float* params = nullptr;           // the engine's parameter array
    const float* noteFrequencies = nullptr;  // valid for indices -12..163
    const float* subTable = nullptr;         // 4096 samples of sin^3
    // The pitch the running note was started with, so that a pitch bend can
    // rescale its increments: the table's frequency in Hz and the rate then.
    float noteFrequency = 0.0f;
    float noteRate = 0.0f;
};

// Voice construction: stores the shared pointers, computes the amplitude
// envelope for 44.1 kHz with every time and the sustain at 0.5.
void connectVoice(SynthVoice& voice, Wavetable* wavetable, const float* params, const float* noteFrequencies,
                  const float* subTable);

// Per-voice work of a parameter change: "SW" (33) sets the left start offset,
// 36..39 the filter envelope, 43..46 the amplitude envelope, param::kAll all three.
void voiceParamChanged(SynthVoice& voice, int32_t index);

// Starts a note: pitch from the note-frequency table and "OCT", stereo start
// offset, sub-oscillator, envelopes to attack from 0, filter states cleared.
void startVoice(SynthVoice& voice, int32_t key, float velocity);

// Release as a queued release applies it: both envelopes to their release stage.
void releaseVoice(SynthVoice& voice);

// Sets the bend factor and rescales the increments of the voice's note.
void bendVoice(SynthVoice& voice, float bendFactor);

// Index into noteFrequencies for a key under the "OCT" value: key - 12 x o - 12
// with o = trunc(OCT x -4), kept inside -12..163 (the range "OCT" in 0..1 can
// reach) whatever the key or the value.
int32_t pitchIndex(int32_t key, float octave);

// 2^value rounded to float; the wheel's -1..1 spans an octave each way.
// Values outside -1..1 are clamped there and NaN counts as the centre.
float bendFactorFor(float value);

// True when the filter states and both envelope levels are finite numbers.
bool voiceStateFinite(const SynthVoice& voice);

// Takes a voice whose state went non-finite out of play: not sounding, filter
// states and envelope levels 0, both envelopes idle.
void silenceVoice(SynthVoice& voice);
