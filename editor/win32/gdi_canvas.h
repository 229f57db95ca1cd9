// The canvas over a Windows device context: each blit selects the bitmap into
// a memory context made for that blit alone.
#pragma once

#include <windows.h>

#include "editor/canvas.h"

class GdiCanvas : public Canvas {
public:
    explicit GdiCanvas(HDC target) : target(target) {}

    void blit(RasterOp op, BitmapHandle source, int sourceX, int sourceY, int width, int height, int x, int y) override;
    void fill(const PixelRect& area, std::uint32_t colour) override;

private:
    HDC target;
};
