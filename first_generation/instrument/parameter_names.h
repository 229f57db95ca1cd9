// What the host shows of the first generation's 23 parameters.
#pragma once

#include "plugin_base/vst2_interface.h"

namespace firstgen::parameters {
constexpr VstInt32 kCount = 23;
// Below this index every change costs a table generation (0..8) or acts only
// at the next note (9), so the host may not automate them.
constexpr VstInt32 kFirstAutomatable = 10;

bool isParameter(VstInt32 index);
// At most 8 characters and a terminator for 0..22; other indices leave text
// as it was.
void writeName(VstInt32 index, char* text);
}  // namespace firstgen::parameters
