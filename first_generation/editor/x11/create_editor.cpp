#include <memory>
#include <new>

#include "editor/x11/x11_platform.h"
#include "first_generation/editor/first_gen_editor.h"
#include "first_generation/editor/first_gen_gui.h"
#include "plugin_base/audio_effect_x.h"
#include "resources/embedded_bitmaps.h"

ZVGui* createFirstGenEditor(AudioEffectX* effect) {
    try {
        return new FirstGenGui(effect, std::make_unique<X11Platform>(nubbelBitmaps()));
    } catch (...) {
        // An instrument without an editor still plays.
        return nullptr;
    }
}
