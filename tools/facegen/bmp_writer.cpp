#include "tools/facegen/bmp_writer.h"

#include <algorithm>
#include <cstdint>
#include <fstream>

namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kPaletteEntries = 256;
// 72 dots per inch, in dots per metre.
constexpr std::uint32_t kResolution = 2835;

void put(std::vector<std::uint8_t>& out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

bool write(const std::string& path, const PixelImage& image, int bits, const std::vector<std::uint32_t>& palette) {
    const std::uint32_t stride = (static_cast<std::uint32_t>(image.width) * bits + 31) / 32 * 4;
    const std::uint32_t paletteBytes = bits == 8 ? 4 * kPaletteEntries : 0;
    const std::uint32_t pixelsAt = kFileHeaderSize + kInfoHeaderSize + paletteBytes;
    const std::uint32_t imageBytes = stride * static_cast<std::uint32_t>(image.height);
    std::vector<std::uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    put(out, pixelsAt + imageBytes, 4);
    put(out, 0, 4);
    put(out, pixelsAt, 4);
    put(out, kInfoHeaderSize, 4);
    put(out, static_cast<std::uint32_t>(image.width), 4);
    put(out, static_cast<std::uint32_t>(image.height), 4);
    put(out, 1, 2);
    put(out, static_cast<std::uint32_t>(bits), 2);
    put(out, 0, 4);  // no compression
    put(out, imageBytes, 4);
    put(out, kResolution, 4);
    put(out, kResolution, 4);
    put(out, bits == 8 ? kPaletteEntries : 0, 4);
    put(out, 0, 4);
    for (std::uint32_t i = 0; i < paletteBytes / 4; ++i) put(out, i < palette.size() ? palette[i] : 0, 4);
    for (int y = image.height - 1; y >= 0; --y) {
        const std::size_t rowStart = out.size();
        for (int x = 0; x < image.width; ++x) {
            const std::uint32_t c = image.at(x, y);
            if (bits == 8) {
                const auto found = std::find(palette.begin(), palette.end(), c);
                if (found == palette.end()) return false;
                out.push_back(static_cast<std::uint8_t>(found - palette.begin()));
            } else if (bits == 16) {
                // Five bits per colour, the top bit unused.
                const auto five = [c](int shift) { return (c >> (shift + 3)) & 0x1F; };
                put(out, five(16) << 10 | five(8) << 5 | five(0), 2);
            } else {
                put(out, c & 0xFFFFFF, bits / 8);
            }
        }
        out.resize(rowStart + stride, 0);
    }
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    return static_cast<bool>(file);
}

}  // namespace

bool writeBmp(const std::string& path, const PixelImage& image, int bitsPerPixel) {
    return write(path, image, bitsPerPixel, {});
}

bool writeBmpWithPalette(const std::string& path, const PixelImage& image, const std::vector<std::uint32_t>& palette) {
    return palette.size() <= kPaletteEntries && write(path, image, 8, palette);
}
