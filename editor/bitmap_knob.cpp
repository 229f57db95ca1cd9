#include "editor/bitmap_knob.h"

bitmapknob::bitmapknob(int left, int top, BitmapHandle strip, BitmapHandle mask)
    : bitmapknob(left, top, kSize, kSize, strip, mask, kSize, kFrames) {}

bitmapknob::bitmapknob(int left, int top, int width, int height, BitmapHandle strip, BitmapHandle mask, int frameHeight,
                       int frameCount)
    : WidgetBase(left, top, width, height, 0.5f),
      frameCount(frameCount),
      frameHeight(frameHeight),
      strip(strip),
      mask(mask) {}

void bitmapknob::onMouseDown(int button, int, int y) {
    fineDrag = (button == 1);
    dragOriginY = y;
}

void bitmapknob::onDrag(int, int y) {
    const float rate = fineDrag ? kFineRate : kCoarseRate;
    const float current = getValue();
    const float wanted = current - static_cast<float>(y - dragOriginY) * rate;
    const float next = clampUnit(wanted);
    const auto thousandths = [](float v) { return static_cast<int>(v * 1000.0f); };
    if (thousandths(current) != thousandths(next)) {
        dragOriginY = y;
        setValue(next, !notifyOnRelease);
    } else if (wanted != next) {
        // Pushing on past an end stop is discarded, and the way back starts
        // from here.
        dragOriginY = y;
    }
    // Otherwise the origin stays: a move too small to change the value's
    // thousandths (one pixel at the fine rate) adds up with the next ones
    // instead of being lost.
}

void bitmapknob::onRelease(int, int) {
    // A knob silent during the drag reports once, when the drag ends.
    if (notifyOnRelease) report();
    markDirty();
}

void bitmapknob::onWheelStep(int steps) {
    // The wheel reports at once, also on a knob that reports on release.
    setValue(clampUnit(getValue() + static_cast<float>(steps) * kWheelStep), true);
}

void bitmapknob::draw(Canvas& canvas) {
    const int frame = frameOf(getValue());
    canvas.blit(RasterOp::andSource, mask, 0, 0, width, height, left, top);
    canvas.blit(RasterOp::orSource, strip, 0, frame * frameHeight, width, height, left, top);
}

void bitmapknob::setValue(float newValue, bool notify) { storeValue(clampUnit(newValue), notify); }

void bitmapknob::storeValue(float clamped, bool notify) {
    if (clamped == getValue()) return;
    value.store(clamped, std::memory_order_relaxed);
    // Marked before the report, so the redraw the plug-in asks for while
    // handling the report already includes this knob.
    const int frame = frameOf(clamped);
    if (lastFrame.exchange(frame, std::memory_order_relaxed) != frame) markDirty();
    if (notify) report();
}
