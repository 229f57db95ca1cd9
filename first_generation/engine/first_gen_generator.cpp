#include "first_generation/engine/first_gen_generator.h"

#include <memory>

#include "engine/float_environment.h"
#include "engine/gaussian_bands.h"
#include "engine/phase_generator.h"
#include "engine/table_synthesis.h"
#include "engine/table_workspace.h"
#include "first_generation/engine/first_gen_bands.h"
#include "first_generation/engine/first_gen_phases.h"

namespace {

// Bin 0 stays empty; amplitude index j goes into bin j + 1.
uint32_t drawPhases(uint32_t phaseState, TableWorkspace& workspace, SimdLevel level) {
    kiss_fft_cpx* spectrum = workspace.spectrum.get();
    spectrum[0].r = 0.0f;
    spectrum[0].i = 0.0f;
    return firstGenPhaseBins(phaseState, workspace.amplitudes.get(), kAmplitudeBins, &spectrum[1].r, level);
}

}  // namespace

uint32_t synthesizeFirstGenTable(const float* groups, float bandwidth, uint32_t phaseState, float* table,
                                 SimdLevel level) {
    DefaultFloatEnvironment environment;
    WorkspaceLease workspace;
    firstGenAmplitudeSpectrum(groups, bandwidth, workspace->amplitudes.get(), level);
    const uint32_t lastState = drawPhases(phaseState, *workspace, level);
    transformToTable(*workspace, table);
    return lastState;
}

uint32_t synthesizeFirstGenTable(const float* groups, float bandwidth, uint32_t phaseState, float* table) {
    return synthesizeFirstGenTable(groups, bandwidth, phaseState, table, bestSimdLevel());
}

void generateFirstGenWavetable(const float* groups, float bandwidth, Wavetable& wavetable) {
    struct TableDeleter {
        void operator()(float* table) const { releaseTable(table); }
    };
    std::unique_ptr<float[], TableDeleter> fresh(takeSpareTable(wavetable));
    {
        DefaultFloatEnvironment environment;
        WorkspaceLease workspace;
        firstGenAmplitudeSpectrum(groups, bandwidth, workspace->amplitudes.get());
        {
            // Held only while drawing, so each generation takes consecutive states.
            PhaseStateLease phases;
            phases.advanceTo(drawPhases(phases.state(), *workspace, bestSimdLevel()));
        }
        transformToTable(*workspace, fresh.get());
    }
    // The table is complete before it becomes visible.
    publishTable(wavetable, fresh.release());
}
