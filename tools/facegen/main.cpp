// Generates the third-generation editor's bitmaps into a folder (the
// repository keeps them in resources/nubbel3):
//   face.bmp (101), toggle.bmp (102), knob_strip.bmp (103), knob_mask.bmp (104).
// Usage: facegen <output folder>
#include <cstdio>
#include <string>

#include "tools/facegen/art.h"
#include "tools/facegen/bmp_writer.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: facegen <output folder>\n");
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/";
    PixelImage knobStrip, knobMask;
    art::drawKnob(knobStrip, knobMask);
    const bool written = writeBmp(folder + "face.bmp", art::drawFace(), 24) &&
                         writeBmp(folder + "toggle.bmp", art::drawToggleStrip(), 24) &&
                         writeBmp(folder + "knob_strip.bmp", knobStrip, 32) &&
                         writeBmpWithPalette(folder + "knob_mask.bmp", knobMask, {0x000000, 0xFFFFFF});
    if (!written) {
        std::fprintf(stderr, "facegen: cannot write the bitmaps into %s\n", folder.c_str());
        return 1;
    }
    return 0;
}
