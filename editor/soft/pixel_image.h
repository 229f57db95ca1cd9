// A picture in memory: one 32-bit word per pixel, 0x00RRGGBB, rows top down.
// The software canvas draws into it and loads bitmaps as it.
#pragma once

#include <cstdint>
#include <vector>

struct PixelImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    PixelImage() = default;
    PixelImage(int width, int height, std::uint32_t rgb = 0)
        : width(width), height(height), pixels(static_cast<std::size_t>(width) * height, rgb) {}

    std::uint32_t& at(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    bool operator==(const PixelImage& other) const {
        return width == other.width && height == other.height && pixels == other.pixels;
    }
};
