// What the table-generation benchmarks of both generators share: the one
// inverse FFT a generation cannot avoid (the yardstick of its cost target),
// and the SIMD levels a stage is measured at. Include from one source file of
// a benchmark program: it registers KissInverseTransform there.
#pragma once

#include <benchmark/benchmark.h>

#include <vector>

#include "engine/wavetable.h"
#include "kiss_fftr.h"
#include "numerics/simd_level.h"

namespace generation_bench {

inline void KissInverseTransform(benchmark::State& state) {
    kiss_fftr_cfg config = kiss_fftr_alloc(Wavetable::kLength, 1, nullptr, nullptr);
    std::vector<kiss_fft_cpx> spectrum(Wavetable::kLength / 2 + 1);
    for (size_t i = 0; i < spectrum.size(); ++i)
        spectrum[i] = {static_cast<float>(i % 17) * 0.01f, static_cast<float>(i % 13) * -0.01f};
    std::vector<float> table(Wavetable::kLength);
    for (auto _ : state) {
        kiss_fftri(config, spectrum.data(), table.data());
        benchmark::DoNotOptimize(table.data());
    }
    kiss_fftr_free(config);
}
BENCHMARK(KissInverseTransform)->Unit(benchmark::kMicrosecond);

// Registers a benchmark once per SIMD level, the level as its argument.
inline void atEverySimdLevel(benchmark::internal::Benchmark* bench) {
    for (SimdLevel level : {SimdLevel::kSse2, SimdLevel::kAvx2, SimdLevel::kAvx512})
        bench->Arg(static_cast<int>(level));
}

// The level a benchmark registered with atEverySimdLevel runs at; false (and
// the run marked skipped) when this CPU lacks it.
inline bool simdLevelOf(benchmark::State& state, SimdLevel& level) {
    level = static_cast<SimdLevel>(state.range(0));
    if (simdLevelSupported(level)) return true;
    state.SkipWithError("level not supported by this CPU");
    return false;
}

}  // namespace generation_bench
