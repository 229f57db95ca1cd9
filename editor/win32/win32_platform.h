// The editor's window on Windows: a WS_CHILD window of class "ZVGui" inside
// the host's window, whose procedure turns messages into the editor's
// handlers, and bitmaps loaded from the library's own resources.
#pragma once

#include <windows.h>

#include <atomic>

#include "editor/editor_platform.h"

// The module that holds this code: the plug-in library, or the program when
// the editor is linked into one, as in tests. Each library's editors own
// their window class and find their bitmaps through it.
HINSTANCE thisModule();

class Win32Platform : public EditorPlatform {
public:
    // instance: the library that holds the bitmaps and owns the window class.
    explicit Win32Platform(HINSTANCE instance);
    ~Win32Platform() override;
    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;

    BitmapHandle loadBitmap(int resourceId) override;
    void freeBitmap(BitmapHandle bitmap) override;
    BitmapSize bitmapSize(BitmapHandle bitmap) override;

    bool createWindow(void* parent, int width, int height, ZVGui& editor) override;
    void destroyWindow() override;
    bool hasWindow() const override { return window.load() != nullptr; }
    // InvalidateRect: any thread may call it; the paint happens on the
    // window's thread, so no two threads ever draw at once.
    void invalidate(const PixelRect& area) override;
    void captureMouse() override;
    void releaseMouse() override;

    HWND windowHandle() const { return window.load(); }

    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void paint(HWND hwnd);

    HINSTANCE instance;
    // Read by host threads in invalidate while the window thread creates
    // and destroys the window.
    std::atomic<HWND> window{nullptr};
    ZVGui* editor = nullptr;
};
