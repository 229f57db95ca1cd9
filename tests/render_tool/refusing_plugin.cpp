// A library that exports the VST 2 entry point but refuses to create a
// plug-in, as one does when its construction fails.
#include "plugin_base/vst2_interface.h"

extern "C" __attribute__((visibility("default"))) AEffect* VSTPluginMain(audioMasterCallback) { return nullptr; }
