// The bitmap file reader, on small files built here byte by byte: each of the
// four pixel formats, both row orders, row padding, and damaged files.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "editor/soft/bmp_reader.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void put16(Bytes& b, std::size_t at, std::uint32_t v) {
    b[at] = v & 0xFF;
    b[at + 1] = (v >> 8) & 0xFF;
}
void put32(Bytes& b, std::size_t at, std::uint32_t v) {
    put16(b, at, v & 0xFFFF);
    put16(b, at + 2, v >> 16);
}

// A file of width x height at the given depth; pixel rows are given top
// down as raw bytes without padding and are stored in the file's row order.
Bytes makeBmp(int width, int height, int bits, const std::vector<Bytes>& rowsTopDown,
              const std::vector<std::uint32_t>& palette = {}, bool topDown = false) {
    const std::size_t stride = (static_cast<std::size_t>(width) * bits + 31) / 32 * 4;
    const std::size_t pixelsAt = 14 + 40 + 4 * palette.size();
    Bytes b(pixelsAt + stride * height, 0);
    b[0] = 'B';
    b[1] = 'M';
    put32(b, 2, static_cast<std::uint32_t>(b.size()));
    put32(b, 10, static_cast<std::uint32_t>(pixelsAt));
    put32(b, 14, 40);
    put32(b, 18, static_cast<std::uint32_t>(width));
    put32(b, 22, static_cast<std::uint32_t>(topDown ? -height : height));
    put16(b, 26, 1);
    put16(b, 28, static_cast<std::uint32_t>(bits));
    put32(b, 46, static_cast<std::uint32_t>(palette.size()));
    for (std::size_t i = 0; i < palette.size(); ++i) put32(b, 54 + 4 * i, palette[i]);  // 0x00RRGGBB = B, G, R, 0
    for (int y = 0; y < height; ++y) {
        const std::size_t row = pixelsAt + stride * static_cast<std::size_t>(topDown ? y : height - 1 - y);
        std::copy(rowsTopDown[y].begin(), rowsTopDown[y].end(), b.begin() + static_cast<std::ptrdiff_t>(row));
    }
    return b;
}

TEST(BmpReader, ReadsEachFormatIntoTheSameColours) {
    struct Case {
        const char* what;
        Bytes file;
        int bits;
    };
    // 3 x 2 pictures (odd width, so rows are padded), top row red, green,
    // blue, bottom row black, white, a grey.
    const std::vector<std::uint32_t> expected = {0xFF0000, 0x00FF00, 0x0000FF, 0x000000, 0xFFFFFF, 0x808080};
    const Case cases[] = {
        {"24 bits", makeBmp(3, 2, 24, {{0, 0, 255, 0, 255, 0, 255, 0, 0}, {0, 0, 0, 255, 255, 255, 128, 128, 128}}),
         24},
        {"24 bits top down",
         makeBmp(3, 2, 24, {{0, 0, 255, 0, 255, 0, 255, 0, 0}, {0, 0, 0, 255, 255, 255, 128, 128, 128}}, {}, true), 24},
        {"32 bits, the fourth byte ignored",
         makeBmp(3, 2, 32,
                 {{0, 0, 255, 7, 0, 255, 0, 7, 255, 0, 0, 7}, {0, 0, 0, 7, 255, 255, 255, 7, 128, 128, 128, 7}}),
         32},
        {"8 bits with a palette",
         makeBmp(3, 2, 8, {{1, 2, 3}, {0, 4, 5}}, {0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x808080}), 8},
        // 5 bits per colour: 31 widens to 255, 16 to 132 (not 128), as the window system does.
        {"16 bits", makeBmp(3, 2, 16, {{0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00}, {0, 0, 0xFF, 0x7F, 0x10, 0x42}}), 16},
    };
    for (const Case& c : cases) {
        PixelImage image;
        BmpInfo info;
        std::string error;
        ASSERT_TRUE(decodeBmp(c.file, image, &info, error)) << c.what << ": " << error;
        EXPECT_EQ(info.bitsPerPixel, c.bits) << c.what;
        ASSERT_EQ(image.width, 3);
        ASSERT_EQ(image.height, 2);
        std::vector<std::uint32_t> want = expected;
        if (c.bits == 16) want[5] = 0x848484;
        EXPECT_EQ(image.pixels, want) << c.what;
    }
}

TEST(BmpReader, RefusesWhatItCannotReadWithoutReadingPastTheEnd) {
    const Bytes good = makeBmp(3, 2, 8, {{0, 1, 0}, {1, 0, 1}}, {0, 0xFFFFFF});
    struct Case {
        const char* what;
        Bytes file;
    };
    std::vector<Case> cases;
    cases.push_back({"empty", {}});
    cases.push_back({"truncated pixels", Bytes(good.begin(), good.end() - 3)});
    cases.push_back({"truncated header", Bytes(good.begin(), good.begin() + 30)});
    Bytes b = good;
    b[0] = 'X';
    cases.push_back({"not BM", b});
    b = good;
    put32(b, 30, 1);
    cases.push_back({"run-length compressed", b});
    b = good;
    put16(b, 28, 1);
    cases.push_back({"1 bit per pixel", b});
    b = good;
    put32(b, 18, 0);
    cases.push_back({"zero width", b});
    b = good;
    put32(b, 18, 0x7FFFFFFF);
    cases.push_back({"huge width", b});
    b = good;
    b[b.size() - 4] = 9;
    cases.push_back({"palette index past the palette", b});
    b = good;
    put32(b, 10, 0xFFFFFFF0u);
    cases.push_back({"pixel offset past the end", b});
    b = good;
    put32(b, 46, 300);
    cases.push_back({"palette larger than 256", b});
    for (const Case& c : cases) {
        PixelImage image;
        std::string error;
        EXPECT_FALSE(decodeBmp(c.file, image, nullptr, error)) << c.what;
        EXPECT_FALSE(error.empty()) << c.what;
    }
    PixelImage image;
    std::string error;
    EXPECT_FALSE(loadBmpFile("no/such/file.bmp", image, nullptr, error));
}

}  // namespace
