#include "editor/soft/bmp_reader.h"

#include <fstream>
#include <iterator>

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kUncompressed = 0;
// Larger pictures than any editor face are refused rather than allocated.
constexpr std::int64_t kMaxSide = 16384;

std::uint32_t u16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8;
}
std::uint32_t u32(const std::vector<std::uint8_t>& b, std::size_t at) { return u16(b, at) | u16(b, at + 2) << 16; }
std::uint32_t rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) { return r << 16 | g << 8 | b; }
std::uint32_t widen5(std::uint32_t c) { return c << 3 | c >> 2; }

bool fail(std::string& error, const char* why) {
    error = why;
    return false;
}

}  // namespace

bool decodeBmp(const std::vector<std::uint8_t>& bytes, PixelImage& image, BmpInfo* info, std::string& error) {
    if (bytes.size() < kFileHeaderSize + kInfoHeaderSize || bytes[0] != 'B' || bytes[1] != 'M')
        return fail(error, "not a bitmap file");
    const std::uint32_t pixelOffset = u32(bytes, 10);
    const std::uint32_t headerSize = u32(bytes, 14);
    if (headerSize < kInfoHeaderSize || kFileHeaderSize + headerSize > bytes.size())
        return fail(error, "unsupported bitmap header");
    const std::int64_t width = static_cast<std::int32_t>(u32(bytes, 18));
    const std::int64_t signedHeight = static_cast<std::int32_t>(u32(bytes, 22));
    const std::uint32_t planes = u16(bytes, 26);
    const int bits = static_cast<int>(u16(bytes, 28));
    const std::uint32_t compression = u32(bytes, 30);
    const std::uint32_t coloursUsed = u32(bytes, 46);
    const std::int64_t height = signedHeight < 0 ? -signedHeight : signedHeight;
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return fail(error, "bad bitmap size");
    if (planes != 1 || compression != kUncompressed) return fail(error, "compressed bitmaps are not supported");
    if (bits != 8 && bits != 16 && bits != 24 && bits != 32) return fail(error, "unsupported bits per pixel");

    const std::size_t paletteAt = kFileHeaderSize + headerSize;
    std::size_t paletteSize = 0;
    if (bits == 8) {
        paletteSize = coloursUsed == 0 ? 256 : coloursUsed;
        if (paletteSize > 256 || paletteAt + 4 * paletteSize > bytes.size()) return fail(error, "bad palette");
    }
    const std::size_t stride = (static_cast<std::size_t>(width) * bits + 31) / 32 * 4;
    if (pixelOffset < paletteAt + 4 * paletteSize || pixelOffset > bytes.size() ||
        (bytes.size() - pixelOffset) / stride < static_cast<std::size_t>(height))
        return fail(error, "truncated bitmap");

    PixelImage out(static_cast<int>(width), static_cast<int>(height));
    const bool bottomUp = signedHeight > 0;
    for (int y = 0; y < out.height; ++y) {
        const std::size_t row = pixelOffset + stride * static_cast<std::size_t>(bottomUp ? out.height - 1 - y : y);
        for (int x = 0; x < out.width; ++x) {
            std::uint32_t& pixel = out.at(x, y);
            switch (bits) {
                case 8: {
                    const std::size_t index = bytes[row + x];
                    if (index >= paletteSize) return fail(error, "palette index out of range");
                    const std::size_t entry = paletteAt + 4 * index;
                    pixel = rgb(bytes[entry + 2], bytes[entry + 1], bytes[entry]);
                    break;
                }
                case 16: {
                    const std::uint32_t v = u16(bytes, row + 2 * static_cast<std::size_t>(x));
                    pixel = rgb(widen5(v >> 10 & 31), widen5(v >> 5 & 31), widen5(v & 31));
                    break;
                }
                default: {
                    const std::size_t at = row + static_cast<std::size_t>(x) * (bits / 8);
                    pixel = rgb(bytes[at + 2], bytes[at + 1], bytes[at]);
                    break;
                }
            }
        }
    }
    image = std::move(out);
    if (info) {
        info->width = image.width;
        info->height = image.height;
        info->bitsPerPixel = bits;
        info->headerSize = static_cast<int>(headerSize);
        info->paletteSize = static_cast<int>(paletteSize);
        info->bottomUp = bottomUp;
    }
    return true;
}

bool loadBmpFile(const std::string& path, PixelImage& image, BmpInfo* info, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return fail(error, "cannot open bitmap file");
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (!decodeBmp(bytes, image, info, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}
