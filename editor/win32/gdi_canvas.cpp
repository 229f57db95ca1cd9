#include "editor/win32/gdi_canvas.h"

namespace {
DWORD ropOf(RasterOp op) {
    switch (op) {
        case RasterOp::andSource: return SRCAND;
        case RasterOp::orSource: return SRCPAINT;
        case RasterOp::copy: break;
    }
    return SRCCOPY;
}
}  // namespace

void GdiCanvas::blit(RasterOp op, BitmapHandle source, int sourceX, int sourceY, int width, int height, int x, int y) {
    if (!source) return;
    HDC memory = CreateCompatibleDC(target);
    if (!memory) return;
    HGDIOBJ previous = SelectObject(memory, static_cast<HBITMAP>(source));
    BitBlt(target, x, y, width, height, memory, sourceX, sourceY, ropOf(op));
    SelectObject(memory, previous);
    DeleteDC(memory);
}

void GdiCanvas::fill(const PixelRect& area, std::uint32_t colour) {
    const RECT r{area.left, area.top, area.right, area.bottom};
    HBRUSH brush = CreateSolidBrush(colour);
    if (!brush) return;
    FillRect(target, &r, brush);
    DeleteObject(brush);
}
