#include <cmath>

#include "tools/facegen/art.h"

namespace art {

void setColour(cairo_t* cr, Rgb c, double alpha) { cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha); }

namespace {
void selectFont(cairo_t* cr, const Font& font) {
    cairo_select_font_face(cr, font.condensed ? "DejaVu Sans Condensed" : "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                           font.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, font.size);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
}
}  // namespace

double textWidth(cairo_t* cr, const std::string& s, const Font& font) {
    selectFont(cr, font);
    double width = 0;
    for (std::size_t i = 0; i < s.size();) {
        // One UTF-8 character at a time, so the tracking goes between letters.
        std::size_t length = 1;
        while (i + length < s.size() && (static_cast<unsigned char>(s[i + length]) & 0xC0) == 0x80) ++length;
        cairo_text_extents_t e;
        cairo_text_extents(cr, s.substr(i, length).c_str(), &e);
        width += e.x_advance + (i + length < s.size() ? font.tracking : 0.0);
        i += length;
    }
    return width;
}

void text(cairo_t* cr, const std::string& s, double x, double y, const Font& font, Rgb colour, Align align) {
    const double width = textWidth(cr, s, font);
    double pen = align == Align::left ? x : align == Align::centre ? x - width / 2 : x - width;
    // Whole pixels for the pen keep small letters crisp.
    pen = std::round(pen);
    setColour(cr, colour);
    for (std::size_t i = 0; i < s.size();) {
        std::size_t length = 1;
        while (i + length < s.size() && (static_cast<unsigned char>(s[i + length]) & 0xC0) == 0x80) ++length;
        const std::string letter = s.substr(i, length);
        cairo_move_to(cr, pen, y);
        cairo_show_text(cr, letter.c_str());
        cairo_text_extents_t e;
        cairo_text_extents(cr, letter.c_str(), &e);
        pen += e.x_advance + font.tracking;
        i += length;
    }
}

PixelImage toImage(cairo_surface_t* surface) {
    cairo_surface_flush(surface);
    PixelImage image(cairo_image_surface_get_width(surface), cairo_image_surface_get_height(surface));
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < image.height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::size_t>(stride) * y);
        for (int x = 0; x < image.width; ++x) image.at(x, y) = row[x] & 0xFFFFFF;
    }
    return image;
}

double frameAngle(int frame, int frameCount) {
    const double pi = std::acos(-1.0);
    const double degrees = -kSweepDegrees / 2 + kSweepDegrees * frame / (frameCount - 1);
    return degrees * pi / 180.0;
}

}  // namespace art
