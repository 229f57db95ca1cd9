// Render cost of the pad engine: 16 held voices plus the output stage at
// 44.1 kHz (88.2 kHz inside), host blocks of 512 frames. The fused lane render
// of every kernel against the four-pass reference, in one run.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "engine/output_stage.h"
#include "engine/parameter_index.h"
#include "tests/reference/render_reference.h"

namespace {

constexpr float kHostRate = 44100.0f;
constexpr int32_t kFrames = 512;
constexpr int32_t kVoices = 16;

struct Rig {
    std::unique_ptr<SynthEngine> engine = std::make_unique<SynthEngine>();
    std::vector<float> scratchL = std::vector<float>(2 * kFrames), scratchR = scratchL, mixL = scratchL,
                       mixR = scratchL;
    std::vector<float> outL = std::vector<float>(kFrames), outR = outL;
    HalfBandFilter filterL, filterR;

    RenderBuffers buffers() {
        return RenderBuffers{scratchL.data(), scratchR.data(), mixL.data(), mixR.data(), 2 * kFrames};
    }

    // A held pad chord over four octaves: every voice in its sustain.
    Rig() {
        std::vector<float> values(param::kCount, 0.5f);
        values[param::kOctave] = 0.3f;
        values[param::kAttack] = 0.01f;
        values[param::kFilterAttack] = 0.01f;
        engine->setSampleRate(kHostRate);
        engine->loadAllParameters(values.data());
        for (int32_t n = 0; n < kVoices; ++n) engine->noteOn(36 + 3 * n, 0.8f, 2 * n);
        for (int32_t block = 0; block < 100; ++block) renderFast();
    }

    void renderFast() { renderHostBlock(*engine, filterL, filterR, buffers(), outL.data(), outR.data(), kFrames); }
    void renderReference() {
        reference::processReplacing(*engine, filterL, filterR, buffers(), outL.data(), outR.data(), kFrames);
    }
};

void report(benchmark::State& state) {
    const double frames = static_cast<double>(state.iterations()) * kFrames;
    // Seconds per voice and output sample, and the share of one core that
    // real-time playback at 44.1 kHz takes (shown as a rate: 1 = 100 %).
    state.counters["per_voice_sample"] =
        benchmark::Counter(frames * kVoices, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["core_share"] =
        benchmark::Counter(frames / kHostRate, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void fastRender(benchmark::State& state, int32_t kernelIndex) {
    Rig rig;
    int32_t count = 0;
    const LaneKernelInfo* kernels = availableLaneKernels(&count);
    if (kernelIndex >= count) {
        state.SkipWithError("kernel not supported on this CPU");
        return;
    }
    rig.engine->voiceKernel = &kernels[kernelIndex];
    for (auto _ : state) {
        rig.renderFast();
        benchmark::DoNotOptimize(rig.outL.data());
    }
    state.SetLabel(kernels[kernelIndex].name);
    report(state);
}

void referenceRender(benchmark::State& state) {
    Rig rig;
    for (auto _ : state) {
        rig.renderReference();
        benchmark::DoNotOptimize(rig.outL.data());
    }
    report(state);
}

}  // namespace

BENCHMARK_CAPTURE(fastRender, sse2, 0)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(fastRender, avx2, 1)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(fastRender, avx512, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK(referenceRender)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
