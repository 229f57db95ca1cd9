// The engine's fixed tables: note frequencies and one cycle of the sub-oscillator.
#pragma once

#include <cstdint>

// Note frequencies in Hz for table indices -12..163: entry n is
// 8.175798915636872 x 1.059463094359^n with every product kept in double and
// the result rounded to float (so entry 69 is exactly 440). Indices 0..127 are
// the MIDI notes; the entries below and above carry the same ratio on, because
// "OCT" reaches an octave below note 0 and three octaves above note 127.
constexpr int32_t kLowestPitchIndex = -12;
constexpr int32_t kHighestPitchIndex = 163;
constexpr int32_t kPitchTableSize = kHighestPitchIndex - kLowestPitchIndex + 1;
void fillPitchTable(float* table);  // table[0] is index -12

// One cycle of sin^3 in 4096 samples: g = float(sin(2 pi i / 4096)) in double,
// then g x g x g in float. Peak 1, a sub-oscillator with little beyond its
// fundamental and third harmonic.
constexpr int32_t kSubTableSize = 4096;
void fillSubTable(float* table);
