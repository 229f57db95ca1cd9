#include "first_generation/engine/first_gen_voice.h"

#include <initializer_list>

namespace {

// Every state a voice carries from sample to sample.
bool stateFinite(const FirstGenVoice& voice) {
    // An infinity or NaN turns x * 0 into NaN; finite values add zeros.
    float probe = voice.ampEnv.level * 0.0f + voice.filterEnv.level * 0.0f;
    for (const LadderState* ladder : {&voice.left, &voice.right})
        probe += (ladder->x1 + ladder->y1 + ladder->y2 + ladder->y3 + ladder->y4) * 0.0f;
    for (const TableOscillator* osc : {&voice.oscL, &voice.oscR})
        probe += (osc->s1 + osc->s2 + osc->s3 + osc->s4) * 0.0f;
    return probe == probe;
}

void clearSmoothing(TableOscillator& osc) { osc.s1 = osc.s2 = osc.s3 = osc.s4 = 0.0f; }

// Increments from the note's frequency times the bend factor; the product of
// two floats is exact in long double, so a factor of 1 gives bit for bit the
// increments of the unbent note.
void applyPitch(FirstGenVoice& voice) {
    const long double bent = static_cast<long double>(voice.noteFrequency) * voice.bendFactor;
    const uint32_t increment = tableIncrement(voice.noteRate, bent);
    voice.oscL.increment = increment;
    voice.oscR.increment = increment;
}

}  // namespace

void FirstGenVoice::connect(Wavetable* table, const float* parameterArray) {
    constexpr float kConstructionValue = 0.5f;
    wavetable = table;
    params = parameterArray;
    ampEnv = LinearEnvelope();
    filterEnv = LinearEnvelope();
    ampEnv.setTimes(kDefaultRate, kConstructionValue, kConstructionValue, kConstructionValue, kConstructionValue);
}

void FirstGenVoice::paramChanged(int32_t index) {
    using namespace firstgen_param;
    const bool all = index == kAll;
    if (all || index == kWidth) {
        const float w = params[kWidth];
        oscL.startOffset = w * w * w * 0.5f;
    }
    if (all || (index >= kAttack && index <= kRelease)) {
        const float* a = params + kAttack;
        ampEnv.setTimes(sampleRate, a[0], a[1], a[2], a[3]);
    }
    if (all || (index >= kFilterAttack && index <= kFilterRelease)) {
        const float* f = params + kFilterAttack;
        filterEnv.setTimes(sampleRate, f[0], f[1], f[2], f[3]);
    }
}

void FirstGenVoice::start(int32_t startNote, float startVelocity, float frequency) {
    left = LadderState();
    right = LadderState();
    note = startNote;
    const float smooth = smoothingCoefficient(sampleRate);
    for (TableOscillator* osc : {&oscL, &oscR}) {
        osc->smooth = smooth;
        osc->position = startPosition(osc->startOffset);
        clearSmoothing(*osc);
    }
    noteFrequency = frequency;
    noteRate = sampleRate;
    applyPitch(*this);
    released = false;
    starting = false;
    sounding = true;
    velocity = startVelocity;
    for (LinearEnvelope* env : {&ampEnv, &filterEnv}) {
        env->state = LinearEnvelope::kAttack;
        env->level = 0.0f;
    }
}

void FirstGenVoice::release() {
    released = true;
    ampEnv.state = LinearEnvelope::kRelease;
    filterEnv.state = LinearEnvelope::kRelease;
}

void FirstGenVoice::bend(float factor) {
    bendFactor = factor;
    applyPitch(*this);
}

void FirstGenVoice::silenceIfNotFinite() {
    if (stateFinite(*this)) return;
    sounding = false;
    left = LadderState();
    right = LadderState();
    clearSmoothing(oscL);
    clearSmoothing(oscR);
    for (LinearEnvelope* env : {&ampEnv, &filterEnv}) {
        env->state = LinearEnvelope::kIdle;
        env->level = 0.0f;
    }
}
