#include <cstdio>

#include "first_generation/instrument/factory_bank.h"
#include "instrument/factory_bank.h"
#include "tests/interface/plugin_fixture.h"

namespace {

// Both have their editor, on Windows and on Linux.
constexpr VstInt32 kNubbel3Flags = 0x131;
constexpr VstInt32 kNubbelFlags = 0x131;

std::vector<std::string> nubbel3Names() {
    std::vector<std::string> names;
    for (int i = 1; i <= 32; ++i) names.push_back("Prt " + std::to_string(i));
    for (const char* n : {"BW", "SW", "OCT", "SUB", "F_A", "F_D", "F_S", "F_R", "F_Env", "F_Cut", "F_Vel", "A", "D",
                          "S", "R", "Vel", "Vol"})
        names.push_back(n);
    return names;
}

}  // namespace

const std::vector<Instrument>& instruments() {
    static const std::vector<Instrument> rows = {
        {"Nubbel3",
         NUBBEL3_PLUGIN,
         49,
         fourCC("ZVN3"),
         kNubbel3Flags,
         "Nubbel3",
         "ZV's Nubbel3",
         3000,
         36,
         nubbel3Names(),
         reinterpret_cast<const unsigned char*>(kFactoryBank),
         196,
         1760,
         33,
         41,
         40,
         45,
         48,
         440.0,
         0},
        // Key 69 plays noteFrequencies[57] (220 Hz), which the first
        // generation's readers sound an octave up, near 441 Hz.
        {"Nubbel",
         NUBBEL_PLUGIN,
         23,
         fourCC("ZVN1"),
         kNubbelFlags,
         "Nub-Bel",
         "ZV's Nub-Bel",
         1000,
         10,
         {"Wave 1",  "Wave 2", "Wave 3", "Wave 4", "Wave 5", "Wave 6", "Wave 7",  "Wave 8",
          "BndWdth", "Width",  "flt A",  "flt D",  "flt S",  "flt R",  "flt Env", "flt Cut",
          "flt Vel", "A",      "D",      "S",      "R",      "Vel",    "Vol"},
         reinterpret_cast<const unsigned char*>(firstgen::kFactoryBank),
         92,
         928,
         9,
         15,
         14,
         19,
         22,
         441.0,
         12},
    };
    return rows;
}
