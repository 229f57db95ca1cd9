// A host that plays scripts of host actions (script_format.h) against one
// instrument library and checks, after every script, that the instrument still
// answers: sane settings restored, one note must come out finite, audible and
// bounded. Checks made along the way: getParameter returns a value in [0, 1]
// that was set, every text the plug-in writes fits its documented size, a
// replacing render writes every sample it was asked for. A violated check
// ends the process with a message on stderr (abort), which is how a fuzzer or
// the replay test sees it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace fuzzhost {

// Loads the library through VSTPluginMain on the first call and keeps it for
// the rest of the process; every call must name the same library.
void runHostScript(const char* pluginPath, const uint8_t* data, size_t size);

}  // namespace fuzzhost
