// The library's entry points: VSTPluginMain (exported a second time as
// "main" for older hosts) and, on Windows, the load hook that records the
// module handle.
#include <new>

#include "plugin_base/audio_effect.h"
#include "plugin_base/module_handle.h"

#if defined(_WIN32)
#include <windows.h>
#define NUBBEL_EXPORT extern "C" __declspec(dllexport)
#else
#define NUBBEL_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace {
void* moduleHandle = nullptr;
}

void* nubbelModuleHandle() { return moduleHandle; }

NUBBEL_EXPORT AEffect* VSTCALLBACK VSTPluginMain(audioMasterCallback audioMaster) {
    if (!audioMaster) return nullptr;
    if (audioMaster(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
    AudioEffect* effect = nullptr;
    try {
        effect = createEffectInstance(audioMaster);
    } catch (...) {
        // Nothing may cross the host boundary; a failed construction is a null answer.
        return nullptr;
    }
    return effect ? effect->getAeffect() : nullptr;
}

#if defined(_WIN32)
// Every call stores the handle, whatever the reason.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD /*reason*/, LPVOID /*reserved*/) {
    moduleHandle = instance;
    return TRUE;
}
#else
// The second export for hosts that look up "main". A C++ function may not be
// called main, so the alias is given its symbol name directly.
extern "C" __attribute__((visibility("default"))) AEffect* nubbelMainAlias(audioMasterCallback) __asm__("main")
    __attribute__((alias("VSTPluginMain")));
#endif
