#include <memory>
#include <new>

#include "editor/win32/win32_platform.h"
#include "first_generation/editor/first_gen_editor.h"
#include "first_generation/editor/first_gen_gui.h"
#include "plugin_base/audio_effect_x.h"

ZVGui* createFirstGenEditor(AudioEffectX* effect) {
    try {
        return new FirstGenGui(effect, std::make_unique<Win32Platform>(thisModule()));
    } catch (...) {
        // An instrument without an editor still plays.
        return nullptr;
    }
}
