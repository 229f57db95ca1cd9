// What the host shows of the 49 parameters: names, label and display text.
#pragma once

#include "plugin_base/vst2_interface.h"

namespace parameters {
constexpr VstInt32 kCount = 49;
// Parameters from this index on may be automated by the host; the spectral
// and pitch ones below it each cost a wavetable generation or act only at
// note start.
constexpr VstInt32 kFirstAutomatable = 36;

bool isParameter(VstInt32 index);
// Writes the name for 0..48, at most 8 characters; nothing for other indices.
void writeName(VstInt32 index, char* text);
}  // namespace parameters
