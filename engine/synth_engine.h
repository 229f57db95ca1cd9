// The pad engine: 17 voices over one shared wavetable, their parameters and
// tables, and the queue of note events of the coming block.
#pragma once

#include <atomic>
#include <cstdint>

#include "engine/engine_event.h"
#include "engine/note_tables.h"
#include "engine/parameter_index.h"
#include "engine/synth_voice.h"
#include "engine/voice_lanes.h"
#include "engine/wavetable.h"

// Threads: note calls, the render and allNotesOff run in the host's processing
// sequence; paramChanged, loadAllParameters and setSampleRate run on whatever
// thread changes a value (the wavetable reaches the render through its
// hand-over; envelope coefficients, start offsets and parameter values are
// shared floats, numerics/shared_float.h). Nothing here allocates after
// construction or takes a lock.
struct SynthEngine {
    static constexpr int32_t kVoiceCount = 17;
    static constexpr int32_t kQueueCapacity = 128;

    explicit SynthEngine(int32_t paramCount = param::kCount);
    ~SynthEngine();
    SynthEngine(const SynthEngine&) = delete;
    SynthEngine& operator=(const SynthEngine&) = delete;

    // Runs the voices' part of a change of parameter `index` (or param::kAll),
    // then regenerates the wavetable when index is 0..32 or param::kAll.
    void paramChanged(int32_t index);
    // Program or chunk load: copies paramCount values (`values` holds that
    // many), recomputes every voice and generates the wavetable exactly once.
    void loadAllParameters(const float* values);
    // Every voice runs at twice the host rate; envelopes follow at once,
    // sounding notes keep their pitch until their next start.
    void setSampleRate(float hostRate);

    // Frames are oversampled: twice the host's delta frames. A note-on takes
    // the reserve voice and fades the next reserve at once; the start itself
    // waits for its frame. When the queue is full the note-on is dropped whole.
    void noteOn(int32_t key, float velocity, int32_t frame);
    // Releases every voice sounding `key` and every queued start of it. With
    // the queue full a sounding voice is released at once (from the next block
    // start) and a queued start is withdrawn, so no note is ever left hanging.
    void noteOff(int32_t key, int32_t frame);
    // Pitch bend -1..1 from `frame` on. With the queue full the value replaces
    // that of the last queued bend (the wheel ends where it was left), or is
    // dropped when no bend is queued.
    void queuePitchBend(float value, int32_t frame);
    // Clears every voice's sounding flag; queued entries and flags stay.
    void allNotesOff();

    SynthVoice voices[kVoiceCount];
    int32_t voiceOrder[kVoiceCount];  // front: chosen as reserve longest ago
    EngineEvent events[kQueueCapacity];
    int32_t eventCount = 0;
    Wavetable wavetable;
    int32_t reserveVoice = 0;
    float* params = nullptr;  // paramCount values, at least the 49 the engine reads
    int32_t paramCount = 0;
    float pitchTable[kPitchTableSize];
    const float* noteFrequencies = pitchTable - kLowestPitchIndex;  // [-12..163], [0..127] the MIDI notes
    float subTable[kSubTableSize];

    // Tables requested from the generator by this engine (construction counts
    // one); counted by whichever thread changes parameters.
    std::atomic<uint32_t> tablesGenerated{0};
    // The voice kernel of the render; every kernel yields the same samples.
    const LaneKernelInfo* voiceKernel = nullptr;
    VoiceLanes lanes;  // the render's working state, not meaningful between blocks

private:
    bool appendEvent(const EngineEvent& event);
    void generateTable();
};
