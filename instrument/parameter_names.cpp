#include "instrument/parameter_names.h"

#include <cstdio>

#include "plugin_base/audio_effect.h"

namespace parameters {

namespace {
constexpr VstInt32 kHarmonics = 32;
// Names of the parameters after the 32 harmonics, from index 32 on.
constexpr const char* kNamedParameters[kCount - kHarmonics] = {
    "BW", "SW", "OCT", "SUB", "F_A", "F_D", "F_S", "F_R", "F_Env", "F_Cut", "F_Vel", "A", "D", "S", "R", "Vel", "Vol",
};
}  // namespace

bool isParameter(VstInt32 index) { return index >= 0 && index < kCount; }

void writeName(VstInt32 index, char* text) {
    if (!text || !isParameter(index)) return;
    if (index < kHarmonics) {
        char name[16];
        std::snprintf(name, sizeof(name), "Prt %d", static_cast<int>(index + 1));
        vst_strncpy(text, name, kVstMaxParamStrLen);
    } else {
        vst_strncpy(text, kNamedParameters[index - kHarmonics], kVstMaxParamStrLen);
    }
}

}  // namespace parameters
