#include <memory>
#include <new>

#include "editor/my_gui.h"
#include "editor/nubbel3_editor.h"
#include "editor/x11/x11_platform.h"
#include "plugin_base/audio_effect_x.h"
#include "resources/embedded_bitmaps.h"

ZVGui* createNubbel3Editor(AudioEffectX* effect) {
    try {
        return new MyGui(effect, std::make_unique<X11Platform>(nubbel3Bitmaps()));
    } catch (...) {
        // An instrument without an editor still plays.
        return nullptr;
    }
}
