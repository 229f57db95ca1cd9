// A control on the editor face, bound to one plug-in parameter and drawn only
// from bitmaps. The editor routes mouse events to it, draws it when it is
// dirty, and the widget reports its new values to the plug-in itself.
#pragma once

#include <atomic>

#include "editor/canvas.h"
#include "plugin_base/vst2_interface.h"

class ZVGui;

class WidgetBase {
public:
    WidgetBase(int left, int top, int width, int height, float initialValue);
    virtual ~WidgetBase() = default;
    WidgetBase(const WidgetBase&) = delete;
    WidgetBase& operator=(const WidgetBase&) = delete;

    // button: 0 left, 1 right. Coordinates are window client pixels.
    virtual void onMouseDown(int /*button*/, int /*x*/, int /*y*/) {}
    // A button came up over this widget while it held the capture or while
    // no widget held it.
    virtual void onClick(int /*button*/, int /*x*/, int /*y*/) {}
    virtual void onMouseEnter(int /*x*/, int /*y*/) {}
    virtual void onMouseLeave(int /*x*/, int /*y*/) {}
    // The capture this widget held has ended (button up, capture lost, editor closed).
    virtual void onRelease(int /*x*/, int /*y*/) {}
    // The pointer moved while this widget holds the capture.
    virtual void onDrag(int /*x*/, int /*y*/) {}
    // steps: +1 or -1.
    virtual void onWheelStep(int /*steps*/) {}
    virtual void draw(Canvas& /*canvas*/) {}
    // notify: also report the value to the plug-in.
    virtual void setValue(float newValue, bool notify) = 0;
    virtual float getValue() { return value.load(std::memory_order_relaxed); }

    // Strictly inside: the left column and top row, and the pixels at
    // left + width and top + height, belong to no widget.
    bool contains(int x, int y) const { return left < x && x < left + width && top < y && y < top + height; }
    PixelRect bounds() const { return {left, top, left + width, top + height}; }

    bool isDirty() const { return dirty.load(std::memory_order_relaxed); }
    void markDirty() { dirty.store(true, std::memory_order_relaxed); }
    // Clears the flag and tells whether it was set, in one step, so a widget
    // marked by another thread meanwhile is never lost.
    bool takeDirty() { return dirty.exchange(false, std::memory_order_relaxed); }

    // Placement and binding, set by the layout before the widget is added.
    int left;
    int top;
    int width;
    int height;
    VstInt32 paramIndex = 0;
    ZVGui* editor = nullptr;
    // Reports go to setParameterAutomated (the host is told) or setParameter.
    bool automated = false;

protected:
    // Sends the stored value to the plug-in through the editor's effect.
    void report();

    // Written by the window thread (mouse) and by whichever thread the host
    // changes parameters on, read by the painting thread: atomics, so a
    // value is never torn and the picture always shows a whole frame.
    std::atomic<float> value;
    std::atomic<bool> dirty{true};
};

// Limits to 0..1; NaN, which no comparison lets through, becomes 0.
inline float clampUnit(float v) {
    if (!(v > 0.0f)) return 0.0f;
    return v > 1.0f ? 1.0f : v;
}
