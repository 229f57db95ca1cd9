// The canvas over a PixelImage: the same raster operations a window's device
// context performs on a true-colour display, bit for bit, so a picture drawn
// here equals the window's pixels. Bitmap handles are PixelImage pointers.
#pragma once

#include "editor/canvas.h"
#include "editor/soft/pixel_image.h"

class SoftCanvas : public Canvas {
public:
    explicit SoftCanvas(PixelImage& target) : target(target) {}

    // Pixels outside the target or outside the source are left alone.
    void blit(RasterOp op, BitmapHandle source, int sourceX, int sourceY, int width, int height, int x, int y) override;
    void fill(const PixelRect& area, std::uint32_t colour) override;

    static BitmapHandle handleOf(const PixelImage& image) { return const_cast<PixelImage*>(&image); }
    static const PixelImage& imageOf(BitmapHandle handle) { return *static_cast<const PixelImage*>(handle); }

private:
    PixelImage& target;
};
