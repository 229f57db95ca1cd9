// The picture reaches windows of any true-colour layout: exactly where each
// channel has 8 bits in whatever place and byte order, to within one step of
// the narrower channels of a 16-bit screen, and opaque on a visual with alpha.
#include <gtest/gtest.h>

#include <X11/Xutil.h>

#include <cstdlib>
#include <vector>

#include "editor/x11/image_transfer.h"

namespace {

struct Layout {
    const char* name;
    int depth, bitsPerPixel, byteOrder;
    unsigned long red, green, blue;
    int tolerance;  // per 8-bit channel
};

PixelImage colourRamp() {
    PixelImage picture(37, 5);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            picture.at(x, y) = static_cast<std::uint32_t>(x * 7 + y * 0x1F3D5B + (x * y) * 0x010203) & 0xFFFFFF;
    return picture;
}

TEST(ImageTransfer, RoundTripsThroughEveryTrueColourLayout) {
    const Layout layouts[] = {
        {"native 8-8-8", 24, 32, nativeByteOrder(), 0xFF0000, 0x00FF00, 0x0000FF, 0},
        {"swapped bytes", 24, 32, nativeByteOrder() == LSBFirst ? MSBFirst : LSBFirst, 0xFF0000, 0xFF00, 0xFF, 0},
        {"blue first", 24, 32, nativeByteOrder(), 0x0000FF, 0x00FF00, 0xFF0000, 0},
        {"5-6-5", 16, 16, nativeByteOrder(), 0xF800, 0x07E0, 0x001F, 4},
        {"with alpha", 32, 32, nativeByteOrder(), 0xFF0000, 0x00FF00, 0x0000FF, 0},
    };
    const PixelImage picture = colourRamp();
    for (const Layout& l : layouts) {
        std::vector<char> data(static_cast<std::size_t>(picture.width) * picture.height * 4);
        XImage image{};
        image.width = picture.width;
        image.height = picture.height;
        image.format = ZPixmap;
        image.data = data.data();
        image.byte_order = l.byteOrder;
        image.bitmap_unit = 32;
        image.bitmap_bit_order = l.byteOrder;
        image.bitmap_pad = 32;
        image.depth = l.depth;
        image.bits_per_pixel = l.bitsPerPixel;
        image.bytes_per_line = (picture.width * l.bitsPerPixel + 31) / 32 * 4;  // rows padded to 32 bits
        image.red_mask = l.red;
        image.green_mask = l.green;
        image.blue_mask = l.blue;
        ASSERT_TRUE(XInitImage(&image)) << l.name;
        copyToXImage(picture, image);
        const PixelImage back = pictureOf(image);
        if (l.depth == 32) {
            EXPECT_EQ(XGetPixel(&image, 3, 2) >> 24, 0xFFu) << "alpha left transparent";
        }
        ASSERT_EQ(back.width, picture.width);
        for (int y = 0; y < picture.height; ++y)
            for (int x = 0; x < picture.width; ++x)
                for (int shift : {0, 8, 16}) {
                    const int want = picture.at(x, y) >> shift & 0xFF, got = back.at(x, y) >> shift & 0xFF;
                    ASSERT_LE(std::abs(want - got), l.tolerance) << l.name << " at " << x << "," << y;
                }
    }
}

}  // namespace
