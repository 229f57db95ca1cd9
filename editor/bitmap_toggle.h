// bitmap3toggle: a button cycling through three states 0, 0.5 and 1, drawn
// as one of three opaque frames stacked in a strip (frame 0 at the top).
#pragma once

#include "editor/widget_base.h"

class bitmap3toggle : public WidgetBase {
public:
    static constexpr int kSize = 21;
    static constexpr int kFrames = 3;

    bitmap3toggle(int left, int top, BitmapHandle strip);

    void onMouseDown(int button, int x, int y) override;
    void onClick(int button, int x, int y) override;
    void onMouseEnter(int x, int y) override;
    void onMouseLeave(int x, int y) override;
    void onRelease(int x, int y) override;
    void draw(Canvas& canvas) override;
    // Stored as given, also outside 0..1: the plug-in keeps host values unclamped.
    void setValue(float newValue, bool notify) override;

    // Frame for a value: trunc(value x 2 + 0.1), so below 0.45 frame 0, up to
    // below 0.95 frame 1, above that frame 2. Values a host sent outside the
    // three states (also NaN) still pick one of the three frames.
    static int frameFor(float value);

    BitmapHandle strip;
    int frameHeight = kSize;
};
