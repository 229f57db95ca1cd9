// MyGui: the third-generation editor face, 616 x 287 pixels. 32 three-state
// buttons for the harmonic amplitudes (parameters 0..31), 16 knobs and the
// octave step knob (32..48), over a background picture that carries all
// labels (the editor itself draws no text).
#pragma once

#include <memory>

#include "editor/zv_gui.h"

class MyGui : public ZVGui {
public:
    static constexpr int kWidth = 616;
    static constexpr int kHeight = 287;

    // Bitmap resource ids of the library.
    static constexpr int kBackgroundId = 101;
    static constexpr int kToggleStripId = 102;
    static constexpr int kKnobStripId = 103;
    static constexpr int kKnobMaskId = 104;

    // Harmonic rows: 16 columns, 24 pixels apart from x = 16; upper row at
    // y = 24 (harmonics 1..16), lower row at y = 48 (17..32).
    static constexpr int kHarmonicColumns = 16;
    static constexpr int kColumnLeft = 16;
    static constexpr int kColumnPitch = 24;
    static constexpr int kUpperRowTop = 24;
    static constexpr int kLowerRowTop = 48;

    enum class KnobKind { continuous, stepped };
    struct KnobPlace {
        KnobKind kind;
        int left;
        int top;
        VstInt32 paramIndex;
        bool automated;
        bool notifyOnRelease;
    };
    static constexpr int kKnobCount = 17;
    // In list order. "BW" reports only when its drag ends, and without
    // telling the host: each change regenerates the wavetable.
    static constexpr KnobPlace kKnobs[kKnobCount] = {
        {KnobKind::continuous, 440, 40, 32, false, true},   // BW
        {KnobKind::continuous, 496, 40, 33, true, false},   // SW
        {KnobKind::stepped, 536, 40, 34, true, false},      // OCT
        {KnobKind::continuous, 576, 40, 35, true, false},   // SUB
        {KnobKind::continuous, 40, 135, 36, true, false},   // F_A
        {KnobKind::continuous, 80, 135, 37, true, false},   // F_D
        {KnobKind::continuous, 120, 135, 38, true, false},  // F_S
        {KnobKind::continuous, 160, 135, 39, true, false},  // F_R
        {KnobKind::continuous, 200, 135, 40, true, false},  // F_Env
        {KnobKind::continuous, 240, 135, 41, true, false},  // F_Cut
        {KnobKind::continuous, 280, 135, 42, true, false},  // F_Vel
        {KnobKind::continuous, 352, 135, 43, true, false},  // A
        {KnobKind::continuous, 392, 135, 44, true, false},  // D
        {KnobKind::continuous, 432, 135, 45, true, false},  // S
        {KnobKind::continuous, 472, 135, 46, true, false},  // R
        {KnobKind::continuous, 512, 135, 47, true, false},  // Vel
        {KnobKind::continuous, 552, 135, 48, true, false},  // Vol
    };

    // A missing bitmap leaves its widgets out: no toggles without the toggle
    // strip, no knobs without both knob strip and mask, and the grey fill
    // without the background.
    MyGui(AudioEffect* effect, std::unique_ptr<EditorPlatform> platform);
    ~MyGui() override;

private:
    BitmapHandle backgroundBitmap;
    BitmapHandle toggleStrip;
    BitmapHandle knobStrip;
    BitmapHandle knobMask;
};
