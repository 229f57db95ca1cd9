#include "editor/bitmap_toggle.h"

bitmap3toggle::bitmap3toggle(int left, int top, BitmapHandle strip)
    : WidgetBase(left, top, kSize, kSize, 0.0f), strip(strip) {}

// The picture depends on the value alone; these only ask for a redraw.
void bitmap3toggle::onMouseDown(int, int, int) { markDirty(); }
void bitmap3toggle::onMouseEnter(int, int) { markDirty(); }
void bitmap3toggle::onMouseLeave(int, int) { markDirty(); }
void bitmap3toggle::onRelease(int, int) { markDirty(); }

void bitmap3toggle::onClick(int, int, int) {
    // 0 -> 0.5 -> 1 -> 0; a value between the states advances by half
    // (0.3 -> 0.8 -> 0). Written so that NaN also wraps to 0.
    float next = getValue() + 0.5f;
    if (!(next <= 1.05f)) next = 0.0f;
    setValue(next, true);
    markDirty();
}

int bitmap3toggle::frameFor(float v) {
    const float position = v * 2.0f + 0.1f;
    if (!(position >= 0.0f)) return 0;
    if (position >= static_cast<float>(kFrames - 1)) return kFrames - 1;
    return static_cast<int>(position);
}

void bitmap3toggle::draw(Canvas& canvas) {
    const int frame = frameFor(getValue());
    canvas.blit(RasterOp::copy, strip, 0, frame * frameHeight, width, height, left, top);
}

void bitmap3toggle::setValue(float newValue, bool notify) {
    value.store(newValue, std::memory_order_relaxed);
    if (notify) report();
    markDirty();
}
