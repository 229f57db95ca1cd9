// The random phases of the wavetable's spectral bins.
#pragma once

#include <cstdint>
#include <mutex>

// Phase recurrence over an unsigned 32-bit state (arithmetic modulo 2^32,
// logical shift): s <- (s AND 1) * 1588635695 - (s >> 1) * 1117695901.
// The phase of a state is its signed reading scaled by 2^-32 * 2*pi in float,
// so phases lie in [-pi, pi].
constexpr uint32_t kInitialPhaseState = 656446;

inline uint32_t nextPhaseState(uint32_t state) {
    constexpr uint32_t kOddFactor = 1588635695u;
    constexpr uint32_t kHalfFactor = 1117695901u;
    return (state & 1u) * kOddFactor - (state >> 1) * kHalfFactor;
}

// phaseOfState's two float scales, applied in this order.
constexpr float kPhaseStateScale = 2.3283064e-10f;  // 2^-32
constexpr float kPhaseTurn = 6.2831855f;            // 2 pi

inline float phaseOfState(uint32_t state) {
    return static_cast<float>(static_cast<int32_t>(state)) * kPhaseStateScale * kPhaseTurn;
}

// Exclusive use of the process-wide phase state, which every table generation
// of every instance advances and which is never reseeded. Holding the lease
// serialises generations only while they draw their phases, so each one draws
// consecutive states of the recurrence. Generating threads only (it locks).
class PhaseStateLease {
public:
    PhaseStateLease();
    PhaseStateLease(const PhaseStateLease&) = delete;
    PhaseStateLease& operator=(const PhaseStateLease&) = delete;

    uint32_t state() const;
    void advanceTo(uint32_t state);

private:
    std::unique_lock<std::mutex> lock_;
};

// The state the next draw continues from (for tests and diagnostics).
uint32_t peekPhaseState();
