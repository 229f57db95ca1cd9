// The .bmp files themselves, copied into read-only data by the assembler, so
// the library needs nothing beside it. The symbols are hidden: two plug-ins
// in one process each see their own.
#include "resources/embedded_bitmaps.h"

// clang-format off
#define NUBBEL_EMBED(symbol, file)                                      \
    asm(".pushsection .rodata\n"                                        \
        ".balign 16\n"                                                  \
        ".globl " #symbol "_begin\n"                                    \
        ".hidden " #symbol "_begin\n"                                   \
        #symbol "_begin:\n"                                             \
        ".incbin \"" NUBBEL3_BITMAP_FOLDER "/" file "\"\n"              \
        ".globl " #symbol "_end\n"                                      \
        ".hidden " #symbol "_end\n"                                     \
        #symbol "_end:\n"                                               \
        ".popsection\n");                                               \
    extern "C" const unsigned char symbol##_begin[];                    \
    extern "C" const unsigned char symbol##_end[];
// clang-format on

NUBBEL_EMBED(nubbel3_face_bmp, "face.bmp")
NUBBEL_EMBED(nubbel3_toggle_bmp, "toggle.bmp")
NUBBEL_EMBED(nubbel3_knob_strip_bmp, "knob_strip.bmp")
NUBBEL_EMBED(nubbel3_knob_mask_bmp, "knob_mask.bmp")

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
