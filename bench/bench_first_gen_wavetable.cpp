// First-generation table generation against the one inverse FFT it cannot
// avoid (the target is a whole generation within 1.5 times that transform)
// and against the plain long double reference, measured in the same run.

#include <benchmark/benchmark.h>

#include <array>
#include <vector>

#include "bench/generation_bench.h"
#include "engine/phase_generator.h"
#include "numerics/simd_level.h"
#include "engine/wavetable.h"
#include "first_generation/engine/first_gen_bands.h"
#include "first_generation/engine/first_gen_generator.h"
#include "first_generation/engine/first_gen_phases.h"
#include "tests/reference/first_gen_wavetable_reference.h"

namespace {

// "Big Chord"'s groups; the bandwidth comes from the benchmark's argument.
std::array<float, kFirstGenGroupCount> typicalGroups() { return {1, 1, 0.635f, 1, 0.705f, 1, 0.75f, 0.92f}; }

float bandwidthOf(const benchmark::State& state) { return static_cast<float>(state.range(0)) / 100.0f; }

// As the engine calls it: workspace from the pool, phase lease, publication.
void GenerateFirstGenWavetable(benchmark::State& state) {
    const auto groups = typicalGroups();
    const float bandwidth = bandwidthOf(state);
    Wavetable table;
    for (auto _ : state) {
        generateFirstGenWavetable(groups.data(), bandwidth, table);
        adoptPendingTable(table);
        benchmark::DoNotOptimize(table.current);
    }
}
BENCHMARK(GenerateFirstGenWavetable)->Arg(0)->Arg(50)->Arg(100)->Unit(benchmark::kMicrosecond);

void SynthesizeFirstGenTableAtLevel(benchmark::State& state) {
    SimdLevel level;
    if (!generation_bench::simdLevelOf(state, level)) return;
    const auto groups = typicalGroups();
    std::vector<float> table(Wavetable::kLength + 1);
    for (auto _ : state) {
        synthesizeFirstGenTable(groups.data(), 0.5f, kInitialPhaseState, table.data(), level);
        benchmark::DoNotOptimize(table.data());
    }
}
BENCHMARK(SynthesizeFirstGenTableAtLevel)->Apply(generation_bench::atEverySimdLevel)->Unit(benchmark::kMicrosecond);

void FirstGenReferenceGeneration(benchmark::State& state) {
    const auto groups = typicalGroups();
    const float bandwidth = bandwidthOf(state);
    std::vector<float> table(Wavetable::kLength + 1);
    for (auto _ : state) {
        reference::generateFirstGenTable(groups.data(), bandwidth, kInitialPhaseState, table.data());
        benchmark::DoNotOptimize(table.data());
    }
}
BENCHMARK(FirstGenReferenceGeneration)->Arg(50)->Unit(benchmark::kMillisecond);

// The two spectral stages on their own, to see where the time goes.
void FirstGenStages(benchmark::State& state) {
    const auto groups = typicalGroups();
    std::vector<float> amplitudes(Wavetable::kLength / 2);
    std::vector<float> pairs(Wavetable::kLength);
    const float bandwidth = static_cast<float>(state.range(1)) / 100.0f;
    firstGenAmplitudeSpectrum(groups.data(), bandwidth, amplitudes.data());
    for (auto _ : state) {
        if (state.range(0) == 0)
            firstGenAmplitudeSpectrum(groups.data(), bandwidth, amplitudes.data());
        else
            benchmark::DoNotOptimize(firstGenPhaseBins(kInitialPhaseState, amplitudes.data(),
                                                       static_cast<int32_t>(amplitudes.size()), pairs.data()));
        benchmark::ClobberMemory();
    }
    state.SetLabel(state.range(0) == 0 ? "amplitudes" : "phases");
}
BENCHMARK(FirstGenStages)->ArgsProduct({{0, 1}, {0, 50, 100}})->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
