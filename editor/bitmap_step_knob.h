// bitmapstepknob: a knob with stepCount + 1 positions stepSize apart (0,
// 0.25, 0.5, 0.75, 1), drawn and released like bitmapknob. Dragging adds up
// an unquantised value and snaps to the position within half a step of it.
#pragma once

#include "editor/bitmap_knob.h"

class bitmapstepknob : public bitmapknob {
public:
    static constexpr int kSteps = 4;
    static constexpr float kStepSize = 0.25f;

    bitmapstepknob(int left, int top, BitmapHandle strip, BitmapHandle mask);

    // The button does not matter: there is no fine rate.
    void onMouseDown(int button, int x, int y) override;
    void onDrag(int x, int y) override;
    void onWheelStep(int steps) override;
    // As bitmapknob's; a changed value also restarts the drag accumulator
    // from it. Host values are not quantised.
    void setValue(float newValue, bool notify) override;

    int stepCount = kSteps;
    float stepSize = kStepSize;
    std::atomic<float> dragValue{0.5f};
};
