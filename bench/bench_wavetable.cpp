// Table generation: the engine's generator against the plain reference and
// against the one inverse FFT it cannot avoid (the target is a whole
// generation within 1.5 times that transform), measured in the same run.

#include <benchmark/benchmark.h>

#include <array>
#include <vector>

#include "bench/generation_bench.h"
#include "engine/phase_generator.h"
#include "numerics/simd_level.h"
#include "engine/table_synthesis.h"
#include "engine/table_workspace.h"
#include "engine/wavetable.h"
#include "tests/reference/wavetable_reference.h"

namespace {

// A factory-like setting: buttons at 0, 0.5 and 1, "BW" in the middle.
std::array<float, 33> typicalValues(float bandwidth) {
    std::array<float, 33> values;
    for (int k = 0; k < 32; ++k) values[k] = static_cast<float>((k * 7) % 3) * 0.5f;
    values[32] = bandwidth;
    return values;
}

// generateWavetable as the engine calls it: workspace from the pool, phase
// lease, publication (the recycled table comes back through adoption).
void GenerateWavetable(benchmark::State& state) {
    const auto values = typicalValues(static_cast<float>(state.range(0)) / 100.0f);
    Wavetable table;
    for (auto _ : state) {
        generateWavetable(values.data(), table);
        adoptPendingTable(table);
        benchmark::DoNotOptimize(table.current);
    }
}
BENCHMARK(GenerateWavetable)->Arg(0)->Arg(50)->Arg(100)->Unit(benchmark::kMicrosecond);

void SynthesizeTableAtLevel(benchmark::State& state) {
    SimdLevel level;
    if (!generation_bench::simdLevelOf(state, level)) return;
    const auto values = typicalValues(0.5f);
    std::vector<float> table(Wavetable::kLength + 1);
    for (auto _ : state) {
        synthesizeTable(values.data(), kInitialPhaseState, table.data(), level);
        benchmark::DoNotOptimize(table.data());
    }
}
BENCHMARK(SynthesizeTableAtLevel)->Apply(generation_bench::atEverySimdLevel)->Unit(benchmark::kMicrosecond);

void ReferenceGeneration(benchmark::State& state) {
    const auto values = typicalValues(static_cast<float>(state.range(0)) / 100.0f);
    std::vector<float> table(Wavetable::kLength + 1);
    for (auto _ : state) {
        reference::generateTable(values.data(), kInitialPhaseState, table.data());
        benchmark::DoNotOptimize(table.data());
    }
}
BENCHMARK(ReferenceGeneration)->Arg(50)->Unit(benchmark::kMicrosecond);

// The stages on their own, to see where the time goes.
void Stages(benchmark::State& state) {
    const auto values = typicalValues(0.5f);
    WorkspaceLease workspace;
    std::vector<float> table(Wavetable::kLength + 1);
    for (auto _ : state) {
        switch (state.range(0)) {
            case 0: computeTableAmplitudes(values.data(), *workspace); break;
            case 1: benchmark::DoNotOptimize(drawTablePhases(kInitialPhaseState, *workspace)); break;
            default: transformToTable(*workspace, table.data()); break;
        }
        benchmark::ClobberMemory();
    }
    static const char* const names[] = {"amplitudes", "phases", "transform+normalise"};
    state.SetLabel(names[state.range(0)]);
}
BENCHMARK(Stages)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
