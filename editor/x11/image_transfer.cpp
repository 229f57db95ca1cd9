#include "editor/x11/image_transfer.h"

#include <X11/Xutil.h>

#include <cstdint>
#include <cstring>

namespace {

constexpr unsigned long kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF;

int lowestBit(unsigned long mask) {
    int shift = 0;
    while (mask && !(mask & 1)) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

// An 8-bit channel value placed into mask, keeping its top bits.
unsigned long toMask(std::uint32_t channel, unsigned long mask) {
    if (!mask) return 0;
    const unsigned long field = mask >> lowestBit(mask);
    return ((channel * field + 127) / 255) << lowestBit(mask);
}

std::uint32_t fromMask(unsigned long pixel, unsigned long mask) {
    if (!mask) return 0;
    const unsigned long field = mask >> lowestBit(mask);
    return static_cast<std::uint32_t>((((pixel & mask) >> lowestBit(mask)) * 255 + field / 2) / field);
}

bool isPlainTrueColour(const XImage& image) {
    return image.bits_per_pixel == 32 && image.red_mask == kRed && image.green_mask == kGreen &&
           image.blue_mask == kBlue && image.byte_order == nativeByteOrder();
}

// Bits of the depth that carry no colour: alpha on a 32-bit visual, set so
// that a compositing host shows the face opaque.
unsigned long opaqueBits(const XImage& image) {
    const unsigned long depthBits = image.depth >= 32 ? 0xFFFFFFFFul : (1ul << image.depth) - 1;
    return depthBits & ~(image.red_mask | image.green_mask | image.blue_mask);
}

}  // namespace

int nativeByteOrder() {
    const std::uint32_t probe = 1;
    unsigned char first = 0;
    std::memcpy(&first, &probe, 1);
    return first ? LSBFirst : MSBFirst;
}

void copyToXImage(const PixelImage& picture, XImage& image) {
    const unsigned long opaque = opaqueBits(image);
    if (isPlainTrueColour(image)) {
        const auto alpha = static_cast<std::uint32_t>(opaque);
        for (int y = 0; y < picture.height; ++y) {
            auto* row =
                reinterpret_cast<std::uint32_t*>(image.data + static_cast<std::size_t>(y) * image.bytes_per_line);
            for (int x = 0; x < picture.width; ++x) row[x] = picture.at(x, y) | alpha;
        }
        return;
    }
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) {
            const std::uint32_t rgb = picture.at(x, y);
            XPutPixel(&image, x, y,
                      toMask(rgb >> 16 & 0xFF, image.red_mask) | toMask(rgb >> 8 & 0xFF, image.green_mask) |
                          toMask(rgb & 0xFF, image.blue_mask) | opaque);
        }
}

PixelImage pictureOf(XImage& image) {
    PixelImage picture(image.width, image.height);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const unsigned long pixel = XGetPixel(&image, x, y);
            picture.at(x, y) = fromMask(pixel, image.red_mask) << 16 | fromMask(pixel, image.green_mask) << 8 |
                               fromMask(pixel, image.blue_mask);
        }
    return picture;
}
