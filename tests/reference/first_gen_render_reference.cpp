#include "tests/reference/first_gen_render_reference.h"

#include <cmath>

namespace reference {

float firstGenNoteFrequency(int32_t note) {
    long double f = 8.175798915636872;
    for (int32_t n = 0; n < note; ++n) f = f * 1.059463094359;
    return static_cast<float>(f);
}

uint32_t firstGenIncrement(float sampleRate, float frequency) {
    const long double x = 256.0L / ((2.0L * sampleRate) / (2.0L * frequency)) * 65535.0L;
    return static_cast<uint32_t>(std::trunc(x));
}

float firstGenInterpolate(float here, float next, uint32_t position) {
    const float fraction = static_cast<float>(position & 0xFFFF) * 1.5259022e-5f;
    const long double t0 = here;
    const long double t1 = next;
    return static_cast<float>(t0 + (t1 - t0) * static_cast<long double>(fraction));
}

namespace {

void readChannel(TableOscillator& osc, const float* t, float* out, int32_t count) {
    for (int32_t n = 0; n < count; ++n) {
        float sum = 0.0f;
        for (int32_t sub = 0; sub < 2; ++sub) {
            const uint32_t i = osc.position >> 16;
            const float v = firstGenInterpolate(t[i], t[i + 1], osc.position);
            osc.s1 = osc.s1 + (v - osc.s1) * osc.smooth;
            osc.s2 = osc.s2 + (osc.s1 - osc.s2) * osc.smooth;
            osc.s3 = osc.s3 + (osc.s2 - osc.s3) * osc.smooth;
            osc.s4 = osc.s4 + (osc.s3 - osc.s4) * osc.smooth;
            sum = sum + osc.s4;
            osc.position = osc.position + osc.increment;
        }
        out[n] = sum;
    }
}

float ladder(LadderState& s, float input, float r, float f, float k) {
    const float x = input - r * s.y4;
    const float y1 = (x + s.x1) * f - k * s.y1;
    const float y2 = (s.y1 + y1) * f - k * s.y2;
    const float y3 = (s.y2 + y2) * f - k * s.y3;
    const float y4 = (s.y3 + y3) * f - k * s.y4;
    s.x1 = x;
    s.y1 = y1;
    s.y2 = y2;
    s.y3 = y3;
    s.y4 = y4;
    return y4;
}

}  // namespace

void renderFirstGenVoice(FirstGenVoice& voice, float* scratchL, float* scratchR, float* outL, float* outR,
                         int32_t count) {
    if (!voice.sounding || count < 1) return;
    const float* t = voice.wavetable->current;
    const float* p = voice.params;
    readChannel(voice.oscL, t, scratchL, count);
    readChannel(voice.oscR, t, scratchR, count);

    const float cut = p[15] * p[15];
    for (int32_t i = 0; i < count; ++i) {
        const float e = voice.filterEnv.tick();
        const float c1 = p[14] * e * 0.5f;
        float c = (voice.velocity * c1 - c1) * p[16] + c1 + cut;
        c = (std::fabs(c + 1.0f) - std::fabs(c - 1.0f)) * 0.5f;
        const float d = 1.0f - c;
        const float f = (d * 0.8f + 1.0f) * c;
        const float k = f * 2.0f - 1.0f;
        const float r = ((d * d * 5.6f + (1.0f - d)) * d * 0.5f + 1.0f) * 0.089f;
        voice.ladder.r = r;
        voice.ladder.f = f;
        voice.ladder.k = k;
        scratchL[i] = ladder(voice.left, scratchL[i], r, f, k);
        scratchR[i] = ladder(voice.right, scratchR[i], r, f, k);
    }

    const float gain = (voice.velocity * p[22] - p[22]) * p[21] + p[22];
    for (int32_t i = 0; i < count; ++i) {
        const float g = voice.ampEnv.tick() * gain;
        scratchL[i] *= g;
        scratchR[i] *= g;
    }
    for (int32_t i = 0; i < count; ++i) {
        outL[i] += scratchL[i];
        outR[i] += scratchR[i];
    }
    voice.sounding = voice.ampEnv.state != LinearEnvelope::kIdle;
    voice.silenceIfNotFinite();
}

void renderFirstGenVoices(FirstGenEngine& engine, float* scratchL, float* scratchR, float* outL, float* outR,
                          int32_t count) {
    for (FirstGenVoice& voice : engine.voices) renderFirstGenVoice(voice, scratchL, scratchR, outL, outR, count);
}

void renderFirstGenBlock(FirstGenEngine& engine, float* scratchL, float* scratchR, float* outL, float* outR,
                         int32_t frames) {
    ::renderFirstGenBlock(engine, scratchL, scratchR, frames, outL, outR, frames, renderFirstGenVoices);
}

}  // namespace reference
