// Spectral value sets for comparing the engine's tables with the reference.
#pragma once

#include <array>
#include <string>
#include <vector>

using SpectralValues = std::array<float, 33>;  // 32 harmonics, then "BW"

struct NamedSettings {
    std::string name;
    SpectralValues values;
};

// Hand-picked (factory-like, single harmonics, all zero, out-of-range finite
// values), a bandwidth sweep, and seeded random sets.
std::vector<NamedSettings> comparisonSettings();
