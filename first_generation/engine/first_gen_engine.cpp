#include "first_generation/engine/first_gen_engine.h"

#include <algorithm>

#include "engine/float_environment.h"
#include "first_generation/engine/fast_exp2.h"
#include "first_generation/engine/first_gen_generator.h"
#include "numerics/extended_precision.h"

FirstGenEngine::FirstGenEngine(int32_t requestedParamCount) {
    constexpr float kInitialValue = 0.1f;
    constexpr float kFirstBandwidth = 0.5f;
    paramCount = std::max(requestedParamCount, kParamCount);
    params = new float[paramCount];
    std::fill(params, params + paramCount, kInitialValue);
    // A first table, harmonic 1 alone, adopted at once so that the voices
    // never read an empty record.
    const float silentGroups[kFirstGenGroupCount] = {};
    generateWavetable(silentGroups, kFirstBandwidth);
    adoptPendingTable(wavetable);
    for (int32_t v = 0; v < kVoiceCount; ++v) {
        voices[v].connect(&wavetable, params);
        voiceOrder[v] = v;
    }
    reserveVoice = 0;
    eventCount = 0;
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

void FirstGenEngine::noteOn(int32_t note, float frequency, float velocity, int32_t frame) {
    if (eventCount >= kQueueCapacity) return;
    int32_t next = -1;
    for (int32_t v : voiceOrder) {
        if (v != reserveVoice && !voices[v].sounding && !voices[v].starting) {
            next = v;
            break;
        }
    }
    if (next < 0) {
        for (int32_t v : voiceOrder) {
            if (v != reserveVoice && voices[v].released) {
                next = v;
                break;
            }
        }
    }
    if (next < 0) next = voiceOrder[0];

    FirstGenEvent start;
    start.kind = FirstGenEvent::kNoteStart;
    start.frequency = frequency;
    start.note = note;
    start.value = velocity;
    start.frame = frame;
    start.voice = reserveVoice;
    appendEvent(start);
    voices[reserveVoice].starting = true;

    reserveVoice = next;
    voices[next].released = true;
    voices[next].ampEnv.state = LinearEnvelope::kStealFade;
    int32_t* position = std::find(voiceOrder, voiceOrder + kVoiceCount, next);
    std::rotate(position, position + 1, voiceOrder + kVoiceCount);
}

void FirstGenEngine::noteOff(int32_t note, int32_t frame) {
    FirstGenEvent release;
    release.kind = FirstGenEvent::kNoteRelease;
    release.frame = frame;
    for (int32_t v = 0; v < kVoiceCount; ++v) {
        if (voices[v].note != note) continue;
        release.voice = v;
        if (!appendEvent(release)) voices[v].release();
    }
    // Only the starts queued before this release: releases appended above and
    // below are not starts, so the walk may run to the queue's current end.
    for (int32_t i = 0; i < eventCount; ++i) {
        FirstGenEvent& queued = events[i];
        if (queued.kind != FirstGenEvent::kNoteStart || queued.note != note) continue;
        release.voice = queued.voice;
        if (appendEvent(release)) continue;
        queued.kind = FirstGenEvent::kWithdrawn;
        bool anotherStart = false;
        for (int32_t j = 0; j < eventCount; ++j)
            anotherStart |= events[j].kind == FirstGenEvent::kNoteStart && events[j].voice == queued.voice;
        if (!anotherStart && queued.voice >= 0 && queued.voice < kVoiceCount) voices[queued.voice].starting = false;
    }
}

void FirstGenEngine::pitchBend(float bend, int32_t frame) {
    FirstGenEvent entry;
    entry.kind = FirstGenEvent::kPitchBend;
    entry.value = bend;
    entry.frame = frame;
    if (appendEvent(entry)) return;
    for (int32_t i = eventCount - 1; i >= 0; --i) {
        if (events[i].kind == FirstGenEvent::kPitchBend) {
            events[i].value = bend;
            return;
        }
    }
}

void FirstGenEngine::cutAllVoices() {
    for (FirstGenVoice& voice : voices) voice.sounding = false;
}

void FirstGenEngine::renderBlock(float* scratchL, float* scratchR, float* outL, float* outR, int32_t frames) {
    renderFirstGenBlock(*this, scratchL, scratchR, outL, outR, frames, renderFirstGenLanes);
}

namespace {

// Queue entries in arrival order, never outside the block: frames below an
// earlier entry's are applied with it, frames beyond the block at its end.
void clampEventFrames(FirstGenEngine& engine, int32_t frames) {
    if (engine.eventCount < 0) engine.eventCount = 0;
    if (engine.eventCount > FirstGenEngine::kQueueCapacity) engine.eventCount = FirstGenEngine::kQueueCapacity;
    int32_t earliest = 0;
    for (int32_t i = 0; i < engine.eventCount; ++i) {
        int32_t frame = engine.events[i].frame;
        if (frame < earliest) frame = earliest;
        if (frame > frames) frame = frames;
        engine.events[i].frame = frame;
        earliest = frame;
    }
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

void renderFirstGenBlock(FirstGenEngine& engine, float* scratchL, float* scratchR, float* outL, float* outR,
                         int32_t frames, FirstGenSpanRenderer renderer) {
    ExtendedPrecision extended;
    DefaultFloatEnvironment environment;
    adoptPendingTable(engine.wavetable);
    const bool buffers = scratchL && scratchR && outL && outR;
    if (frames < 0 || !buffers) frames = 0;
    clampEventFrames(engine, frames);

    auto renderVoices = [&](int32_t from, int32_t to) {
        if (to > from) renderer(engine, scratchL, scratchR, outL + from, outR + from, to - from);
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
