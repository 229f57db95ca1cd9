// FirstGenGui: the first-generation editor face, 785 x 82 pixels. One row of
// knobs, one per parameter: eight small ones for the harmonic groups
// (parameters 0..7), fifteen large ones for bandwidth, width, the filter and
// amplifier envelopes, velocity and volume (8..22). The background picture
// carries all labels. Left button only: the right button is the window
// system's, the wheel moves nothing.
#pragma once

#include <memory>

#include "editor/zv_gui.h"

class FirstGenGui : public ZVGui {
public:
    static constexpr int kWidth = 785;
    static constexpr int kHeight = 82;

    // Bitmap resource ids of the library.
    static constexpr int kBackgroundId = 101;
    static constexpr int kKnobStripId = 103;
    static constexpr int kKnobMaskId = 104;
    static constexpr int kSmallKnobMaskId = 105;
    static constexpr int kSmallKnobStripId = 106;

    // Knob sizes (square) and frames per strip.
    static constexpr int kSmallSize = 20;
    static constexpr int kSmallFrames = 32;
    static constexpr int kLargeSize = 26;
    static constexpr int kLargeFrames = 64;

    enum class KnobSize { small, large };
    struct KnobPlace {
        KnobSize size;
        int left;
        int top;
        VstInt32 paramIndex;
        bool automated;
        bool notifyOnRelease;
    };
    static constexpr int kKnobCount = 23;
    // In list order. The harmonic groups and the bandwidth report only when
    // their drag ends, and without telling the host: each of their changes
    // regenerates the wavetable.
    static constexpr KnobPlace kKnobs[kKnobCount] = {
        {KnobSize::small, 30, 38, 0, false, true},    // Wave 1
        {KnobSize::small, 53, 38, 1, false, true},    // Wave 2
        {KnobSize::small, 77, 38, 2, false, true},    // Wave 3
        {KnobSize::small, 102, 38, 3, false, true},   // Wave 4
        {KnobSize::small, 127, 38, 4, false, true},   // Wave 5
        {KnobSize::small, 150, 38, 5, false, true},   // Wave 6
        {KnobSize::small, 174, 38, 6, false, true},   // Wave 7
        {KnobSize::small, 197, 38, 7, false, true},   // Wave 8
        {KnobSize::large, 230, 35, 8, false, true},   // BndWdth
        {KnobSize::large, 266, 35, 9, true, false},   // Width
        {KnobSize::large, 302, 35, 10, true, false},  // flt A
        {KnobSize::large, 338, 35, 11, true, false},  // flt D
        {KnobSize::large, 374, 35, 12, true, false},  // flt S
        {KnobSize::large, 410, 35, 13, true, false},  // flt R
        {KnobSize::large, 446, 35, 14, true, false},  // flt Env
        {KnobSize::large, 482, 35, 15, true, false},  // flt Cut
        {KnobSize::large, 518, 35, 16, true, false},  // flt Vel
        {KnobSize::large, 554, 35, 17, true, false},  // A
        {KnobSize::large, 590, 35, 18, true, false},  // D
        {KnobSize::large, 626, 35, 19, true, false},  // S
        {KnobSize::large, 662, 35, 20, true, false},  // R
        {KnobSize::large, 698, 35, 21, true, false},  // Vel
        {KnobSize::large, 734, 35, 22, true, false},  // Vol
    };

    // A missing bitmap leaves its knobs out: no small knobs without both 105
    // and 106, no large ones without both 103 and 104, and the grey fill
    // without the background.
    FirstGenGui(AudioEffect* effect, std::unique_ptr<EditorPlatform> platform);
    ~FirstGenGui() override;

private:
    BitmapHandle backgroundBitmap;
    BitmapHandle knobStrip;
    BitmapHandle knobMask;
    BitmapHandle smallKnobStrip;
    BitmapHandle smallKnobMask;
};
