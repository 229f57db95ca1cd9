#include "editor/soft/soft_canvas.h"

#include <algorithm>

namespace {
constexpr std::uint32_t kColourBits = 0x00FFFFFF;
}

void SoftCanvas::blit(RasterOp op, BitmapHandle source, int sourceX, int sourceY, int width, int height, int x, int y) {
    if (!source) return;
    const PixelImage& from = imageOf(source);
    for (int row = 0; row < height; ++row) {
        const int sy = sourceY + row, ty = y + row;
        if (sy < 0 || sy >= from.height || ty < 0 || ty >= target.height) continue;
        for (int column = 0; column < width; ++column) {
            const int sx = sourceX + column, tx = x + column;
            if (sx < 0 || sx >= from.width || tx < 0 || tx >= target.width) continue;
            const std::uint32_t s = from.at(sx, sy) & kColourBits;
            std::uint32_t& d = target.at(tx, ty);
            switch (op) {
                case RasterOp::copy: d = s; break;
                case RasterOp::andSource: d &= s; break;
                case RasterOp::orSource: d |= s; break;
            }
        }
    }
}

void SoftCanvas::fill(const PixelRect& area, std::uint32_t colour) {
    // 0x00BBGGRR to 0x00RRGGBB.
    const std::uint32_t rgb = ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
    for (int y = std::max(area.top, 0); y < std::min(area.bottom, target.height); ++y)
        for (int x = std::max(area.left, 0); x < std::min(area.right, target.width); ++x) target.at(x, y) = rgb;
}
