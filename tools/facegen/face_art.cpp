// The face: flat faceplate, four outlined sections with their titles set into
// the top line, every control's name, the harmonic numbers, scale marks
// around the knobs, and the name plate with an ornamental grille.
#include <cmath>
#include <string>

#include "editor/my_gui.h"
#include "tools/facegen/art.h"

namespace art {
namespace {

const double kPi = std::acos(-1.0);

// Names as the host shows them, in the layout's knob order.
const char* const kKnobNames[MyGui::kKnobCount] = {"BW",    "SW",    "OCT", "SUB", "F_A", "F_D", "F_S", "F_R", "F_Env",
                                                   "F_Cut", "F_Vel", "A",   "D",   "S",   "R",   "Vel", "Vol"};
// Octave transposition at the step knob's five positions.
const char* const kOctaveMarks[5] = {"-1", "0", "+1", "+2", "+3"};
constexpr int kOctaveKnob = 2;

// Outer margins of 12 (top row) and 36 (bottom row) pixels on both ends.
const Section kSections[] = {
    {"SPECTRUM", 4, 7, 476, 96},
    {"VOICE", 482, 7, 612, 96},
    {"FILTER", 4, 110, 325, 191},
    {"AMPLIFIER", 331, 110, 612, 191},
};

void drawKnobSurround(cairo_t* cr, int index) {
    const MyGui::KnobPlace& place = MyGui::kKnobs[index];
    const double cx = place.left + kKnobHalf, cy = place.top + kKnobHalf;
    const double inner = kKnobReach + 0.8, outer = kKnobReach + 2.8;
    if (index == kOctaveKnob) {
        // The five positions, at the angles of the frames they show.
        const int frames[5] = {0, 15, 31, 47, 63};
        for (int i = 0; i < 5; ++i) {
            const double angle = frameAngle(frames[i], 64);
            scaleMark(cr, cx, cy, angle, inner, outer, 0.9);
            // Each number sits beyond its mark, on the side the mark points to.
            const double r = outer + 2.0, sx = std::sin(angle), cyOffset = -std::cos(angle);
            const Align side = sx < -0.3 ? Align::right : sx > 0.3 ? Align::left : Align::centre;
            text(cr, kOctaveMarks[i], cx + sx * r, cy + cyOffset * (r + 2.5) + 2.3, kSmallFont, rgb(kMuted), side);
        }
    } else {
        // Minimum and maximum.
        scaleMark(cr, cx, cy, frameAngle(0, 2), inner, outer, 0.8);
        scaleMark(cr, cx, cy, frameAngle(1, 2), inner, outer, 0.8);
    }
    text(cr, kKnobNames[index], cx, place.top + 24 + 11, kLabelFont, rgb(kText));
}

void drawHarmonicNumbers(cairo_t* cr) {
    for (int i = 0; i < MyGui::kHarmonicColumns; ++i) {
        const double cx = MyGui::kColumnLeft + MyGui::kColumnPitch * i + 10.5;
        text(cr, std::to_string(i + 1), cx, MyGui::kUpperRowTop - 3, kNumberFont, rgb(kMuted));
        text(cr, std::to_string(i + 17), cx, MyGui::kLowerRowTop + 21 + 9, kNumberFont, rgb(kMuted));
    }
}

// An even field of small round holes, like a speaker grille: ornament that
// nobody can mistake for a display of the sound, since every hole is alike.
void drawGrille(cairo_t* cr, double left, double top, double right, double bottom) {
    constexpr double kPitch = 6.0, kRadius = 1.3;
    for (double y = top + kPitch / 2; y < bottom; y += kPitch)
        for (double x = left + kPitch / 2; x < right; x += kPitch) {
            setColour(cr, rgb(kWell));
            cairo_arc(cr, x, y, kRadius, 0, 2 * kPi);
            cairo_fill(cr);
        }
}

void drawNamePlate(cairo_t* cr) {
    const Section plate{nullptr, 4, 199, 612, 283};
    roundedOutline(cr, plate.left + 0.5, plate.top + 0.5, plate.right - 0.5, plate.bottom - 0.5, 5);
    setColour(cr, rgb(kOutline));
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
    text(cr, "NUBBEL", 24, 246, Font{30, false, false, 4.0}, rgb(kText), Align::left);
    const double nameEnd = 24 + textWidth(cr, "NUBBEL", Font{30, false, false, 4.0}) + 6;
    text(cr, "3", nameEnd, 246, Font{30, true, false, 0}, rgb(kAccent), Align::left);
    text(cr, "HARMONIC PAD SYNTHESIZER", 26, 265, Font{7.5, false, false, 2.2}, rgb(kMuted), Align::left);
    drawGrille(cr, 300, 214, 596, 268);
}

}  // namespace

PixelImage drawFace() {
    return drawOnFaceplate(MyGui::kWidth, MyGui::kHeight, [](cairo_t* cr) {
        for (const Section& s : kSections) drawSection(cr, s);
        // Harmonic buttons apart from bandwidth; envelopes apart from amounts.
        verticalRule(cr, 417, 20, 86);
        verticalRule(cr, 192, 124, 180);
        verticalRule(cr, 504, 124, 180);

        drawHarmonicNumbers(cr);
        text(cr, "off \xC2\xB7 half \xC2\xB7 full", 397, 90, kSmallFont, rgb(kMuted), Align::right);
        text(cr, "harmonic amplitudes", 16, 90, kSmallFont, rgb(kMuted), Align::left);
        for (int k = 0; k < MyGui::kKnobCount; ++k) drawKnobSurround(cr, k);
        drawNamePlate(cr);
    });
}

}  // namespace art
