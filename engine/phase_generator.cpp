#include "engine/phase_generator.h"

namespace {

std::mutex phaseMutex;
uint32_t phaseState = kInitialPhaseState;

}  // namespace

PhaseStateLease::PhaseStateLease() : lock_(phaseMutex) {}

uint32_t PhaseStateLease::state() const { return phaseState; }

void PhaseStateLease::advanceTo(uint32_t state) { phaseState = state; }

uint32_t peekPhaseState() {
    std::lock_guard<std::mutex> lock(phaseMutex);
    return phaseState;
}
