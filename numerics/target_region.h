// A stretch of source compiled for a wider instruction set than the rest of
// its file, chosen at run time only on CPUs that have it. The two compilers
// spell this differently; everything else is written once.
#pragma once

#define NUBBEL_PRAGMA(text) _Pragma(#text)

#if defined(__clang__)
#define NUBBEL_BEGIN_TARGET(features) \
    NUBBEL_PRAGMA(clang attribute push(__attribute__((target(features))), apply_to = function))
#define NUBBEL_END_TARGET NUBBEL_PRAGMA(clang attribute pop)
#else
#define NUBBEL_BEGIN_TARGET(features) NUBBEL_PRAGMA(GCC push_options) NUBBEL_PRAGMA(GCC target(features))
#define NUBBEL_END_TARGET NUBBEL_PRAGMA(GCC pop_options)
#endif
