#include "engine/wavetable.h"

#include <algorithm>
#include <memory>

#include "engine/gaussian_bands.h"
#include "engine/parameter_index.h"
#include "engine/phase_generator.h"
#include "engine/table_synthesis.h"
#include "engine/table_workspace.h"
#include "numerics/float_environment.h"

// The audio thread's side of the hand-over must not fall back to a lock.
static_assert(std::atomic<float*>::is_always_lock_free, "");
static_assert(std::atomic<bool>::is_always_lock_free, "");

float* allocateTable() { return new float[Wavetable::kLength + 1]; }

void releaseTable(float* table) { delete[] table; }

Wavetable::~Wavetable() {
    releaseTable(current);
    releaseTable(pending.load());
    for (std::atomic<float*>& slot : spares) releaseTable(slot.load());
}

void createWavetable(Wavetable& table) {
    table.cyclesPerTable = Wavetable::kCyclesPerTable;
    table.length = Wavetable::kLength;
    releaseTable(table.current);
    table.current = nullptr;
    releaseTable(table.pending.exchange(nullptr));
    table.pendingReady = false;
    float initialValues[param::kBandwidth + 1];
    for (float& value : initialValues) value = 0.5f;
    generateWavetable(initialValues, table);
}

namespace {

struct TableDeleter {
    void operator()(float* table) const { releaseTable(table); }
};
using OwnedTable = std::unique_ptr<float[], TableDeleter>;

bool putSpare(Wavetable& table, float* spare) {
    for (std::atomic<float*>& slot : table.spares) {
        float* expected = nullptr;
        if (slot.compare_exchange_strong(expected, spare)) return true;
    }
    return false;
}

}  // namespace

// One spare for the caller; any others are released here, on a generating
// thread, so that an idle record keeps at most the tables adopted since.
float* takeSpareTable(Wavetable& table) {
    float* taken = nullptr;
    for (std::atomic<float*>& slot : table.spares) {
        float* spare = slot.exchange(nullptr);
        if (!taken)
            taken = spare;
        else
            releaseTable(spare);
    }
    return taken ? taken : allocateTable();
}

void publishTable(Wavetable& table, float* finished) {
    // A table still waiting in `pending` comes back here, replaced, and is
    // released on this thread.
    releaseTable(table.pending.exchange(finished));
    table.pendingReady.store(true);
}

void generateWavetable(const float* values, Wavetable& table) {
    OwnedTable fresh(takeSpareTable(table));
    {
        DefaultFloatEnvironment environment;
        WorkspaceLease workspace;
        computeTableAmplitudes(values, *workspace);
        {
            PhaseStateLease phases;
            phases.advanceTo(drawTablePhases(phases.state(), *workspace));
        }
        transformToTable(*workspace, fresh.get());
    }
    // The table is complete before it becomes visible.
    publishTable(table, fresh.release());
}

void adoptPendingTable(Wavetable& table) {
    if (!table.pendingReady.exchange(false)) return;
    float* published = table.pending.exchange(nullptr);
    if (!published) return;  // announced again by a publication this block already adopted
    float* previous = table.current;
    table.current = published;
    if (previous && !putSpare(table, previous)) releaseTable(previous);
}

void normalizeTable(float* table, int32_t count) {
    bool allFinite = true;
    const float peak = peakMagnitude(table, count, &allFinite);
    if (allFinite) {
        normalizeWithPeak(table, count, peak);
        return;
    }
    std::fill(table, table + count, 0.0f);
    normalizeWithPeak(table, count, 0.0f);
}
