#include "editor/win32/win32_platform.h"

#include "editor/win32/gdi_canvas.h"
#include "editor/win32/window_class.h"
#include "editor/zv_gui.h"

// Asking by address needs no hook in the library's entry point.
HINSTANCE thisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&thisModule), &module);
    return module;
}

Win32Platform::Win32Platform(HINSTANCE instance) : instance(instance) { acquireWindowClass(instance, windowProc); }

Win32Platform::~Win32Platform() {
    destroyWindow();
    releaseWindowClass(instance);
}

BitmapHandle Win32Platform::loadBitmap(int resourceId) { return LoadBitmapA(instance, MAKEINTRESOURCEA(resourceId)); }

void Win32Platform::freeBitmap(BitmapHandle bitmap) { DeleteObject(static_cast<HBITMAP>(bitmap)); }

BitmapSize Win32Platform::bitmapSize(BitmapHandle bitmap) {
    BITMAP info{};
    if (!GetObjectA(static_cast<HBITMAP>(bitmap), sizeof(info), &info)) return {};
    return {static_cast<int>(info.bmWidth), static_cast<int>(info.bmHeight)};
}

bool Win32Platform::createWindow(void* parent, int width, int height, ZVGui& owner) {
    HWND created = CreateWindowExA(0, kEditorWindowClass, "", WS_CHILD, 0, 0, width, height, static_cast<HWND>(parent),
                                   nullptr, instance, nullptr);
    if (!created) return false;
    editor = &owner;
    // Pointer-sized, so the 64-bit build keeps the whole address.
    SetWindowLongPtrA(created, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    window.store(created);
    ShowWindow(created, SW_SHOW);
    return true;
}

void Win32Platform::destroyWindow() {
    HWND old = window.exchange(nullptr);
    if (!old) return;
    // Detached first: the messages DestroyWindow sends on its way (capture
    // changed, destroy) get default processing, not the editor.
    SetWindowLongPtrA(old, GWLP_USERDATA, 0);
    DestroyWindow(old);
    editor = nullptr;
}

void Win32Platform::invalidate(const PixelRect& area) {
    // Never with a null window: that would invalidate every window on the desktop.
    HWND target = window.load();
    if (!target) return;
    const RECT r{area.left, area.top, area.right, area.bottom};
    InvalidateRect(target, &r, FALSE);
}

void Win32Platform::captureMouse() {
    if (HWND target = window.load()) SetCapture(target);
}

void Win32Platform::releaseMouse() {
    HWND target = window.load();
    if (target && GetCapture() == target) ReleaseCapture();
}

void Win32Platform::paint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC screen = BeginPaint(hwnd, &ps);
    if (!screen) return;
    RECT client;
    GetClientRect(hwnd, &client);
    // Drawn into a picture first and shown in one blit, so the background
    // never flashes through a knob being redrawn.
    HDC back = CreateCompatibleDC(screen);
    HBITMAP backBitmap = back ? CreateCompatibleBitmap(screen, client.right, client.bottom) : nullptr;
    if (backBitmap) {
        HGDIOBJ previous = SelectObject(back, backBitmap);
        IntersectClipRect(back, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right, ps.rcPaint.bottom);
        GdiCanvas canvas(back);
        editor->paint(canvas);
        BitBlt(screen, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
               ps.rcPaint.bottom - ps.rcPaint.top, back, ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
        SelectObject(back, previous);
        DeleteObject(backBitmap);
    } else {
        // Short of memory: straight into the window.
        GdiCanvas canvas(screen);
        editor->paint(canvas);
    }
    if (back) DeleteDC(back);
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK Win32Platform::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Win32Platform*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    // Messages during creation, before the pointer is stored, and during
    // destruction, after it is cleared, get default processing.
    if (!self || !self->editor) return DefWindowProcA(hwnd, message, wParam, lParam);
    ZVGui& gui = *self->editor;
    const int x = static_cast<short>(LOWORD(lParam));
    const int y = static_cast<short>(HIWORD(lParam));
    switch (message) {
        case WM_PAINT: self->paint(hwnd); return 0;
        case WM_MOUSEACTIVATE: SetFocus(hwnd); return MA_ACTIVATE;
        case WM_MOUSEMOVE: gui.mouseMove(x, y); return 0;
        case WM_LBUTTONDOWN: gui.mouseDown(0, x, y); return 0;
        case WM_RBUTTONDOWN:
            if (!gui.usesRightButton()) break;
            gui.mouseDown(1, x, y);
            return 0;
        case WM_LBUTTONUP: gui.mouseUp(0, x, y); return 0;
        case WM_RBUTTONUP:
            if (!gui.usesRightButton()) break;
            gui.mouseUp(1, x, y);
            return 0;
        case WM_MOUSEWHEEL: {
            // The wheel message carries screen coordinates.
            POINT point{x, y};
            ScreenToClient(hwnd, &point);
            gui.mouseWheel(point.x, point.y, static_cast<short>(HIWORD(wParam)));
            return 0;
        }
        case WM_CAPTURECHANGED: gui.captureLost(); break;
        default: break;
    }
    // The window the message came for, which is not always the stored one
    // (a window being replaced by a second open still receives messages).
    return DefWindowProcA(hwnd, message, wParam, lParam);
}
