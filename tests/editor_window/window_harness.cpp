#include "tests/editor_window/window_harness.h"

#include <cstring>
#include <thread>

namespace harness {

namespace {
constexpr const char* kHostClass = "NubbelTestHostWindow";

void ensureHostClass() {
    static bool registered = false;
    if (registered) return;
    WNDCLASSA c{};
    c.lpfnWndProc = DefWindowProcA;
    c.hInstance = GetModuleHandleA(nullptr);
    c.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    c.lpszClassName = kHostClass;
    registered = RegisterClassA(&c) != 0;
}

void send(DWORD flags, LONG data = 0) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    input.mi.mouseData = static_cast<DWORD>(data);
    SendInput(1, &input, sizeof(input));
    pump(30);
}
}  // namespace

bool haveTrueColourDisplay() {
    HDC screen = GetDC(nullptr);
    if (!screen) return false;
    const int bits = GetDeviceCaps(screen, BITSPIXEL);
    ReleaseDC(nullptr, screen);
    return bits >= 24 && hostWindow() != nullptr;
}

namespace {
HWND makeTopWindow(const char* title, int x, int y, int width, int height) {
    ensureHostClass();
    HWND created = CreateWindowExA(WS_EX_TOPMOST, kHostClass, title, WS_POPUP | WS_VISIBLE, x, y, width, height,
                                   nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (created) {
        SetForegroundWindow(created);
        pump(50);
    }
    return created;
}
}  // namespace

HWND hostWindow() {
    static HWND hwnd = makeTopWindow("host", 0, 0, kHostWidth, kHostHeight);
    return hwnd;
}

HWND secondHostWindow() {
    static HWND hwnd = makeTopWindow("second host", 0, kSecondHostTop, kHostWidth, kHostHeight);
    return hwnd;
}

HWND coveringWindow(int width, int height) {
    static HWND hwnd = makeTopWindow("cover", 0, 0, width, height);
    SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, width, height, SWP_NOMOVE | SWP_NOACTIVATE);
    return hwnd;
}

void pump(int milliseconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    } while (std::chrono::steady_clock::now() < end);
}

bool pumpUntil(const std::function<bool()>& done, int timeoutMilliseconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMilliseconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end) return false;
        pump(5);
    }
    return true;
}

void moveTo(int x, int y) {
    // Absolute input is given on a 0..65535 scale across the primary screen
    // and turned back into pixels by truncation: round up, so the pixel
    // comes out exact.
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>((x * 65536 + width - 1) / width);
    input.mi.dy = static_cast<LONG>((y * 65536 + height - 1) / height);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof(input));
    pump(30);
}

void press(int button) { send(button == 0 ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_RIGHTDOWN); }
void release(int button) { send(button == 0 ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_RIGHTUP); }

void click(int x, int y, int button) {
    moveTo(x, y);
    press(button);
    release(button);
}

void wheel(int x, int y, int delta) {
    moveTo(x, y);
    send(MOUSEEVENTF_WHEEL, delta);
}

PixelImage grab(HWND window) {
    RECT r;
    GetClientRect(window, &r);
    PixelImage image(r.right, r.bottom);
    HDC source = GetDC(window);
    HDC memory = CreateCompatibleDC(source);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = r.right;
    info.bmiHeader.biHeight = -r.bottom;  // top down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, r.right, r.bottom, source, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    for (std::size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = pixels[i] & 0xFFFFFF;
    SelectObject(memory, previous);
    DeleteObject(dib);
    DeleteDC(memory);
    ReleaseDC(window, source);
    return image;
}

namespace {
// A window-system callback: stdcall on 32-bit Windows, so no lambda.
BOOL CALLBACK countEditorWindow(HWND child, LPARAM found) {
    char name[32] = {};
    GetClassNameA(child, name, sizeof(name));
    if (std::strcmp(name, "ZVGui") == 0) ++*reinterpret_cast<int*>(found);
    return TRUE;
}
}  // namespace

int editorWindowsUnder(HWND parent) {
    int count = 0;
    EnumChildWindows(parent, countEditorWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

}  // namespace harness
