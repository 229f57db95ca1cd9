// The bitmaps a platform has decoded into pixel pictures, owned until freed.
// A bitmap's handle is its picture's address, as the software canvas takes it.
#pragma once

#include <memory>
#include <vector>

#include "editor/canvas.h"
#include "editor/soft/pixel_image.h"

class ImageStore {
public:
    BitmapHandle add(std::unique_ptr<PixelImage> image);
    // Unknown handles are ignored.
    void remove(BitmapHandle bitmap);
    // 0 x 0 for a null handle.
    static BitmapSize sizeOf(BitmapHandle bitmap);

private:
    std::vector<std::unique_ptr<PixelImage>> images;
};
