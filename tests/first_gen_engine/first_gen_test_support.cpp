#include "tests/first_gen_engine/first_gen_test_support.h"

#include <algorithm>
#include <cmath>

#include "tests/reference/first_gen_render_reference.h"

namespace firstgen_test {

std::vector<float> padProgram() {
    return {0.3f,  0.2f, 0.4f, 0.1f, 0.0f, 0.2f, 0.0f, 0.1f,  // groups
            0.5f,  0.6f,                                      // bandwidth, width
            0.05f, 0.3f, 0.5f, 0.3f,                          // filter envelope
            0.5f,  0.6f, 0.3f,                                // amount, cutoff, velocity
            0.02f, 0.3f, 0.7f, 0.2f,                          // amplitude envelope
            0.5f,  0.7f};                                     // velocity, volume
}

void useTestTable(FirstGenEngine& engine) {
    constexpr double kTwoPi = 6.283185307179586;
    float* t = engine.wavetable.current;
    for (int32_t i = 0; i < Wavetable::kLength; ++i) {
        const double phase = kTwoPi * Wavetable::kCyclesPerTable * i / Wavetable::kLength;
        t[i] = static_cast<float>(0.6 * std::sin(phase) + 0.1 * std::sin(2.0 * phase + 1.0));
    }
    t[Wavetable::kLength] = t[0];
}

void applyQueue(FirstGenEngine& engine) {
    float none[1] = {};
    engine.renderBlock(none, none, none, none, 0);
}

std::unique_ptr<FirstGenEngine> makeEngine(float rate) {
    auto engine = std::make_unique<FirstGenEngine>();
    const std::vector<float> program = padProgram();
    std::copy(program.begin(), program.end(), engine->params);
    engine->setSampleRate(rate);
    engine->paramChanged(FirstGenEngine::kAllParameters);
    applyQueue(*engine);
    useTestTable(*engine);
    return engine;
}

namespace {

void resize(BlockRun& run, int32_t frames) {
    for (std::vector<float>* v : {&run.scratchL, &run.scratchR, &run.outL, &run.outR}) v->assign(frames, 0.0f);
}

}  // namespace

void BlockRun::render(FirstGenEngine& engine, int32_t frames) {
    resize(*this, frames);
    engine.renderBlock(scratchL.data(), scratchR.data(), outL.data(), outR.data(), frames);
}

void BlockRun::renderReference(FirstGenEngine& engine, int32_t frames) {
    resize(*this, frames);
    reference::renderFirstGenBlock(engine, scratchL.data(), scratchR.data(), outL.data(), outR.data(), frames);
}

std::vector<float> renderChannel(FirstGenEngine& engine, int32_t total, bool left, int32_t block) {
    std::vector<float> out;
    BlockRun run;
    for (int32_t done = 0; done < total; done += block) {
        run.render(engine, std::min(block, total - done));
        const std::vector<float>& channel = left ? run.outL : run.outR;
        out.insert(out.end(), channel.begin(), channel.end());
    }
    return out;
}

double measurePitch(const std::vector<float>& signal, float rate) {
    double first = -1.0, last = -1.0;
    int32_t crossings = 0;
    for (size_t i = 1; i < signal.size(); ++i) {
        if (signal[i - 1] < 0.0f && signal[i] >= 0.0f) {
            const double at = static_cast<double>(i - 1) + signal[i - 1] / (signal[i - 1] - signal[i]);
            if (first < 0.0) first = at;
            last = at;
            ++crossings;
        }
    }
    if (crossings < 2) return 0.0;
    return (crossings - 1) / (last - first) * rate;
}

}  // namespace firstgen_test
