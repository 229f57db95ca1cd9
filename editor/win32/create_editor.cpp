#include <windows.h>

#include <memory>
#include <new>

#include "editor/my_gui.h"
#include "editor/nubbel3_editor.h"
#include "editor/win32/win32_platform.h"
#include "plugin_base/audio_effect_x.h"

namespace {
// The module that holds this code: the plug-in library, or the program when
// the editor is linked into one, as in tests. Asking by address needs no hook
// in the entry point.
HINSTANCE thisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&thisModule), &module);
    return module;
}
}  // namespace

ZVGui* createNubbel3Editor(AudioEffectX* effect) {
    try {
        return new MyGui(effect, std::make_unique<Win32Platform>(thisModule()));
    } catch (...) {
        // An instrument without an editor still plays.
        return nullptr;
    }
}
