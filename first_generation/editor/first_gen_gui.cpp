#include "first_generation/editor/first_gen_gui.h"

#include <initializer_list>
#include <utility>

#include "first_generation/editor/first_gen_knob.h"

FirstGenGui::FirstGenGui(AudioEffect* effect, std::unique_ptr<EditorPlatform> platform)
    : ZVGui(effect, kWidth, kHeight, std::move(platform)) {
    rightButtonUsed = false;
    EditorPlatform& bitmaps = this->platform();
    backgroundBitmap = bitmaps.loadBitmap(kBackgroundId);
    knobStrip = bitmaps.loadBitmap(kKnobStripId);
    knobMask = bitmaps.loadBitmap(kKnobMaskId);
    smallKnobStrip = bitmaps.loadBitmap(kSmallKnobStripId);
    smallKnobMask = bitmaps.loadBitmap(kSmallKnobMaskId);

    background = backgroundBitmap;
    hasBackground = backgroundBitmap != nullptr;

    const bool haveSmall = smallKnobStrip && smallKnobMask;
    const bool haveLarge = knobStrip && knobMask;
    for (const KnobPlace& place : kKnobs) {
        const bool small = place.size == KnobSize::small;
        if (small ? !haveSmall : !haveLarge) continue;
        auto knob = small ? std::make_unique<FirstGenKnob>(place.left, place.top, kSmallSize, smallKnobStrip,
                                                           smallKnobMask, kSmallFrames)
                          : std::make_unique<FirstGenKnob>(place.left, place.top, kLargeSize, knobStrip, knobMask,
                                                           kLargeFrames);
        knob->paramIndex = place.paramIndex;
        knob->automated = place.automated;
        knob->notifyOnRelease = place.notifyOnRelease;
        addWidget(std::move(knob));
    }
}

FirstGenGui::~FirstGenGui() {
    // No window may paint with the bitmaps once they are gone.
    shutWindow(false);
    EditorPlatform& bitmaps = platform();
    for (BitmapHandle bitmap : {backgroundBitmap, knobStrip, knobMask, smallKnobStrip, smallKnobMask})
        if (bitmap) bitmaps.freeBitmap(bitmap);
}
