#include "engine/synth_voice.h"

#include <cmath>

#include "engine/parameter_index.h"
#include "engine/safe_convert.h"
#include "numerics/shared_float.h"

namespace {

// Increments for the note's frequency scaled by the bend factor. With a factor
// of exactly 1 the product is the frequency itself, so an unbent voice gets
// bit for bit the increments of the plain note start. Table reader: table
// cycles per sample x 65535 in double, truncated, low 32 bits. Sub-oscillator:
// 32767 / (rate / f) in float, truncated and wrapped to 16 bits; the wrap is
// what the 16-bit phase does with any step anyway, so notes above the
// oversampled rate (only reachable with "OCT" near 1) alias instead of
// reaching an undefined conversion.
void applyPitch(SynthVoice& voice) {
    constexpr float kSubPhaseHalfRange = 32767.0f;
    const float bent = voice.noteFrequency * voice.bendFactor;
    const double cyclesPerTable = voice.wavetable ? voice.wavetable->cyclesPerTable : Wavetable::kCyclesPerTable;
    const double cyclesPerSample =
        cyclesPerTable / ((1.0 / static_cast<double>(bent)) * static_cast<double>(voice.noteRate));
    const int32_t increment = static_cast<int32_t>(truncateWrapped32(cyclesPerSample * TableReader::kFixedPointOne));
    voice.osc[0].increment = increment;
    voice.osc[1].increment = increment;
    const float subStep = kSubPhaseHalfRange / (voice.noteRate / bent);
    voice.subIncrement = static_cast<int16_t>(static_cast<uint16_t>(truncateWrapped32(subStep)));
}

}  // namespace

void connectVoice(SynthVoice& voice, Wavetable* wavetable, const float* params, const float* noteFrequencies,
                  const float* subTable) {
    constexpr float kConstructionRate = 44100.0f;
    constexpr float kConstructionValue = 0.5f;
    voice.wavetable = wavetable;
    voice.params = params;
    voice.noteFrequencies = noteFrequencies;
    voice.subTable = subTable;
    voice.bendFactor = 1.0f;
    voice.sounding = false;
    voice.released = false;
    voice.starting = false;
    voice.ampEnv = Envelope();
    voice.filterEnv = Envelope();
    setEnvelopeTimes(voice.ampEnv, kConstructionRate, kConstructionValue, kConstructionValue, kConstructionValue,
                     kConstructionValue);
    voice.osc[0].startOffset = 0.0f;
    voice.osc[1].startOffset = 0.0f;
}

void voiceParamChanged(SynthVoice& voice, int32_t index) {
    const float* p = voice.params;
    const bool all = index == param::kAll;
    if (all || index == param::kStereoWidth) {
        const float width = p[param::kStereoWidth];
        voice.osc[0].startOffset = width * width * width * 0.5f;
    }
    if (all || (index >= param::kFilterAttack && index <= param::kFilterRelease)) {
        const float* f = p + param::kFilterAttack;
        setEnvelopeTimes(voice.filterEnv, voice.rate, f[0], f[1], f[2], f[3]);
    }
    if (all || (index >= param::kAttack && index <= param::kRelease)) {
        const float* a = p + param::kAttack;
        setEnvelopeTimes(voice.ampEnv, voice.rate, a[0], a[1], a[2], a[3]);
    }
}

int32_t pitchIndex(int32_t key, float octave) {
    constexpr int32_t kLowest = -12;
    constexpr int32_t kHighest = 163;
    constexpr int32_t kShiftLimit = 64;  // far beyond any shift that stays inside the table
    const int32_t octaves = truncateClamped(octave * -4.0f, -kShiftLimit, kShiftLimit);
    int64_t index = static_cast<int64_t>(key) - 12 * static_cast<int64_t>(octaves) - 12;
    if (index < kLowest) index = kLowest;
    if (index > kHighest) index = kHighest;
    return static_cast<int32_t>(index);
}

void startVoice(SynthVoice& voice, int32_t key, float velocity) {
    voice.note = key;
    for (float& state : voice.filterState) state = 0.0f;
    const int32_t index = pitchIndex(key, loadShared(voice.params[param::kOctave]));
    voice.noteFrequency = voice.noteFrequencies[index];
    voice.noteRate = voice.rate;
    voice.subPhase = 0;
    const double length = voice.wavetable ? voice.wavetable->length : Wavetable::kLength;
    for (TableReader& reader : voice.osc) {
        const double start = length * static_cast<double>(reader.startOffset) * 0.5 * TableReader::kFixedPointOne;
        reader.position = truncateWrapped32(start);
    }
    applyPitch(voice);
    voice.velocity = velocity;
    voice.sounding = true;
    voice.released = false;
    voice.starting = false;
    voice.ampEnv.stage = Envelope::kAttack;
    voice.ampEnv.level = 0.0f;
    voice.filterEnv.stage = Envelope::kAttack;
    voice.filterEnv.level = 0.0f;
}

void releaseVoice(SynthVoice& voice) {
    voice.released = true;
    voice.ampEnv.stage = Envelope::kRelease;
    voice.filterEnv.stage = Envelope::kRelease;
}

float bendFactorFor(float value) {
    if (value != value) return 1.0f;
    if (value < -1.0f) value = -1.0f;
    if (value > 1.0f) value = 1.0f;
    return static_cast<float>(std::exp2(static_cast<double>(value)));
}

void bendVoice(SynthVoice& voice, float bendFactor) {
    voice.bendFactor = bendFactor;
    if (voice.noteFrequency > 0.0f) applyPitch(voice);  // a voice that never played has nothing to rescale
}

bool voiceStateFinite(const SynthVoice& voice) {
    // Any infinity or NaN turns the sum of x * 0 into NaN; finite values add zeros.
    float probe = voice.ampEnv.level * 0.0f + voice.filterEnv.level * 0.0f;
    for (float state : voice.filterState) probe += state * 0.0f;
    return probe == probe;
}

void silenceVoice(SynthVoice& voice) {
    voice.sounding = false;
    for (float& state : voice.filterState) state = 0.0f;
    voice.ampEnv.stage = Envelope::kIdle;
    voice.ampEnv.level = 0.0f;
    voice.filterEnv.stage = Envelope::kIdle;
    voice.filterEnv.level = 0.0f;
}
