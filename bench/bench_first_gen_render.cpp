// Render cost of the first-generation engine: 16 sounding voices at 44.1 kHz,
// blocks of 512 frames. The shipped render against the plain reference, in
// one run.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "tests/reference/first_gen_render_reference.h"

namespace {

constexpr float kRate = 44100.0f;
constexpr int32_t kFrames = 512;
constexpr int32_t kVoices = 16;

struct Rig {
    std::unique_ptr<FirstGenEngine> engine = std::make_unique<FirstGenEngine>();
    std::vector<float> scratchL = std::vector<float>(kFrames), scratchR = scratchL, outL = scratchL, outR = scratchL;

    // A held chord over four octaves, long attacks and releases so that every
    // voice keeps sounding; note-ons between blocks keep all sixteen busy.
    Rig() {
        const float values[FirstGenEngine::kParamCount] = {0.5f, 0.4f,  0.3f,  0.2f, 0.1f, 0.1f, 0.1f, 0.1f,
                                                           0.5f, 0.6f,  0.05f, 0.3f, 0.5f, 0.3f, 0.5f, 0.6f,
                                                           0.3f, 0.01f, 0.3f,  0.7f, 1.0f, 0.5f, 0.7f};
        std::copy(values, values + FirstGenEngine::kParamCount, engine->params);
        engine->setSampleRate(kRate);
        engine->paramChanged(FirstGenEngine::kAllParameters);
        for (int32_t n = 0; n < kVoices; ++n) engine->noteOn(24 + 3 * n, firstGenNoteFrequencies[24 + 3 * n], 0.8f, n);
        for (int32_t block = 0; block < 20; ++block) render();
    }

    int32_t sounding() const {
        int32_t count = 0;
        for (const FirstGenVoice& voice : engine->voices) count += voice.sounding;
        return count;
    }
    void clear() {
        std::fill(outL.begin(), outL.end(), 0.0f);
        std::fill(outR.begin(), outR.end(), 0.0f);
    }
    void render() {
        clear();
        engine->renderBlock(scratchL.data(), scratchR.data(), outL.data(), outR.data(), kFrames);
    }
    void renderReference() {
        clear();
        reference::renderFirstGenBlock(*engine, scratchL.data(), scratchR.data(), outL.data(), outR.data(), kFrames);
    }
};

void report(benchmark::State& state, int32_t voices) {
    const double frames = static_cast<double>(state.iterations()) * kFrames;
    // Seconds per voice and output sample, and the share of one core that
    // real-time playback at 44.1 kHz takes (shown as a rate: 1 = 100 %).
    state.counters["per_voice_sample"] =
        benchmark::Counter(frames * voices, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["core_share"] =
        benchmark::Counter(frames / kRate, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["voices"] = voices;
}

void shippedRender(benchmark::State& state, int32_t kernelIndex) {
    int32_t count = 0;
    const FirstGenLaneKernelInfo* kernels = firstGenLaneKernels(&count);
    if (kernelIndex >= count) {
        state.SkipWithError("kernel not supported on this CPU");
        return;
    }
    Rig rig;
    rig.engine->laneKernel = kernelIndex;
    for (auto _ : state) {
        rig.render();
        benchmark::DoNotOptimize(rig.outL.data());
    }
    state.SetLabel(kernels[kernelIndex].name);
    report(state, rig.sounding());
}

void referenceRender(benchmark::State& state) {
    Rig rig;
    for (auto _ : state) {
        rig.renderReference();
        benchmark::DoNotOptimize(rig.outL.data());
    }
    report(state, rig.sounding());
}

}  // namespace

BENCHMARK_CAPTURE(shippedRender, sse2, 0)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(shippedRender, avx2, 1)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(shippedRender, avx512, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK(referenceRender)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
