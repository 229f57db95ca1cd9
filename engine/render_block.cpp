#include "engine/render_block.h"

#include "numerics/float_environment.h"

void clampEventFrames(SynthEngine& engine, int64_t limit) {
    if (engine.eventCount > SynthEngine::kQueueCapacity) engine.eventCount = SynthEngine::kQueueCapacity;
    int64_t earliest = 0;
    for (int32_t i = 0; i < engine.eventCount; ++i) {
        int64_t frame = engine.events[i].frame;
        if (frame < earliest) frame = earliest;
        if (frame > limit) frame = limit;
        engine.events[i].frame = static_cast<int32_t>(frame);
        earliest = frame;
    }
}

void applyEvent(SynthEngine& engine, const EngineEvent& event) {
    const bool hasVoice = event.voice >= 0 && event.voice < SynthEngine::kVoiceCount;
    switch (event.kind) {
        case EngineEvent::kNoteStart:
            if (hasVoice) startVoice(engine.voices[event.voice], event.note, event.value);
            break;
        case EngineEvent::kNoteRelease:
            if (hasVoice) releaseVoice(engine.voices[event.voice]);
            break;
        case EngineEvent::kPitchBend: {
            const float factor = bendFactorFor(event.value);
            for (SynthVoice& voice : engine.voices) bendVoice(voice, factor);
            break;
        }
        default: break;
    }
}

void renderQueuedPiece(SynthEngine& engine, const MixBuffers& buffers, int32_t count, bool lastPiece,
                       VoiceSpanRenderer renderer) {
    adoptPendingTable(engine.wavetable);
    if (engine.eventCount < 0) engine.eventCount = 0;
    int32_t done = 0;
    int32_t applied = 0;
    while (applied < engine.eventCount) {
        const EngineEvent& event = engine.events[applied];
        if (!lastPiece && event.frame >= count) break;
        const int32_t frame = event.frame < count ? event.frame : count;
        if (frame > done) renderer(engine, buffers, done, frame - done);
        applyEvent(engine, event);
        if (frame > done) done = frame;
        ++applied;
    }
    if (count > done) renderer(engine, buffers, done, count - done);

    const int32_t remaining = engine.eventCount - applied;
    for (int32_t i = 0; i < remaining; ++i) {
        engine.events[i] = engine.events[applied + i];
        engine.events[i].frame -= count;
    }
    engine.eventCount = remaining;
}

void renderBlockWith(SynthEngine& engine, const MixBuffers& buffers, int32_t count, VoiceSpanRenderer renderer) {
    RenderFloatEnvironment environment;
    if (count < 0) count = 0;
    clampEventFrames(engine, count);
    renderQueuedPiece(engine, buffers, count, true, renderer);
}

void renderBlock(SynthEngine& engine, float* scratchL, float* scratchR, float* mixL, float* mixR, int32_t count) {
    renderBlockWith(engine, MixBuffers{scratchL, scratchR, mixL, mixR}, count, renderVoicesInLanes);
}
