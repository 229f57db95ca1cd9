#include "editor/soft/image_store.h"

#include <algorithm>

#include "editor/soft/soft_canvas.h"

BitmapHandle ImageStore::add(std::unique_ptr<PixelImage> image) {
    images.push_back(std::move(image));
    return SoftCanvas::handleOf(*images.back());
}

void ImageStore::remove(BitmapHandle bitmap) {
    images.erase(std::remove_if(images.begin(), images.end(),
                                [bitmap](const auto& image) { return SoftCanvas::handleOf(*image) == bitmap; }),
                 images.end());
}

BitmapSize ImageStore::sizeOf(BitmapHandle bitmap) {
    if (!bitmap) return {};
    const PixelImage& image = SoftCanvas::imageOf(bitmap);
    return {image.width, image.height};
}
