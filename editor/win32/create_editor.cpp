#include <windows.h>

#include <memory>
#include <new>

#include "editor/my_gui.h"
#include "editor/nubbel3_editor.h"
#include "editor/win32/win32_platform.h"
#include "plugin_base/audio_effect_x.h"

ZVGui* createNubbel3Editor(AudioEffectX* effect) {
    try {
        return new MyGui(effect, std::make_unique<Win32Platform>(thisModule()));
    } catch (...) {
        // An instrument without an editor still plays.
        return nullptr;
    }
}
