#include "editor/my_gui.h"

#include <initializer_list>
#include <utility>

#include "editor/bitmap_step_knob.h"
#include "editor/bitmap_toggle.h"

MyGui::MyGui(AudioEffect* effect, std::unique_ptr<EditorPlatform> platform)
    : ZVGui(effect, kWidth, kHeight, std::move(platform)) {
    EditorPlatform& bitmaps = this->platform();
    backgroundBitmap = bitmaps.loadBitmap(kBackgroundId);
    toggleStrip = bitmaps.loadBitmap(kToggleStripId);
    knobStrip = bitmaps.loadBitmap(kKnobStripId);
    knobMask = bitmaps.loadBitmap(kKnobMaskId);

    background = backgroundBitmap;
    hasBackground = backgroundBitmap != nullptr;

    // Column by column, upper then lower button: harmonic i + 1 above i + 17.
    if (toggleStrip) {
        for (int i = 0; i < kHarmonicColumns; ++i) {
            const int left = kColumnLeft + kColumnPitch * i;
            for (const auto& [top, param] : {std::pair{kUpperRowTop, i}, std::pair{kLowerRowTop, i + 16}}) {
                auto toggle = std::make_unique<bitmap3toggle>(left, top, toggleStrip);
                toggle->paramIndex = param;
                toggle->automated = true;
                addWidget(std::move(toggle));
            }
        }
    }

    if (knobStrip && knobMask) {
        for (const KnobPlace& place : kKnobs) {
            std::unique_ptr<bitmapknob> knob;
            if (place.kind == KnobKind::stepped)
                knob = std::make_unique<bitmapstepknob>(place.left, place.top, knobStrip, knobMask);
            else
                knob = std::make_unique<bitmapknob>(place.left, place.top, knobStrip, knobMask);
            knob->paramIndex = place.paramIndex;
            knob->automated = place.automated;
            knob->notifyOnRelease = place.notifyOnRelease;
            addWidget(std::move(knob));
        }
    }
}

MyGui::~MyGui() {
    // No window may paint with the bitmaps once they are gone.
    shutWindow(false);
    EditorPlatform& bitmaps = platform();
    for (BitmapHandle bitmap : {backgroundBitmap, knobStrip, knobMask, toggleStrip})
        if (bitmap) bitmaps.freeBitmap(bitmap);
}
