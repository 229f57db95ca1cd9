#include "engine/synth_engine.h"

#include <algorithm>

#include "numerics/shared_float.h"

#include "numerics/shared_float.h"

SynthEngine::SynthEngine(int32_t requestedParamCount) {
    constexpr float kInitialValue = 0.1f;
    paramCount = std::max(requestedParamCount, param::kCount);
    // The table first: when its generation throws (no memory), the members
    // clean up after themselves and no array of ours is left behind.
    createWavetable(wavetable);
    params = new float[paramCount];
    std::fill(params, params + paramCount, kInitialValue);
    ++tablesGenerated;
    reserveVoice = 0;
    eventCount = 0;
    fillSubTable(subTable);
    fillPitchTable(pitchTable);
    for (int32_t v = 0; v < kVoiceCount; ++v) {
        connectVoice(voices[v], &wavetable, params, noteFrequencies, subTable);
        voiceOrder[v] = v;
    }
    voiceKernel = preferredLaneKernel();
}

SynthEngine::~SynthEngine() { delete[] params; }

void SynthEngine::generateTable() {
    generateWavetable(params, wavetable);
    ++tablesGenerated;
}

void SynthEngine::paramChanged(int32_t index) {
    for (SynthVoice& voice : voices) voiceParamChanged(voice, index);
    if ((index >= 0 && index <= param::kBandwidth) || index == param::kAll) generateTable();
}

void SynthEngine::loadAllParameters(const float* values) {
    if (values == nullptr) return;
    for (int32_t i = 0; i < paramCount; ++i) storeShared(params[i], values[i]);
    for (SynthVoice& voice : voices) voiceParamChanged(voice, param::kAll);
    generateTable();
}

void SynthEngine::setSampleRate(float hostRate) {
    for (SynthVoice& voice : voices) {
        voice.rate = 2.0f * hostRate;
        voiceParamChanged(voice, param::kAll);
    }
}

bool SynthEngine::appendEvent(const EngineEvent& event) {
    if (eventCount < 0) eventCount = 0;
    if (eventCount >= kQueueCapacity) return false;
    events[eventCount++] = event;
    return true;
}

void SynthEngine::noteOn(int32_t key, float velocity, int32_t frame) {
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

    EngineEvent start;
    start.kind = EngineEvent::kNoteStart;
    start.note = key;
    start.value = velocity;
    start.frame = frame;
    start.voice = reserveVoice;
    appendEvent(start);
    voices[reserveVoice].starting = true;

    reserveVoice = next;
    voices[next].released = true;
    voices[next].ampEnv.stage = Envelope::kQuickFade;
    int32_t* position = std::find(voiceOrder, voiceOrder + kVoiceCount, next);
    std::rotate(position, position + 1, voiceOrder + kVoiceCount);
}

void SynthEngine::noteOff(int32_t key, int32_t frame) {
    EngineEvent release;
    release.kind = EngineEvent::kNoteRelease;
    release.frame = frame;
    for (int32_t v = 0; v < kVoiceCount; ++v) {
        SynthVoice& voice = voices[v];
        if (!voice.sounding || voice.note != key || voice.released) continue;
        release.voice = v;
        if (!appendEvent(release)) releaseVoice(voice);
    }
    // Releases appended here are visited too; they are not note starts, so the
    // walk ends at the queue's end.
    for (int32_t i = 0; i < eventCount; ++i) {
        EngineEvent& queued = events[i];
        if (queued.kind != EngineEvent::kNoteStart || queued.note != key) continue;
        release.voice = queued.voice;
        if (appendEvent(release)) continue;
        queued.kind = EngineEvent::kWithdrawn;
        bool anotherStart = false;
        for (int32_t j = 0; j < eventCount; ++j) {
            anotherStart =
                anotherStart || (events[j].kind == EngineEvent::kNoteStart && events[j].voice == queued.voice);
        }
        if (!anotherStart && queued.voice >= 0 && queued.voice < kVoiceCount) voices[queued.voice].starting = false;
    }
}

void SynthEngine::queuePitchBend(float value, int32_t frame) {
    EngineEvent bend;
    bend.kind = EngineEvent::kPitchBend;
    bend.value = value;
    bend.frame = frame;
    if (appendEvent(bend)) return;
    for (int32_t i = eventCount - 1; i >= 0; --i) {
        if (events[i].kind == EngineEvent::kPitchBend) {
            events[i].value = value;
            return;
        }
    }
}

void SynthEngine::allNotesOff() {
    for (SynthVoice& voice : voices) voice.sounding = false;
}
