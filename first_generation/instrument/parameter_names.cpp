#include "first_generation/instrument/parameter_names.h"

#include "plugin_base/audio_effect.h"

namespace firstgen::parameters {

namespace {
constexpr const char* kNames[kCount] = {
    "Wave 1",  "Wave 2", "Wave 3", "Wave 4", "Wave 5", "Wave 6", "Wave 7",  "Wave 8",
    "BndWdth", "Width",  "flt A",  "flt D",  "flt S",  "flt R",  "flt Env", "flt Cut",
    "flt Vel", "A",      "D",      "S",      "R",      "Vel",    "Vol",
};
}  // namespace

bool isParameter(VstInt32 index) { return index >= 0 && index < kCount; }

void writeName(VstInt32 index, char* text) {
    if (isParameter(index)) vst_strncpy(text, kNames[index], kVstMaxParamStrLen);
}

}  // namespace firstgen::parameters
