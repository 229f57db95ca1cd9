// NUBBEL_EMBED_FILE(symbol, "path"): the file's bytes, copied into read-only
// data by the assembler, between symbol_begin and symbol_end. The symbols are
// hidden, so two plug-ins in one process each see their own. A source that
// embeds files lists them in OBJECT_DEPENDS, so a changed file rebuilds it.
#pragma once

// clang-format off
#define NUBBEL_EMBED_FILE(symbol, path)                                 \
    asm(".pushsection .rodata\n"                                        \
        ".balign 16\n"                                                  \
        ".globl " #symbol "_begin\n"                                    \
        ".hidden " #symbol "_begin\n"                                   \
        #symbol "_begin:\n"                                             \
        ".incbin \"" path "\"\n"                                        \
        ".globl " #symbol "_end\n"                                      \
        ".hidden " #symbol "_end\n"                                     \
        #symbol "_end:\n"                                               \
        ".popsection\n");                                               \
    extern "C" const unsigned char symbol##_begin[];                    \
    extern "C" const unsigned char symbol##_end[];
// clang-format on
