// Writes either instrument's editor face as a PNG picture, showing the values
// of one of its programs, drawn by the software canvas from the bitmap files.
// The third generation is built as a host would build it and the program
// selected; the first generation's face shows the factory program's values,
// which are what its instrument holds after selecting that program (its
// instrument cannot share this program with the third generation's: each
// defines the library's one instance factory).
// Usage: editor-face [nubbel3|nubbel] <picture.png> [program 0..7, default 0]
//        [resource script]
#include <cairo.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "editor/my_gui.h"
#include "editor/soft/soft_canvas.h"
#include "editor/soft/soft_platform.h"
#include "first_generation/editor/first_gen_gui.h"
#include "first_generation/instrument/factory_bank.h"
#include "plugin_base/audio_effect_x.h"

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

// The first generation's parameter values of one factory program.
class FactoryProgram : public AudioEffectX {
public:
    explicit FactoryProgram(int program)
        : AudioEffectX(nullptr, kProgramCount, firstgen::ProgramBank::numParams),
          record(firstgen::kFactoryBank[program]) {}
    void processReplacing(float**, float**, VstInt32) override {}
    float getParameter(VstInt32 index) override {
        return index >= 0 && index < firstgen::ProgramBank::numParams ? record.values[index] : 0.0f;
    }

private:
    const firstgen::ProgramRecord& record;
};

template <class Face>
int drawFace(AudioEffect& instrument, const std::string& script, std::size_t widgets, const char* path) {
    auto platform = std::make_unique<SoftPlatform>(script);
    SoftPlatform& files = *platform;
    Face face(&instrument, std::move(platform));
    for (const std::string& error : files.errors) std::fprintf(stderr, "editor-face: %s\n", error.c_str());
    if (!files.errors.empty() || face.widgetCount() != widgets) return 1;
    face.refreshAll();

    PixelImage picture(Face::kWidth, Face::kHeight);
    SoftCanvas canvas(picture);
    face.paint(canvas);
    if (!writePng(picture, path)) {
        std::fprintf(stderr, "editor-face: cannot write %s\n", path);
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    // The instrument's name may be left out: the third generation then.
    const bool named = argc > 1 && (!std::strcmp(argv[1], "nubbel3") || !std::strcmp(argv[1], "nubbel"));
    const bool firstGen = named && !std::strcmp(argv[1], "nubbel");
    const int first = named ? 2 : 1;
    if (argc < first + 1 || argc > first + 3) {
        std::fprintf(stderr, "usage: editor-face [nubbel3|nubbel] <picture.png> [program 0..7] [resource script]\n");
        return 2;
    }
    const char* path = argv[first];
    const long program = argc > first + 1 ? std::strtol(argv[first + 1], nullptr, 10) : 0;
    if (program < 0 || program >= kProgramCount) {
        std::fprintf(stderr, "editor-face: no program %ld\n", program);
        return 2;
    }
    const std::string script = argc > first + 2 ? argv[first + 2]
                               : firstGen       ? NUBBEL_RESOURCE_SCRIPT
                                                : NUBBEL3_RESOURCE_SCRIPT;

    if (firstGen) {
        FactoryProgram values(static_cast<int>(program));
        return drawFace<FirstGenGui>(values, script, FirstGenGui::kKnobCount, path);
    }
    std::unique_ptr<AudioEffect> instrument(createEffectInstance(nullptr));
    if (!instrument) {
        std::fprintf(stderr, "editor-face: the instrument could not be made\n");
        return 1;
    }
    instrument->dispatcher(effSetProgram, 0, program, nullptr, 0.0f);
    return drawFace<MyGui>(*instrument, script, 49, path);
}
