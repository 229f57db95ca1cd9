// Writes device-independent bitmap files in the three layouts the editor's
// resources use: 16 (five bits per colour), 24 and 32 bits per pixel, and
// 8 bits with a palette.
#pragma once

#include <string>
#include <vector>

#include "editor/soft/pixel_image.h"

// Rows bottom up, 40-byte information header, no compression. The fourth
// byte of a 32-bit pixel is 0.
bool writeBmp(const std::string& path, const PixelImage& image, int bitsPerPixel);
// Every pixel's colour must be in the palette (at most 256 colours); the
// palette is written with 256 entries, the unused ones black.
bool writeBmpWithPalette(const std::string& path, const PixelImage& image, const std::vector<std::uint32_t>& palette);
