// The first-generation sound engine: sixteen voices over one wavetable built
// from eight harmonic groups, linear envelopes, a four-pole ladder per channel
// and a per-block queue of note events applied at their exact frames.
#pragma once

#include <atomic>
#include <cstdint>

#include "engine/wavetable.h"
#include "first_generation/engine/first_gen_event.h"
#include "first_generation/engine/first_gen_lanes.h"
#include "first_generation/engine/first_gen_voice.h"

// Threads: noteOn, noteOff, pitchBend, cutAllVoices and renderBlock run in the
// host's processing sequence; paramChanged, generateWavetable and
// setSampleRate run on whatever thread changes a value. The table reaches the
// render through the shared hand-over; everything else the render reads of
// those changes (parameter values, envelope steps, start offsets) is a shared
// float, numerics/shared_float.h.
// Nothing here allocates, locks or calls the system after construction, except
// generation on the changing thread.
struct FirstGenEngine {
    static constexpr int32_t kVoiceCount = 16;
    static constexpr int32_t kQueueCapacity = 64;
    static constexpr int32_t kParamCount = 23;
    static constexpr int32_t kAllParameters = 100;

    explicit FirstGenEngine(int32_t paramCount = kParamCount);
    ~FirstGenEngine();
    FirstGenEngine(const FirstGenEngine&) = delete;
    FirstGenEngine& operator=(const FirstGenEngine&) = delete;

    // Builds a table from the eight group values and the bandwidth (all 0..1)
    // and publishes it for the next block.
    void generateWavetable(const float* groups, float bandwidth);
    // params[index] has changed (or index == kAllParameters): regenerates for
    // 0..8 and 100, then the voices' actions (width, envelopes).
    void paramChanged(int32_t index);
    // Host sample rate in Hz; envelopes follow at once, sounding notes keep
    // their pitch until their next start.
    void setSampleRate(float rate);

    // note = key - 12 (0..127), frequency in Hz, velocity 0..1, frame in the
    // coming block at the host's rate. A note-on takes the reserve voice and
    // fades the next reserve at once; the start waits for its frame. With the
    // queue full the note-on is dropped whole.
    void noteOn(int32_t note, float frequency, float velocity, int32_t frame);
    // Releases every voice whose last start had `note` and every start of it
    // queued so far. With the queue full a voice is released at once (from
    // the next block's start) and a queued start is withdrawn: no note hangs.
    void noteOff(int32_t note, int32_t frame);
    // -1..1, an octave each way, from `frame` on. With the queue full the
    // value replaces that of the last queued bend, or is dropped when none is.
    void pitchBend(float bend, int32_t frame);
    void cutAllVoices();

    // Adds `frames` samples into outL/outR (the caller clears them); the
    // scratch buffers hold at least `frames` floats. Empties the queue. Entry
    // frames are brought into 0..frames and made non-decreasing first.
    void renderBlock(float* scratchL, float* scratchR, float* outL, float* outR, int32_t frames);
    // The same for a block longer than the scratch buffers (scratchFrames
    // floats each): the voices render in spans that fit, the entries still
    // take effect at their exact frames, and the samples are those of one
    // call with buffers of `frames`.
    void renderBlock(float* scratchL, float* scratchR, int32_t scratchFrames, float* outL, float* outR, int32_t frames);

    float* params = nullptr;  // kParamCount live values
    int32_t paramCount = kParamCount;
    Wavetable wavetable;

    FirstGenVoice voices[kVoiceCount];
    int32_t voiceOrder[kVoiceCount];  // front: chosen as reserve longest ago
    FirstGenEvent events[kQueueCapacity];
    int32_t eventCount = 0;
    int32_t reserveVoice = 0;
    // Tables requested by this engine (construction counts one); counted by
    // whichever thread changes parameters.
    std::atomic<uint32_t> tablesGenerated{0};
    // Index into firstGenLaneKernels() for the render, or -1 for the widest
    // this CPU runs; every kernel yields the same samples.
    int32_t laneKernel = -1;
    FirstGenLanes lanes;  // the render's working state, not meaningful between blocks

private:
    bool appendEvent(const FirstGenEvent& event);
    int32_t nextReserve() const;
    void withdrawStart(FirstGenEvent& start);
};

// Hz of note n = key - 12 for n in 0..127, computed once for the library.
extern const float* const firstGenNoteFrequencies;

// Renders every sounding voice over `count` samples added into outL/outR;
// the scratch buffers hold at least `count` floats for renderers that want them.
using FirstGenSpanRenderer = void (*)(FirstGenEngine& engine, float* scratchL, float* scratchR, float* outL,
                                      float* outR, int32_t count);

// The shipped span renderer: the sounding voices in vector lanes.
void renderFirstGenLanes(FirstGenEngine& engine, float* scratchL, float* scratchR, float* outL, float* outR,
                         int32_t count);

// The block render with a chosen span renderer, so that a plain reference can
// share the queue walk: adopts a pending table, clamps the entry frames, then
// renders up to each entry's frame, applies the entry, and renders on to the
// end, in spans of at most scratchFrames. Sets the floating-point state the
// voices need (64-bit x87 precision; round to nearest with flush-to-zero and
// denormals-are-zero, so that no decay ends in subnormal arithmetic) and
// restores the caller's.
void renderFirstGenBlock(FirstGenEngine& engine, float* scratchL, float* scratchR, int32_t scratchFrames, float* outL,
                         float* outR, int32_t frames, FirstGenSpanRenderer renderer);
