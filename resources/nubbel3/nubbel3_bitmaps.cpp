// The third-generation editor's .bmp files inside the library, so it needs
// nothing beside it.
#include "resources/embed_file.h"
#include "resources/embedded_bitmaps.h"

NUBBEL_EMBED_FILE(nubbel3_face_bmp, NUBBEL3_BITMAP_FOLDER "/face.bmp")
NUBBEL_EMBED_FILE(nubbel3_toggle_bmp, NUBBEL3_BITMAP_FOLDER "/toggle.bmp")
NUBBEL_EMBED_FILE(nubbel3_knob_strip_bmp, NUBBEL3_BITMAP_FOLDER "/knob_strip.bmp")
NUBBEL_EMBED_FILE(nubbel3_knob_mask_bmp, NUBBEL3_BITMAP_FOLDER "/knob_mask.bmp")

namespace {
std::size_t sizeOf(const unsigned char* begin, const unsigned char* end) {
    return static_cast<std::size_t>(end - begin);
}
}  // namespace

EmbeddedBitmapTable nubbel3Bitmaps() {
    static const EmbeddedBitmap entries[] = {
        {101, nubbel3_face_bmp_begin, sizeOf(nubbel3_face_bmp_begin, nubbel3_face_bmp_end)},
        {102, nubbel3_toggle_bmp_begin, sizeOf(nubbel3_toggle_bmp_begin, nubbel3_toggle_bmp_end)},
        {103, nubbel3_knob_strip_bmp_begin, sizeOf(nubbel3_knob_strip_bmp_begin, nubbel3_knob_strip_bmp_end)},
        {104, nubbel3_knob_mask_bmp_begin, sizeOf(nubbel3_knob_mask_bmp_begin, nubbel3_knob_mask_bmp_end)},
    };
    return {entries, sizeof(entries) / sizeof(entries[0])};
}
