// The artwork of both editors, drawn with cairo: the faces (background with
// every label), the three-state button strip, and the knob strips with their
// masks. One palette and one set of panel pieces for all of it.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <functional>
#include <string>

#include "editor/soft/pixel_image.h"

namespace art {

struct Rgb {
    double r, g, b;
};
constexpr Rgb rgb(std::uint32_t hex) {
    return {((hex >> 16) & 0xFF) / 255.0, ((hex >> 8) & 0xFF) / 255.0, (hex & 0xFF) / 255.0};
}

// The faceplate is one flat colour wherever a knob or button sits, so that
// their anti-aliased edges, blended with it in advance, meet it seamlessly.
constexpr std::uint32_t kFaceplate = 0x232A34;
constexpr std::uint32_t kOutline = 0x465365;
constexpr std::uint32_t kWell = 0x11151B;
constexpr std::uint32_t kText = 0xE6DFCD;
constexpr std::uint32_t kMuted = 0x8391A2;
constexpr std::uint32_t kAccent = 0xF2A23A;
constexpr std::uint32_t kAccentDeep = 0xB8661E;

void setColour(cairo_t* cr, Rgb c, double alpha = 1.0);

enum class Align { left, centre, right };
struct Font {
    double size;
    bool bold;
    bool condensed;
    double tracking;  // extra pixels after each letter
};
// Text with its baseline at y; x is the left end, the centre or the right end.
void text(cairo_t* cr, const std::string& s, double x, double y, const Font& font, Rgb colour,
          Align align = Align::centre);
double textWidth(cairo_t* cr, const std::string& s, const Font& font);

inline const Font kTitleFont{8.0, true, false, 1.6};
inline const Font kLabelFont{8.5, true, true, 0.2};
inline const Font kNumberFont{7.0, false, true, 0.0};
inline const Font kSmallFont{6.5, false, true, 0.0};

// A face of width x height: the flat faceplate, then whatever draw adds.
PixelImage drawOnFaceplate(int width, int height, const std::function<void(cairo_t*)>& draw);

// An outlined panel with rounded corners, its title set into the top line.
struct Section {
    const char* title;
    double left, top, right, bottom;
};
void roundedOutline(cairo_t* cr, double l, double t, double r, double b, double radius);
void drawSection(cairo_t* cr, const Section& s);
// A faint one-pixel rule between groups of controls.
void verticalRule(cairo_t* cr, double x, double top, double bottom);
// A short mark outside a knob at a pointer angle.
void scaleMark(cairo_t* cr, double cx, double cy, double angle, double inner, double outer, double alpha);

// cairo's RGB24 surface to a PixelImage (same 0x00RRGGBB words).
PixelImage toImage(cairo_surface_t* surface);

// The third-generation face, 616 x 287.
PixelImage drawFace();
// The first-generation face, 785 x 82.
PixelImage drawFirstGenFace();
// The button strip: 21 x 63, frames off, half, full from the top.
PixelImage drawToggleStrip();
// A knob strip (size x size x frames, black around the knob) and its mask
// (size x size, black where any frame draws, white elsewhere).
void drawKnob(PixelImage& strip, PixelImage& mask, int size, int frames);

// Knob geometry shared by the knob frames and the scale marks on the face.
constexpr double kKnobHalf = 12.0;
constexpr double kSweepDegrees = 270.0;
// Pointer angle of a frame, in radians, clockwise from straight up.
double frameAngle(int frame, int frameCount);
// Radius beyond which the face may draw around a knob: nothing of the knob reaches it.
constexpr double kKnobReach = 12.0;

}  // namespace art
