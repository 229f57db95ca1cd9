// The harmonic amplitude button: a dark well with a level that is empty,
// half full or full, so the three states read as amplitudes at a glance.
#include <cmath>

#include "editor/bitmap_toggle.h"
#include "tools/facegen/art.h"

namespace art {
namespace {

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    const double pi = std::acos(-1.0);
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -pi / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, pi / 2);
    cairo_arc(cr, x + r, y + h - r, r, pi / 2, pi);
    cairo_arc(cr, x + r, y + r, r, pi, 3 * pi / 2);
    cairo_close_path(cr);
}

// level: 0, 0.5 or 1.
void paintToggle(cairo_t* cr, double level) {
    const double size = bitmap3toggle::kSize;
    setColour(cr, rgb(kFaceplate));
    cairo_paint(cr);
    // The well, with its rim.
    roundedRect(cr, 1.5, 1.5, size - 3, size - 3, 3);
    setColour(cr, rgb(kWell));
    cairo_fill_preserve(cr);
    setColour(cr, rgb(kOutline));
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);

    // The level inside: 4..17 in both directions, in a faint frame that
    // shows how much a full level would take.
    const double inner = 4, span = size - 8;
    roundedRect(cr, inner + 0.5, inner + 0.5, span - 1, span - 1, 1.5);
    setColour(cr, rgb(kOutline), 0.45);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
    if (level <= 0) return;
    const double top = inner + span * (1 - level);
    roundedRect(cr, inner, top, span, inner + span - top, 1.5);
    cairo_pattern_t* fill = cairo_pattern_create_linear(0, inner, 0, inner + span);
    const Rgb bright = rgb(kAccent), deep = rgb(kAccentDeep);
    cairo_pattern_add_color_stop_rgb(fill, 0.0, std::min(1.0, bright.r + 0.05), std::min(1.0, bright.g + 0.12),
                                     std::min(1.0, bright.b + 0.15));
    cairo_pattern_add_color_stop_rgb(fill, 1.0, deep.r, deep.g, deep.b);
    cairo_set_source(cr, fill);
    cairo_fill(cr);
    cairo_pattern_destroy(fill);
    // A bright surface line on top of the level.
    setColour(cr, rgb(0xFFE2A8), 0.9);
    cairo_rectangle(cr, inner + 1, top, span - 2, 1);
    cairo_fill(cr);
}

}  // namespace

PixelImage drawToggleStrip() {
    const int size = bitmap3toggle::kSize, frames = bitmap3toggle::kFrames;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, size, size * frames);
    cairo_t* cr = cairo_create(surface);
    for (int frame = 0; frame < frames; ++frame) {
        cairo_save(cr);
        cairo_rectangle(cr, 0, frame * size, size, size);
        cairo_clip(cr);
        cairo_translate(cr, 0, frame * size);
        paintToggle(cr, frame * 0.5);
        cairo_restore(cr);
    }
    cairo_destroy(cr);
    PixelImage strip = toImage(surface);
    cairo_surface_destroy(surface);
    return strip;
}

}  // namespace art
