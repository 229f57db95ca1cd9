// bitmapknob: a continuous knob dragged vertically, drawn as one frame of a
// picture strip through a mask. The mask is black where the knob is and white
// around it; every strip frame is black around the knob. AND with the mask
// clears exactly the knob's area, OR then paints the frame into it, so a knob
// can be redrawn over its previous frame without the background.
#pragma once

#include "editor/widget_base.h"

class bitmapknob : public WidgetBase {
public:
    static constexpr int kSize = 24;
    static constexpr int kFrames = 64;
    // Value change per pixel of vertical travel: the full range takes 200
    // pixels, or 2000 with the right button.
    static constexpr float kCoarseRate = 0.005f;
    static constexpr float kFineRate = 0.0005f;
    static constexpr float kWheelStep = 0.01f;

    // The 24 x 24 knob with 64 frames.
    bitmapknob(int left, int top, BitmapHandle strip, BitmapHandle mask);
    // Any size and frame count (the first-generation face uses two sizes).
    bitmapknob(int left, int top, int width, int height, BitmapHandle strip, BitmapHandle mask, int frameHeight,
               int frameCount);

    void onMouseDown(int button, int x, int y) override;
    void onRelease(int x, int y) override;
    void onDrag(int x, int y) override;
    void onWheelStep(int steps) override;
    void draw(Canvas& canvas) override;
    // Clamped to 0..1. An unchanged value does nothing at all; a changed one
    // marks the knob dirty only when the frame it shows changes.
    void setValue(float newValue, bool notify) override;

    // trunc((frameCount - 1) x value) for a value in 0..1.
    int frameOf(float v) const { return static_cast<int>(static_cast<float>(frameCount - 1) * v); }

    int dragOriginY = 0;
    // Frame for which the knob was last marked dirty; none yet at first.
    std::atomic<int> lastFrame{-1000};
    int frameCount;
    int frameHeight;
    BitmapHandle strip;
    BitmapHandle mask;
    // Report only when the drag ends, not while dragging.
    bool notifyOnRelease = false;
    // The current drag runs at the fine rate (right button).
    bool fineDrag = false;

protected:
    // Stores a value already clamped; the part shared by both knob kinds.
    void storeValue(float clamped, bool notify);
};
