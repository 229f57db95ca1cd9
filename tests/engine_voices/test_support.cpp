#include "tests/engine_voices/test_support.h"

#include <cmath>

#include "engine/parameter_index.h"
#include "tests/reference/render_reference.h"

namespace voices_test {

std::vector<float> padProgram() {
    std::vector<float> values(param::kCount, 0.0f);
    for (int32_t h = 0; h <= param::kLastHarmonic; ++h) values[h] = (h % 3 == 0) ? 1.0f : 0.5f;
    values[param::kBandwidth] = 0.3f;
    values[param::kStereoWidth] = 0.8f;
    values[param::kOctave] = 0.3f;
    values[param::kSubLevel] = 0.4f;
    const float filterEnvelope[4] = {0.05f, 0.3f, 0.4f, 0.2f};
    const float ampEnvelope[4] = {0.01f, 0.3f, 0.7f, 0.1f};
    for (int32_t i = 0; i < 4; ++i) {
        values[param::kFilterAttack + i] = filterEnvelope[i];
        values[param::kAttack + i] = ampEnvelope[i];
    }
    values[param::kFilterDepth] = 0.6f;
    values[param::kCutoff] = 0.35f;
    values[param::kFilterVelocity] = 0.5f;
    values[param::kVelocity] = 0.7f;
    values[param::kVolume] = 0.8f;
    return values;
}

std::unique_ptr<SynthEngine> makeEngine() {
    auto engine = std::make_unique<SynthEngine>();
    engine->setSampleRate(kHostRate);
    engine->loadAllParameters(padProgram().data());
    adoptPendingTable(engine->wavetable);
    return engine;
}

void copyTable(const SynthEngine& model, SynthEngine& engine) {
    adoptPendingTable(engine.wavetable);
    std::memcpy(engine.wavetable.current, model.wavetable.current, sizeof(float) * (Wavetable::kLength + 1));
}

void useTestTable(SynthEngine& engine) {
    adoptPendingTable(engine.wavetable);
    float* table = engine.wavetable.current;
    const double kTwoPi = 6.283185307179586;
    for (int32_t i = 0; i < Wavetable::kLength; ++i) {
        const double phase = kTwoPi * Wavetable::kCyclesPerTable * i / Wavetable::kLength;
        table[i] = static_cast<float>(0.4 * std::sin(phase) + 0.2 * std::sin(3 * phase + 1.0) +
                                      0.1 * std::sin(7 * phase + 2.0));
    }
    table[Wavetable::kLength] = table[0];
}

void applyQueue(SynthEngine& engine) { renderBlock(engine, nullptr, nullptr, nullptr, nullptr, 0); }

void BlockRun::render(SynthEngine& engine, int32_t count) {
    scratchL.assign(count, 0.0f);
    scratchR.assign(count, 0.0f);
    mixL.assign(count, 0.0f);
    mixR.assign(count, 0.0f);
    renderBlock(engine, scratchL.data(), scratchR.data(), mixL.data(), mixR.data(), count);
}

void BlockRun::renderReference(SynthEngine& engine, int32_t count) {
    scratchL.assign(count, 0.0f);
    scratchR.assign(count, 0.0f);
    mixL.assign(count, 0.0f);
    mixR.assign(count, 0.0f);
    reference::renderBlock(engine, scratchL.data(), scratchR.data(), mixL.data(), mixR.data(), count);
}

HostRun::HostRun(int32_t capacity) : scratchL(capacity), scratchR(capacity), mixL(capacity), mixR(capacity) {}

void HostRun::render(SynthEngine& engine, int32_t frames) {
    outL.assign(frames, 0.0f);
    outR.assign(frames, 0.0f);
    renderHostBlock(engine, filterL, filterR, buffers(), outL.data(), outR.data(), frames);
}

void HostRun::renderReference(SynthEngine& engine, int32_t frames) {
    outL.assign(frames, 0.0f);
    outR.assign(frames, 0.0f);
    reference::processReplacing(engine, filterL, filterR, buffers(), outL.data(), outR.data(), frames);
}

int64_t firstDifference(const std::vector<float>& a, const std::vector<float>& b) {
    if (a.size() != b.size()) return 0;
    for (size_t i = 0; i < a.size(); ++i) {
        if (!sameBits(a[i], b[i])) return static_cast<int64_t>(i);
    }
    return -1;
}

}  // namespace voices_test
