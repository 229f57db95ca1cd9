// Reads the device-independent bitmaps our resources are made of, for builds
// that load them from files instead of the library's resources: uncompressed,
// 8 bits with a palette, 16 bits (5 per colour), 24 or 32 bits per pixel,
// rows bottom up (or top down when the height is negative).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "editor/soft/pixel_image.h"

struct BmpInfo {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    int headerSize = 0;
    int paletteSize = 0;
    bool bottomUp = true;
};

// False with a one-line reason in error for anything else or a damaged file.
// Colours come out as the window system widens them: 5-bit channels by
// repeating their top bits, so 31 becomes 255.
bool decodeBmp(const std::vector<std::uint8_t>& bytes, PixelImage& image, BmpInfo* info, std::string& error);
bool loadBmpFile(const std::string& path, PixelImage& image, BmpInfo* info, std::string& error);
