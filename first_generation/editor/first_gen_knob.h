// The first generation's knob: a bitmapknob of any size and frame count that
// knows only the left button's drag. No fine rate (0.005 per pixel always)
// and no wheel: the first-generation face was played with a plain drag alone,
// and a second way in would change programs behind the musician's back.
#pragma once

#include "editor/bitmap_knob.h"

class FirstGenKnob : public bitmapknob {
public:
    FirstGenKnob(int left, int top, int size, BitmapHandle strip, BitmapHandle mask, int frameCount)
        : bitmapknob(left, top, size, size, strip, mask, size, frameCount) {}

    // The button is ignored: every drag runs at the coarse rate.
    void onMouseDown(int /*button*/, int /*x*/, int y) override {
        fineDrag = false;
        dragOriginY = y;
    }
    void onWheelStep(int /*steps*/) override {}
};
