// The library's entry point: VSTPluginMain, exported a second time as "main"
// for older hosts.
#include <new>

#include "plugin_base/audio_effect.h"

#if defined(_WIN32)
#define NUBBEL_EXPORT extern "C" __declspec(dllexport)
#else
#define NUBBEL_EXPORT extern "C" __attribute__((visibility("default")))
#endif

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

#if !defined(_WIN32)
// The second export for hosts that look up "main". A C++ function may not be
// called main, so the alias is given its symbol name directly.
extern "C" __attribute__((visibility("default"))) AEffect* nubbelMainAlias(audioMasterCallback) __asm__("main")
    __attribute__((alias("VSTPluginMain")));
#endif
