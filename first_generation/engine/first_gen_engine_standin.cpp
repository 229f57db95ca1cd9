// Throw-away stand-in for FirstGenEngine so the plug-in can be built and
// played before the real engine lands: one sine per voice at twice the given
// frequency (the real readers sound an octave above it), the left channel
// shifted by width^3 x a quarter cycle, a short linear release. Delete when
// the real engine is merged.
#include <cmath>

#include "first_generation/engine/first_gen_engine.h"

namespace {
constexpr double kPi = 3.14159265358979323846;
struct StandInVoice {
    bool active = false;
    int32_t note = -1;
    double phase = 0, step = 0, level = 0, release = 0;
    float velocity = 0;
};
struct StandInEvent {
    int kind;  // 0 on, 1 off, 2 bend
    int32_t note;
    float value, frequency;
    int32_t frame;
};
struct StandInState {
    StandInVoice voices[FirstGenEngine::kVoiceCount];
    StandInEvent queue[FirstGenEngine::kQueueCapacity];
    int count = 0;
    double rate = 44100.0;
    double bend = 1.0;
    float baseFrequency[FirstGenEngine::kVoiceCount] = {};
};
StandInState states[64];
int nextState = 0;

float table[128];
const float* fill() {
    long double f = 8.175798915636872;
    for (int n = 0; n < 128; ++n) {
        table[n] = float(f);
        f = f * 1.059463094359L;
    }
    return table;
}
}  // namespace

const float* const firstGenNoteFrequencies = fill();

static StandInState& stateOf(const FirstGenEngine* e) {
    return states[reinterpret_cast<uintptr_t>(e->wavetable.current)];
}

FirstGenEngine::FirstGenEngine(int32_t count) : paramCount(count) {
    params = new float[count]();
    wavetable.current = reinterpret_cast<float*>(uintptr_t(nextState++ % 64));
    stateOf(this) = StandInState{};
}
FirstGenEngine::~FirstGenEngine() {
    wavetable.current = nullptr;
    delete[] params;
}
void FirstGenEngine::generateWavetable(const float*, float) {}
void FirstGenEngine::paramChanged(int32_t) {}
void FirstGenEngine::setSampleRate(float rate) {
    if (rate > 0 && rate < 1e7f) stateOf(this).rate = rate;
}
static void push(StandInState& s, const StandInEvent& e) {
    if (s.count < FirstGenEngine::kQueueCapacity) s.queue[s.count++] = e;
}
void FirstGenEngine::noteOn(int32_t note, float frequency, float velocity, int32_t frame) {
    push(stateOf(this), {0, note, velocity, frequency, frame});
}
void FirstGenEngine::noteOff(int32_t note, int32_t frame) { push(stateOf(this), {1, note, 0, 0, frame}); }
void FirstGenEngine::pitchBend(float bend, int32_t frame) { push(stateOf(this), {2, 0, bend, 0, frame}); }
void FirstGenEngine::cutAllVoices() {
    for (StandInVoice& v : stateOf(this).voices) v = StandInVoice{};
}
void FirstGenEngine::renderBlock(float*, float*, float* outL, float* outR, int32_t frames) {
    StandInState& s = stateOf(this);
    const float w = paramCount > 9 ? params[9] : 0;
    const double shift = (std::isfinite(w) ? double(w) * w * w : 0) * 0.25 * 2 * kPi;
    const float volume = paramCount > 22 ? params[22] : 1;
    int next = 0;
    for (int32_t i = 0; i < frames; ++i) {
        for (; next < s.count && (s.queue[next].frame <= i || i == frames - 1); ++next) {
            const StandInEvent& e = s.queue[next];
            if (e.kind == 2) {
                s.bend = std::isfinite(e.value) ? std::exp2(double(e.value)) : 1.0;
                for (int v = 0; v < kVoiceCount; ++v)
                    s.voices[v].step = 2 * kPi * 2 * s.baseFrequency[v] * s.bend / s.rate;
                continue;
            }
            for (int v = 0; v < kVoiceCount; ++v) {
                StandInVoice& voice = s.voices[v];
                if (e.kind == 0 && !voice.active) {
                    voice = StandInVoice{true, e.note, 0, 2 * kPi * 2 * e.frequency * s.bend / s.rate, 1, 0, e.value};
                    s.baseFrequency[v] = e.frequency;
                    break;
                }
                if (e.kind == 1 && voice.active && voice.note == e.note) voice.release = 1.0 / 2000;
            }
        }
        double l = 0, r = 0;
        for (StandInVoice& v : s.voices) {
            if (!v.active) continue;
            l += std::sin(v.phase + shift) * v.level * v.velocity;
            r += std::sin(v.phase) * v.level * v.velocity;
            v.phase = std::fmod(v.phase + v.step, 2 * kPi);
            v.level -= v.release;
            if (v.level <= 0) v = StandInVoice{};
        }
        outL[i] += float(l * 0.2 * volume);
        outR[i] += float(r * 0.2 * volume);
    }
    s.count = 0;
}
