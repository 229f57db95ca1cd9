// What the widgets draw with: three raster operations of a rectangle taken
// from a bitmap, and a solid fill. A Windows device context and a pixel buffer
// implement it alike, so the same widget code draws into a window or into an
// image for tests and pictures.
#pragma once

#include <cstdint>

// A bitmap made by the window backend (an HBITMAP on Windows, a PixelImage in
// the software canvas). The core never looks inside; it only passes it back.
using BitmapHandle = void*;

struct BitmapSize {
    int width = 0;
    int height = 0;
};

// A rectangle of window pixels; right and bottom are exclusive.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// How source pixels combine with the pixels already there, bit by bit on the
// 24-bit colour value: copy replaces, and keeps only bits set in both, or adds
// the source's set bits.
enum class RasterOp { copy, andSource, orSource };

class Canvas {
public:
    virtual ~Canvas() = default;

    // width x height pixels of source from (sourceX, sourceY) go to (x, y).
    virtual void blit(RasterOp op, BitmapHandle source, int sourceX, int sourceY, int width, int height, int x,
                      int y) = 0;
    // colour as the window system writes it: 0x00BBGGRR.
    virtual void fill(const PixelRect& area, std::uint32_t colour) = 0;
};
