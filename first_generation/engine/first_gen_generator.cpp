#include "first_generation/engine/first_gen_generator.h"

#include <memory>

#include "numerics/float_environment.h"
#include "engine/gaussian_bands.h"
#include "engine/phase_generator.h"
#include "engine/table_synthesis.h"
#include "engine/table_workspace.h"
#include "first_generation/engine/first_gen_bands.h"
#include "first_generation/engine/first_gen_phases.h"

namespace {

// The amplitude spectrum and the complex spectrum of one table, the phase
// states drawn from those after `phaseState` while the amplitudes are made;
// returns the last state drawn. Bin 0 stays empty; amplitude index j goes into
// bin j + 1.
uint32_t makeSpectrum(const float* groups, float bandwidth, uint32_t phaseState, TableWorkspace& workspace,
                      SimdLevel level) {
    kiss_fft_cpx* spectrum = workspace.spectrum.get();
    spectrum[0].r = 0.0f;
    spectrum[0].i = 0.0f;
    float* pairs = &spectrum[1].r;  // kiss_fft_cpx is a pair of floats (real, imaginary)
    PhaseStateStream states = PhaseStateStream::into(pairs, kAmplitudeBins, phaseState);
    firstGenAmplitudeSpectrum(groups, bandwidth, workspace.amplitudes.get(), level, &states);
    states.drawRest();
    firstGenPhaseBinsOfDrawnStates(workspace.amplitudes.get(), kAmplitudeBins, pairs, level);
    return states.state;
}

}  // namespace

uint32_t synthesizeFirstGenTable(const float* groups, float bandwidth, uint32_t phaseState, float* table,
                                 SimdLevel level) {
    DefaultFloatEnvironment environment;
    WorkspaceLease workspace;
    const uint32_t lastState = makeSpectrum(groups, bandwidth, phaseState, *workspace, level);
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
        {
            // Held only while the spectrum is made (the states are drawn
            // meanwhile), so each generation takes consecutive states.
            PhaseStateLease phases;
            phases.advanceTo(makeSpectrum(groups, bandwidth, phases.state(), *workspace, bestSimdLevel()));
        }
        transformToTable(*workspace, fresh.get());
    }
    // The table is complete before it becomes visible.
    publishTable(wavetable, fresh.release());
}
