// Throw-away stand-in for the first generation's generator, so that the engine
// plays until the real one arrives: a few harmonics at fixed phases, one per
// group, summed from a sine cycle and normalised. It still moves the library's
// phase state as a generation does.
#include <cmath>
#include <vector>

#include "engine/phase_generator.h"
#include "first_generation/engine/first_gen_generator.h"

uint32_t synthesizeFirstGenTable(const float* groups, float bandwidth, uint32_t phaseState, float* table) {
    (void)bandwidth;
    constexpr int32_t kLength = Wavetable::kLength;
    constexpr int32_t kHalf = kLength / 2;
    std::vector<float> sine(kLength);
    for (int32_t i = 0; i < kLength; ++i) sine[i] = static_cast<float>(std::sin(i * 6.283185307179586 / kLength));
    for (int32_t i = 0; i < kLength; ++i) table[i] = 0.0f;
    for (int32_t h = 1; h <= kFirstGenGroupCount + 1; ++h) {
        const float amplitude = h == 1 ? 0.1f : 0.1f * groups[h - 2];
        const uint32_t step = static_cast<uint32_t>(Wavetable::kCyclesPerTable * h);
        for (int32_t i = 0; i < kLength; ++i)
            table[i] += amplitude * sine[(static_cast<uint32_t>(i) * step + 977u * h) % kLength];
    }
    table[kLength] = table[0];
    normalizeTable(table, kLength + 1);
    for (int32_t j = 0; j < kHalf; ++j) phaseState = nextPhaseState(phaseState);
    return phaseState;
}

void generateFirstGenWavetable(const float* groups, float bandwidth, Wavetable& wavetable) {
    float* table = takeSpareTable(wavetable);
    {
        PhaseStateLease lease;
        lease.advanceTo(synthesizeFirstGenTable(groups, bandwidth, lease.state(), table));
    }
    publishTable(wavetable, table);
}
