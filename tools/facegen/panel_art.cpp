// The pieces both faces are built from, so the two instruments look like one
// family: outlined sections with their titles set into the top line, rules
// between groups of controls, and scale marks around knobs.
#include <cmath>

#include "tools/facegen/art.h"

namespace art {
namespace {
const double kPi = std::acos(-1.0);
}  // namespace

PixelImage drawOnFaceplate(int width, int height, const std::function<void(cairo_t*)>& draw) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    cairo_t* cr = cairo_create(surface);
    setColour(cr, rgb(kFaceplate));
    cairo_paint(cr);
    draw(cr);
    cairo_destroy(cr);
    PixelImage face = toImage(surface);
    cairo_surface_destroy(surface);
    return face;
}

void roundedOutline(cairo_t* cr, double l, double t, double r, double b, double radius) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, r - radius, t + radius, radius, -kPi / 2, 0);
    cairo_arc(cr, r - radius, b - radius, radius, 0, kPi / 2);
    cairo_arc(cr, l + radius, b - radius, radius, kPi / 2, kPi);
    cairo_arc(cr, l + radius, t + radius, radius, kPi, 3 * kPi / 2);
    cairo_close_path(cr);
}

void drawSection(cairo_t* cr, const Section& s) {
    // Half-pixel positions put a one-pixel line on whole pixels.
    roundedOutline(cr, s.left + 0.5, s.top + 0.5, s.right - 0.5, s.bottom - 0.5, 5);
    setColour(cr, rgb(kOutline));
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
    // The title interrupts the top line, 10 pixels in.
    const double x = s.left + 12, width = textWidth(cr, s.title, kTitleFont);
    setColour(cr, rgb(kFaceplate));
    cairo_rectangle(cr, x - 4, s.top - 1, width + 8, 3);
    cairo_fill(cr);
    text(cr, s.title, x, s.top + 3.5, kTitleFont, rgb(kAccent), Align::left);
}

void verticalRule(cairo_t* cr, double x, double top, double bottom) {
    setColour(cr, rgb(kOutline), 0.6);
    cairo_rectangle(cr, x, top, 1, bottom - top);
    cairo_fill(cr);
}

void scaleMark(cairo_t* cr, double cx, double cy, double angle, double inner, double outer, double alpha) {
    const double dx = std::sin(angle), dy = -std::cos(angle);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 1.2);
    setColour(cr, rgb(kMuted), alpha);
    cairo_move_to(cr, cx + dx * inner, cy + dy * inner);
    cairo_line_to(cr, cx + dx * outer, cy + dy * outer);
    cairo_stroke(cr);
}

}  // namespace art
