// Where the engine finds each value in its parameter array.
#pragma once

#include <cstdint>

namespace param {
constexpr int32_t kHarmonicCount = 32;  // 0..31: "Prt 1".."Prt 32"
constexpr int32_t kLastHarmonic = kHarmonicCount - 1;
constexpr int32_t kBandwidth = 32;     // "BW"
constexpr int32_t kStereoWidth = 33;   // "SW"
constexpr int32_t kOctave = 34;        // "OCT"
constexpr int32_t kSubLevel = 35;      // "SUB"
constexpr int32_t kFilterAttack = 36;  // "F_A", then "F_D", "F_S", "F_R"
constexpr int32_t kFilterRelease = 39;
constexpr int32_t kFilterDepth = 40;     // "F_Env"
constexpr int32_t kCutoff = 41;          // "F_Cut"
constexpr int32_t kFilterVelocity = 42;  // "F_Vel"
constexpr int32_t kAttack = 43;          // "A", then "D", "S", "R"
constexpr int32_t kRelease = 46;
constexpr int32_t kVelocity = 47;  // "Vel"
constexpr int32_t kVolume = 48;    // "Vol"
constexpr int32_t kCount = 49;
constexpr int32_t kAll = 100;  // the all-parameters code of the parameter-change step
}  // namespace param
