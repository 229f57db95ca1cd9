// Writes the third-generation editor's face as a PNG picture, showing the
// values of one of the instrument's programs: the instrument is built as a
// host would build it, the program selected, and the editor drawn by the
// software canvas from the bitmap files.
// Usage: editor-face <picture.png> [program 0..7, default 0] [resource script]
#include <cairo.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "editor/my_gui.h"
#include "editor/soft/soft_canvas.h"
#include "editor/soft/soft_platform.h"
#include "plugin_base/audio_effect.h"

namespace {

bool writePng(const PixelImage& image, const char* path) {
    // cairo's RGB24 pixels are the same 32-bit 0x00RRGGBB words.
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(const_cast<std::uint32_t*>(image.pixels.data())), CAIRO_FORMAT_RGB24,
        image.width, image.height, image.width * 4);
    const bool written = cairo_surface_write_to_png(surface, path) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return written;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 4) {
        std::fprintf(stderr, "usage: editor-face <picture.png> [program 0..7] [resource script]\n");
        return 2;
    }
    const long program = argc > 2 ? std::strtol(argv[2], nullptr, 10) : 0;
    const std::string script = argc > 3 ? argv[3] : NUBBEL3_RESOURCE_SCRIPT;

    std::unique_ptr<AudioEffect> instrument(createEffectInstance(nullptr));
    if (!instrument) {
        std::fprintf(stderr, "editor-face: the instrument could not be made\n");
        return 1;
    }
    if (program < 0 || program >= instrument->getAeffect()->numPrograms) {
        std::fprintf(stderr, "editor-face: no program %ld\n", program);
        return 2;
    }
    instrument->dispatcher(effSetProgram, 0, program, nullptr, 0.0f);

    auto platform = std::make_unique<SoftPlatform>(script);
    SoftPlatform& files = *platform;
    MyGui face(instrument.get(), std::move(platform));
    for (const std::string& error : files.errors) std::fprintf(stderr, "editor-face: %s\n", error.c_str());
    if (!files.errors.empty() || face.widgetCount() != 49) return 1;
    face.refreshAll();

    PixelImage picture(MyGui::kWidth, MyGui::kHeight);
    SoftCanvas canvas(picture);
    face.paint(canvas);
    if (!writePng(picture, argv[1])) {
        std::fprintf(stderr, "editor-face: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
