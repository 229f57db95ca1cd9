// Generates one editor's bitmaps into a folder (the repository keeps them in
// resources/nubbel3 and resources/nubbel).
//   nubbel3: face.bmp (101), toggle.bmp (102), knob_strip.bmp (103),
//            knob_mask.bmp (104).
//   nubbel:  face.bmp (101), knob_strip.bmp (103), knob_mask.bmp (104),
//            small_knob_mask.bmp (105), small_knob_strip.bmp (106).
// Usage: facegen nubbel3|nubbel <output folder>
#include <cstdio>
#include <string>

#include "editor/bitmap_knob.h"
#include "first_generation/editor/first_gen_gui.h"
#include "tools/facegen/art.h"
#include "tools/facegen/bmp_writer.h"

namespace {

const std::vector<std::uint32_t> kTwoColours = {0x000000, 0xFFFFFF};

bool writeNubbel3(const std::string& folder) {
    PixelImage knobStrip, knobMask;
    art::drawKnob(knobStrip, knobMask, bitmapknob::kSize, bitmapknob::kFrames);
    return writeBmp(folder + "face.bmp", art::drawFace(), 24) &&
           writeBmp(folder + "toggle.bmp", art::drawToggleStrip(), 24) &&
           writeBmp(folder + "knob_strip.bmp", knobStrip, 32) &&
           writeBmpWithPalette(folder + "knob_mask.bmp", knobMask, kTwoColours);
}

// Each bitmap in the depth the first-generation library has always carried.
bool writeNubbel(const std::string& folder) {
    PixelImage strip, mask, smallStrip, smallMask;
    art::drawKnob(strip, mask, FirstGenGui::kLargeSize, FirstGenGui::kLargeFrames);
    art::drawKnob(smallStrip, smallMask, FirstGenGui::kSmallSize, FirstGenGui::kSmallFrames);
    return writeBmp(folder + "face.bmp", art::drawFirstGenFace(), 24) &&
           writeBmp(folder + "knob_strip.bmp", strip, 24) &&
           writeBmpWithPalette(folder + "knob_mask.bmp", mask, kTwoColours) &&
           writeBmp(folder + "small_knob_mask.bmp", smallMask, 16) &&
           writeBmp(folder + "small_knob_strip.bmp", smallStrip, 32);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string which = argc == 3 ? argv[1] : "";
    if (which != "nubbel3" && which != "nubbel") {
        std::fprintf(stderr, "usage: facegen nubbel3|nubbel <output folder>\n");
        return 2;
    }
    const std::string folder = std::string(argv[2]) + "/";
    if (!(which == "nubbel3" ? writeNubbel3(folder) : writeNubbel(folder))) {
        std::fprintf(stderr, "facegen: cannot write the bitmaps into %s\n", folder.c_str());
        return 1;
    }
    return 0;
}
