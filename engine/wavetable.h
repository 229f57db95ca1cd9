// The engine's looping pad table and its hand-over from the generating thread
// to the audio thread.
#pragma once

#include <atomic>
#include <cstdint>

// One loop of 65,536 samples plus a guard copy of sample 0 at index 65,536, so
// that linear interpolation between i and i + 1 never tests for the wrap.
// Readers use 16.16 positions whose integer part wraps at exactly 65,536.
//
// Ownership: `current` belongs to the audio thread. A finished table is
// published by exchanging it into `pending`; the audio thread adopts it by
// exchanging `pending` with null. Each table is owned by exactly one side at
// any moment and neither side ever waits.
//
// The table the audio thread gives up at adoption goes into an empty `spares`
// slot instead of being freed there (freeing can lock or call the system); the
// next generation refills one spare and releases the others. With one
// generating thread at most two slots are ever occupied, so the audio thread
// frees a table only when several threads generate for one record at once.
// Every table pointer held by the record is an array of kLength + 1 floats from
// allocateTable(), released by the destructor.
struct Wavetable {
    static constexpr int32_t kLength = 65536;
    static constexpr int32_t kCyclesPerTable = 256;

    int32_t cyclesPerTable = kCyclesPerTable;
    int32_t length = kLength;
    float* current = nullptr;
    std::atomic<float*> pending{nullptr};
    std::atomic<bool> pendingReady{false};
    static constexpr int kSpareSlots = 3;
    std::atomic<float*> spares[kSpareSlots] = {};

    Wavetable() = default;
    Wavetable(const Wavetable&) = delete;
    Wavetable& operator=(const Wavetable&) = delete;
    ~Wavetable();
};

// A table array of Wavetable::kLength + 1 floats, and its release (null is fine).
float* allocateTable();
void releaseTable(float* table);

// The generating side of the hand-over, for any generator: take a table to
// fill (a spare the audio thread gave back, or a new one), fill it completely,
// then publish it. A table still pending is replaced and released here.
float* takeSpareTable(Wavetable& table);
void publishTable(Wavetable& table, float* finished);

// Resets the record and leaves a table generated from all-0.5 values pending.
// Only while no audio thread uses the record (construction).
void createWavetable(Wavetable& table);

// Builds a table from values[0..32] (32 harmonic amplitudes, then the
// bandwidth) and publishes it. Runs on the thread that changed a value; any
// number of threads and instances may generate at the same time. The result
// does not depend on the thread's rounding or flush-to-zero settings.
void generateWavetable(const float* values, Wavetable& table);

// Audio thread, start of every block: takes a published table if there is one.
// Never waits, locks, allocates or frees.
void adoptPendingTable(Wavetable& table);

// Scales table[0..count-1] in place so that its peak is 1/1.4142 (peaks below
// 1e-5 are treated as 1e-5). A table holding NaN or infinities (from NaN or
// overflowing values) becomes silence instead.
void normalizeTable(float* table, int32_t count);
