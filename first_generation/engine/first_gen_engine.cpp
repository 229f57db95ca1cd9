#include "first_generation/engine/first_gen_engine.h"

#include <algorithm>
#include <iterator>

#include "numerics/float_environment.h"
#include "first_generation/engine/fast_exp2.h"
#include "first_generation/engine/first_gen_generator.h"
#include "numerics/extended_precision.h"

FirstGenEngine::FirstGenEngine(int32_t requestedParamCount) {
    constexpr float kInitialValue = 0.1f;
    constexpr float kFirstBandwidth = 0.5f;
    paramCount = std::max(requestedParamCount, kParamCount);
    // A first table, harmonic 1 alone, adopted at once so that the voices
    // never read an empty record. The table first: when its generation
    // throws (no memory), the members clean up after themselves and no array
    // of ours is left behind.
    const float silentGroups[kFirstGenGroupCount] = {};
    generateWavetable(silentGroups, kFirstBandwidth);
    adoptPendingTable(wavetable);
    params = new float[paramCount];
    std::fill(params, params + paramCount, kInitialValue);
    for (int32_t v = 0; v < kVoiceCount; ++v) {
        voices[v].connect(&wavetable, params);
        voiceOrder[v] = v;
    }
    reserveVoice = 0;
    eventCount = 0;
    // CPU detection runs once, here, rather than at the first block.
    int32_t kernelCount = 0;
    firstGenLaneKernels(&kernelCount);
}

FirstGenEngine::~FirstGenEngine() { delete[] params; }

void FirstGenEngine::generateWavetable(const float* groups, float bandwidth) {
    if (groups == nullptr) return;
    generateFirstGenWavetable(groups, bandwidth, wavetable);
    ++tablesGenerated;
}

void FirstGenEngine::paramChanged(int32_t index) {
    if ((index >= 0 && index <= firstgen_param::kBandwidth) || index == kAllParameters)
        generateWavetable(params, params[firstgen_param::kBandwidth]);
    for (FirstGenVoice& voice : voices) voice.paramChanged(index);
}

void FirstGenEngine::setSampleRate(float rate) {
    for (FirstGenVoice& voice : voices) {
        voice.sampleRate = rate;
        voice.paramChanged(kAllParameters);
    }
}

bool FirstGenEngine::appendEvent(const FirstGenEvent& event) {
    if (eventCount < 0) eventCount = 0;
    if (eventCount >= kQueueCapacity) return false;
    events[eventCount++] = event;
    return true;
}

// The next reserve: a free voice, else a released one, else the one chosen
// longest ago; never the current reserve, which the new note takes.
int32_t FirstGenEngine::nextReserve() const {
    auto firstInOrder = [this](bool (*accepts)(const FirstGenVoice&)) {
        for (int32_t v : voiceOrder) {
            if (v != reserveVoice && accepts(voices[v])) return v;
        }
        return -1;
    };
    int32_t next = firstInOrder([](const FirstGenVoice& v) { return !v.sounding && !v.starting; });
    if (next < 0) next = firstInOrder([](const FirstGenVoice& v) { return v.released; });
    return next < 0 ? voiceOrder[0] : next;
}

void FirstGenEngine::noteOn(int32_t note, float frequency, float velocity, int32_t frame) {
    if (!appendEvent({FirstGenEvent::kNoteStart, frequency, note, velocity, frame, reserveVoice})) return;
    voices[reserveVoice].starting = true;

    const int32_t next = nextReserve();
    reserveVoice = next;
    voices[next].released = true;
    voices[next].ampEnv.state = LinearEnvelope::kStealFade;
    int32_t* chosen = std::find(voiceOrder, voiceOrder + kVoiceCount, next);
    std::rotate(chosen, chosen + 1, voiceOrder + kVoiceCount);
}

// Takes a queued start out of the block; its voice is no longer starting
// unless another start for it waits too.
void FirstGenEngine::withdrawStart(FirstGenEvent& start) {
    start.kind = FirstGenEvent::kWithdrawn;
    const bool hasVoice = start.voice >= 0 && start.voice < kVoiceCount;
    const FirstGenEvent* queue = events;
    const bool waits = std::any_of(queue, queue + eventCount, [&](const FirstGenEvent& e) {
        return e.kind == FirstGenEvent::kNoteStart && e.voice == start.voice;
    });
    if (hasVoice && !waits) voices[start.voice].starting = false;
}

void FirstGenEngine::noteOff(int32_t note, int32_t frame) {
    auto release = [&](int32_t voice) {
        return appendEvent({FirstGenEvent::kNoteRelease, 0.0f, 0, 0.0f, frame, voice});
    };
    for (int32_t v = 0; v < kVoiceCount; ++v) {
        if (voices[v].note == note && !release(v)) voices[v].release();
    }
    // Only the starts queued before this release: releases appended above and
    // below are not starts, so the walk may run to the queue's current end.
    for (int32_t i = 0; i < eventCount; ++i) {
        FirstGenEvent& queued = events[i];
        const bool start = queued.kind == FirstGenEvent::kNoteStart && queued.note == note;
        if (start && !release(queued.voice)) withdrawStart(queued);
    }
}

void FirstGenEngine::pitchBend(float bend, int32_t frame) {
    if (appendEvent({FirstGenEvent::kPitchBend, 0.0f, 0, bend, frame, 0})) return;
    FirstGenEvent* end = events + eventCount;
    auto last = std::find_if(std::make_reverse_iterator(end), std::make_reverse_iterator(events),
                             [](const FirstGenEvent& e) { return e.kind == FirstGenEvent::kPitchBend; });
    if (last.base() != events) last->value = bend;
}

void FirstGenEngine::cutAllVoices() {
    for (FirstGenVoice& voice : voices) voice.sounding = false;
}

void FirstGenEngine::renderBlock(float* scratchL, float* scratchR, float* outL, float* outR, int32_t frames) {
    renderFirstGenBlock(*this, scratchL, scratchR, frames, outL, outR, frames, renderFirstGenLanes);
}

void FirstGenEngine::renderBlock(float* scratchL, float* scratchR, int32_t scratchFrames, float* outL, float* outR,
                                 int32_t frames) {
    renderFirstGenBlock(*this, scratchL, scratchR, scratchFrames, outL, outR, frames, renderFirstGenLanes);
}

namespace {

// Queue entries in arrival order, never outside the block: frames below an
// earlier entry's are applied with it, frames beyond the block at its end.
void clampEventFrames(FirstGenEngine& engine, int32_t frames) {
    if (engine.eventCount < 0) engine.eventCount = 0;
    if (engine.eventCount > FirstGenEngine::kQueueCapacity) engine.eventCount = FirstGenEngine::kQueueCapacity;
    int32_t earliest = 0;
    for (FirstGenEvent* e = engine.events; e != engine.events + engine.eventCount; ++e)
        e->frame = earliest = std::min(std::max(e->frame, earliest), frames);
}

void applyEvent(FirstGenEngine& engine, const FirstGenEvent& event) {
    const bool hasVoice = event.voice >= 0 && event.voice < FirstGenEngine::kVoiceCount;
    switch (event.kind) {
        case FirstGenEvent::kNoteStart:
            if (hasVoice) engine.voices[event.voice].start(event.note, event.value, event.frequency);
            break;
        case FirstGenEvent::kNoteRelease:
            if (hasVoice) engine.voices[event.voice].release();
            break;
        case FirstGenEvent::kPitchBend: {
            const float factor = bendFactorFor(event.value);
            for (FirstGenVoice& voice : engine.voices) voice.bend(factor);
            break;
        }
        default: break;
    }
}

}  // namespace

void renderFirstGenBlock(FirstGenEngine& engine, float* scratchL, float* scratchR, int32_t scratchFrames, float* outL,
                         float* outR, int32_t frames, FirstGenSpanRenderer renderer) {
    ExtendedPrecision extended;
    RenderFloatEnvironment environment;
    adoptPendingTable(engine.wavetable);
    const bool buffers = scratchL && scratchR && outL && outR && scratchFrames > 0;
    if (frames < 0 || !buffers) frames = 0;
    clampEventFrames(engine, frames);

    // Every span parameter (cut-off, gain) is read per call, so spans split at
    // the scratch length give the samples of one span.
    auto renderVoices = [&](int32_t from, int32_t to) {
        while (to > from) {
            const int32_t count = std::min(to - from, scratchFrames);
            renderer(engine, scratchL, scratchR, outL + from, outR + from, count);
            from += count;
        }
    };
    int32_t done = 0;
    for (int32_t i = 0; i < engine.eventCount; ++i) {
        const FirstGenEvent& event = engine.events[i];
        renderVoices(done, event.frame);
        applyEvent(engine, event);
        done = event.frame;
    }
    renderVoices(done, frames);
    engine.eventCount = 0;
}
