#include "engine/note_tables.h"

#include <cmath>

void fillPitchTable(float* table) {
    constexpr double kNoteZeroHz = 8.175798915636872;
    constexpr double kSemitoneRatio = 1.059463094359;
    float* atZero = table - kLowestPitchIndex;
    double frequency = kNoteZeroHz;
    for (int32_t n = 0; n <= kHighestPitchIndex; ++n) {
        atZero[n] = static_cast<float>(frequency);
        frequency = frequency * kSemitoneRatio;
    }
    frequency = kNoteZeroHz;
    for (int32_t n = -1; n >= kLowestPitchIndex; --n) {
        frequency = frequency / kSemitoneRatio;
        atZero[n] = static_cast<float>(frequency);
    }
}

void fillSubTable(float* table) {
    constexpr double kStep = 0.000244140625;  // 1/4096
    constexpr double kTwoPi = 6.283185307179586;
    for (int32_t i = 0; i < kSubTableSize; ++i) {
        const float g = static_cast<float>(std::sin(i * kStep * kTwoPi));
        table[i] = g * g * g;
    }
}
