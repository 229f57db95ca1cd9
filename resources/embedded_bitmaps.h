// Bitmap files compiled into a library that has no resource section of its
// own to keep them in (the Linux plug-ins): the bytes of each .bmp file, by
// the resource id the editor asks for, as the file holds them.
#pragma once

#include <cstddef>

struct EmbeddedBitmap {
    int resourceId;
    const unsigned char* bytes;
    std::size_t size;
};

struct EmbeddedBitmapTable {
    const EmbeddedBitmap* entries = nullptr;
    std::size_t count = 0;
};

// The third-generation editor's bitmaps, ids as in nubbel3.rc.
EmbeddedBitmapTable nubbel3Bitmaps();
// The first-generation editor's bitmaps, ids as in nubbel.rc.
EmbeddedBitmapTable nubbelBitmaps();
