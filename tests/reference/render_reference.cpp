#include "tests/reference/render_reference.h"

#include "engine/one_pole_chain.h"
#include "engine/parameter_index.h"
#include "numerics/float_environment.h"

namespace reference {

void renderVoice(SynthVoice& voice, float* scratchL, float* scratchR, float* mixL, float* mixR, int32_t count) {
    if (!voice.sounding || count < 1 || voice.wavetable->current == nullptr) return;
    const float* p = voice.params;

    for (int32_t n = 0; n < count; ++n) {
        scratchL[n] = voice.osc[0].read(voice.wavetable->current);
        voice.osc[0].advance();
    }
    for (int32_t n = 0; n < count; ++n) {
        scratchR[n] = voice.osc[1].read(voice.wavetable->current);
        voice.osc[1].advance();
    }

    const float cutoffSquared = p[param::kCutoff] * p[param::kCutoff];
    for (int32_t n = 0; n < count; ++n) {
        voice.subPhase = static_cast<uint16_t>(voice.subPhase + voice.subIncrement);
        const float s = voice.subTable[voice.subPhase >> 4] * p[param::kSubLevel] * 0.5f;
        scratchL[n] = scratchL[n] + s + 1e-15f;
        scratchR[n] = s + scratchR[n] + 1e-15f;
        const float fe = voice.filterEnv.step();
        const float m = (p[param::kFilterDepth] * fe) * 0.8f;
        const float k = ((voice.velocity * m - m) * p[param::kFilterVelocity] + m) + cutoffSquared;
        scratchL[n] = onePoleChain(&voice.filterState[0], scratchL[n], k);
        scratchR[n] = onePoleChain(&voice.filterState[4], scratchR[n], k);
    }

    const float volume = p[param::kVolume];
    const float gain = (voice.velocity * volume - volume) * p[param::kVelocity] + volume;
    for (int32_t n = 0; n < count; ++n) {
        const float e = voice.ampEnv.step();
        const float c = e * gain;
        scratchL[n] = scratchL[n] * c;
        scratchR[n] = scratchR[n] * c;
    }

    for (int32_t n = 0; n < count; ++n) {
        mixL[n] += scratchL[n];
        mixR[n] += scratchR[n];
    }
    voice.sounding = voice.ampEnv.stage != Envelope::kIdle;
    if (!voiceStateFinite(voice)) silenceVoice(voice);
}

void renderVoices(SynthEngine& engine, const MixBuffers& buffers, int32_t offset, int32_t count) {
    for (SynthVoice& voice : engine.voices)
        renderVoice(voice, buffers.scratchL, buffers.scratchR, buffers.mixL + offset, buffers.mixR + offset, count);
}

void renderBlock(SynthEngine& engine, float* scratchL, float* scratchR, float* mixL, float* mixR, int32_t count) {
    renderBlockWith(engine, MixBuffers{scratchL, scratchR, mixL, mixR}, count, renderVoices);
}

void processReplacing(SynthEngine& engine, HalfBandFilter& filterL, HalfBandFilter& filterR,
                      const RenderBuffers& buffers, float* outL, float* outR, int32_t frames) {
    RenderFloatEnvironment environment;  // the plug-in's, for the output stage too
    const int32_t count = 2 * frames;
    for (int32_t i = 0; i < count; ++i) {
        buffers.mixL[i] = 0.0f;
        buffers.mixR[i] = 0.0f;
    }
    for (int32_t j = 0; j < frames; ++j) {
        outL[j] = 0.0f;
        outR[j] = 0.0f;
    }
    reference::renderBlock(engine, buffers.scratchL, buffers.scratchR, buffers.mixL, buffers.mixR, count);
    sanitizeMix(buffers.mixL, count);
    sanitizeMix(buffers.mixR, count);
    filterL.process(buffers.mixL, count);
    filterR.process(buffers.mixR, count);
    for (int32_t i = 0; i < count; ++i) {
        outL[i / 2] += buffers.mixL[i] * 0.5f;
        outR[i / 2] += buffers.mixR[i] * 0.5f;
    }
}

}  // namespace reference
