// A knob seen from above: a dark track ring with the value arc lit from the
// minimum to the pointer, and a shaded cap with a pointer line. Drawn for a
// 24-pixel knob and scaled to the size asked for.
#include <cmath>

#include "tools/facegen/art.h"

namespace art {
namespace {

constexpr double kRingRadius = 10.3;
constexpr double kRingWidth = 2.2;
constexpr double kCapRadius = 7.6;
constexpr double kPointerInner = 2.6;
constexpr double kPointerOuter = 6.4;

// cairo measures angles from the +x axis; ours start straight up.
double cairoAngle(double fromUp) { return fromUp - std::acos(-1.0) / 2; }

void paintKnob(cairo_t* cr, double angle) {
    const double c = kKnobHalf;
    const double start = cairoAngle(frameAngle(0, 2));
    const double end = cairoAngle(frameAngle(1, 2));
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    cairo_set_line_width(cr, kRingWidth);
    // Track over the whole sweep, then the lit part up to the pointer.
    setColour(cr, rgb(kWell));
    cairo_arc(cr, c, c, kRingRadius, start, end);
    cairo_stroke(cr);
    if (angle > frameAngle(0, 2) + 1e-9) {
        cairo_pattern_t* lit = cairo_pattern_create_linear(0, 2 * c, 2 * c, 0);
        const Rgb deep = rgb(kAccentDeep), bright = rgb(kAccent);
        cairo_pattern_add_color_stop_rgb(lit, 0.0, deep.r, deep.g, deep.b);
        cairo_pattern_add_color_stop_rgb(lit, 0.8, bright.r, bright.g, bright.b);
        cairo_set_source(cr, lit);
        cairo_arc(cr, c, c, kRingRadius, start, cairoAngle(angle));
        cairo_stroke(cr);
        cairo_pattern_destroy(lit);
    }

    // The cap: dark rim, body lit from the upper left.
    setColour(cr, rgb(0x0C0F13));
    cairo_arc(cr, c, c + 0.5, kCapRadius + 0.6, 0, 2 * std::acos(-1.0));
    cairo_fill(cr);
    cairo_pattern_t* body = cairo_pattern_create_radial(c - 2.6, c - 3.2, 0.5, c, c, kCapRadius + 1);
    cairo_pattern_add_color_stop_rgb(body, 0.0, 0.46, 0.50, 0.57);
    cairo_pattern_add_color_stop_rgb(body, 0.55, 0.24, 0.27, 0.32);
    cairo_pattern_add_color_stop_rgb(body, 1.0, 0.13, 0.15, 0.18);
    cairo_set_source(cr, body);
    cairo_arc(cr, c, c, kCapRadius, 0, 2 * std::acos(-1.0));
    cairo_fill(cr);
    cairo_pattern_destroy(body);
    // A thin bright edge along the top of the cap.
    cairo_pattern_t* edge = cairo_pattern_create_linear(0, c - kCapRadius, 0, c + kCapRadius);
    cairo_pattern_add_color_stop_rgba(edge, 0.0, 1, 1, 1, 0.35);
    cairo_pattern_add_color_stop_rgba(edge, 0.6, 1, 1, 1, 0.0);
    cairo_set_source(cr, edge);
    cairo_set_line_width(cr, 0.8);
    cairo_arc(cr, c, c, kCapRadius - 0.4, 0, 2 * std::acos(-1.0));
    cairo_stroke(cr);
    cairo_pattern_destroy(edge);

    // Pointer.
    const double dx = std::sin(angle), dy = -std::cos(angle);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 1.9);
    setColour(cr, rgb(kText));
    cairo_move_to(cr, c + dx * kPointerInner, c + dy * kPointerInner);
    cairo_line_to(cr, c + dx * kPointerOuter, c + dy * kPointerOuter);
    cairo_stroke(cr);
}

}  // namespace

void drawKnob(PixelImage& strip, PixelImage& mask, int size, int frames) {
    const double scale = size / (2 * kKnobHalf);
    strip = PixelImage(size, size * frames);
    mask = PixelImage(size, size, 0xFFFFFF);
    std::vector<PixelImage> pictures;
    for (int frame = 0; frame < frames; ++frame) {
        const double angle = frameAngle(frame, frames);
        // Over the faceplate for the colours, over nothing for the coverage.
        cairo_surface_t* colour = cairo_image_surface_create(CAIRO_FORMAT_RGB24, size, size);
        cairo_surface_t* coverage = cairo_image_surface_create(CAIRO_FORMAT_A8, size, size);
        cairo_t* cr = cairo_create(colour);
        setColour(cr, rgb(kFaceplate));
        cairo_paint(cr);
        cairo_scale(cr, scale, scale);
        paintKnob(cr, angle);
        cairo_destroy(cr);
        cr = cairo_create(coverage);
        cairo_scale(cr, scale, scale);
        paintKnob(cr, angle);
        cairo_destroy(cr);

        pictures.push_back(toImage(colour));
        cairo_surface_flush(coverage);
        const unsigned char* alpha = cairo_image_surface_get_data(coverage);
        const int stride = cairo_image_surface_get_stride(coverage);
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                if (alpha[y * stride + x] != 0) mask.at(x, y) = 0;
        cairo_surface_destroy(colour);
        cairo_surface_destroy(coverage);
    }
    // Every frame is black wherever the mask keeps the face.
    for (int frame = 0; frame < frames; ++frame)
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                strip.at(x, frame * size + y) = mask.at(x, y) == 0 ? pictures[frame].at(x, y) : 0;
}

}  // namespace art
