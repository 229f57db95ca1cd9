#include "editor/bitmap_step_knob.h"

#include <cmath>

bitmapstepknob::bitmapstepknob(int left, int top, BitmapHandle strip, BitmapHandle mask)
    : bitmapknob(left, top, strip, mask) {}

void bitmapstepknob::onMouseDown(int, int, int y) { dragOriginY = y; }

void bitmapstepknob::onDrag(int, int y) {
    const float accumulated =
        clampUnit(dragValue.load(std::memory_order_relaxed) - static_cast<float>(y - dragOriginY) * kCoarseRate);
    dragValue.store(accumulated, std::memory_order_relaxed);
    dragOriginY = y;
    // Strictly within half a step: at an exact midpoint no position qualifies
    // and the value stays, so moving on takes a little over 25 pixels.
    for (int i = 0; i <= stepCount; ++i) {
        const float position = static_cast<float>(i) * stepSize;
        if (stepSize * 0.5f > std::fabs(position - accumulated)) setValue(position, true);
    }
}

void bitmapstepknob::onWheelStep(int) {}

void bitmapstepknob::setValue(float newValue, bool notify) {
    const float clamped = clampUnit(newValue);
    // The accumulator restarts before the report goes out.
    if (clamped != getValue()) dragValue.store(clamped, std::memory_order_relaxed);
    storeValue(clamped, notify);
}
