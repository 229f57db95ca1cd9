// The first-generation editor's .bmp files inside the library, so it needs
// nothing beside it.
#include "resources/embed_file.h"
#include "resources/embedded_bitmaps.h"

NUBBEL_EMBED_FILE(nubbel_face_bmp, NUBBEL_BITMAP_FOLDER "/face.bmp")
NUBBEL_EMBED_FILE(nubbel_knob_strip_bmp, NUBBEL_BITMAP_FOLDER "/knob_strip.bmp")
NUBBEL_EMBED_FILE(nubbel_knob_mask_bmp, NUBBEL_BITMAP_FOLDER "/knob_mask.bmp")
NUBBEL_EMBED_FILE(nubbel_small_knob_mask_bmp, NUBBEL_BITMAP_FOLDER "/small_knob_mask.bmp")
NUBBEL_EMBED_FILE(nubbel_small_knob_strip_bmp, NUBBEL_BITMAP_FOLDER "/small_knob_strip.bmp")

#define NUBBEL_ENTRY(id, name) \
    { id, name##_begin, static_cast<std::size_t>(name##_end - name##_begin) }

EmbeddedBitmapTable nubbelBitmaps() {
    static const EmbeddedBitmap entries[] = {
        NUBBEL_ENTRY(101, nubbel_face_bmp),
        NUBBEL_ENTRY(103, nubbel_knob_strip_bmp),
        NUBBEL_ENTRY(104, nubbel_knob_mask_bmp),
        NUBBEL_ENTRY(105, nubbel_small_knob_mask_bmp),
        NUBBEL_ENTRY(106, nubbel_small_knob_strip_bmp),
    };
    return {entries, sizeof(entries) / sizeof(entries[0])};
}
