#include "editor/win32/window_class.h"

#include <mutex>

namespace {
// Hosts may create and delete instances on different threads; the count and
// the registration change together under one lock (never on the audio thread).
std::mutex classLock;
int editorCount = 0;
}  // namespace

void acquireWindowClass(HINSTANCE instance, WNDPROC procedure) {
    std::lock_guard<std::mutex> hold(classLock);
    WNDCLASSA existing;
    if (!GetClassInfoA(instance, kEditorWindowClass, &existing)) {
        // Style 0: no double-click messages, a double click arrives as two
        // press/release pairs. No background brush: every paint covers the
        // whole window, so erasing would only flicker.
        WNDCLASSA windowClass{};
        windowClass.style = 0;
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = instance;
        windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        windowClass.lpszClassName = kEditorWindowClass;
        RegisterClassA(&windowClass);
    }
    ++editorCount;
}

void releaseWindowClass(HINSTANCE instance) {
    std::lock_guard<std::mutex> hold(classLock);
    if (--editorCount < 1) UnregisterClassA(kEditorWindowClass, instance);
}

int liveEditorCount() {
    std::lock_guard<std::mutex> hold(classLock);
    return editorCount;
}
