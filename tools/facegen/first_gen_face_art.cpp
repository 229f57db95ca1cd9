// The first-generation face: one strip of three sections (the harmonic groups
// with bandwidth and width, the filter, the amplifier), every knob's name
// under it and its end marks around it, the instrument's name in the last
// section's top line. Same palette and panel pieces as the third generation.
#include <string>

#include "first_generation/editor/first_gen_gui.h"
#include "tools/facegen/art.h"

namespace art {
namespace {

// Names as the host shows them, in the layout's knob order.
const char* const kNames[FirstGenGui::kKnobCount] = {"Wave 1", "Wave 2", "Wave 3",  "Wave 4",  "Wave 5",  "Wave 6",
                                                     "Wave 7", "Wave 8", "BndWdth", "Width",   "flt A",   "flt D",
                                                     "flt S",  "flt R",  "flt Env", "flt Cut", "flt Vel", "A",
                                                     "D",      "S",      "R",       "Vel",     "Vol"};

// Sections meet in the narrow gaps between "Width" and "flt A" and between
// "flt Vel" and "A".
const Section kSections[] = {
    {"HARMONICS", 4, 6, 297, 79},
    {"FILTER", 298, 6, 550, 79},
    {"AMPLIFIER", 551, 6, 781, 79},
};
// Names sit on one baseline under the knobs, except that the small knobs
// are too close for their names side by side: every other one goes above.
constexpr double kLabelBaseline = 72;
constexpr double kUpperBaseline = 32;
const Font kWaveFont{7.0, true, true, 0.0};

void drawKnobSurround(cairo_t* cr, int index) {
    const FirstGenGui::KnobPlace& place = FirstGenGui::kKnobs[index];
    const bool small = place.size == FirstGenGui::KnobSize::small;
    const int size = small ? FirstGenGui::kSmallSize : FirstGenGui::kLargeSize;
    const double half = size / 2.0, reach = kKnobReach * size / (2 * kKnobHalf);
    const double cx = place.left + half, cy = place.top + half;
    scaleMark(cr, cx, cy, frameAngle(0, 2), reach + 0.8, reach + 2.8, 0.8);
    scaleMark(cr, cx, cy, frameAngle(1, 2), reach + 0.8, reach + 2.8, 0.8);
    const double baseline = small && index % 2 == 0 ? kUpperBaseline : kLabelBaseline;
    text(cr, kNames[index], cx, baseline, small ? kWaveFont : kLabelFont, rgb(kText));
}

}  // namespace

PixelImage drawFirstGenFace() {
    return drawOnFaceplate(FirstGenGui::kWidth, FirstGenGui::kHeight, [](cairo_t* cr) {
        for (const Section& s : kSections) drawSection(cr, s);
        // Harmonic groups apart from bandwidth and width; envelope apart from amounts.
        verticalRule(cr, 223, 20, 74);
        verticalRule(cr, 443, 20, 74);
        verticalRule(cr, 695, 20, 74);
        for (int k = 0; k < FirstGenGui::kKnobCount; ++k) drawKnobSurround(cr, k);

        // The name interrupts the top line at the right end, as the titles do at the left.
        const Font nameFont{8.0, true, false, 2.4};
        const double nameRight = kSections[2].right - 12, width = textWidth(cr, "NUBBEL", nameFont);
        setColour(cr, rgb(kFaceplate));
        cairo_rectangle(cr, nameRight - width - 4, kSections[2].top - 1, width + 8, 3);
        cairo_fill(cr);
        text(cr, "NUBBEL", nameRight, kSections[2].top + 3.5, nameFont, rgb(kText), Align::right);
    });
}

}  // namespace art
