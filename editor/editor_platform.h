// The native side of one editor: its bitmaps and its child window. The core
// (ZVGui and the widgets) decides everything; the platform only carries out.
// Implemented for Windows (editor/win32), X11 (editor/x11) and for pixel
// buffers (editor/soft).
#pragma once

#include "editor/canvas.h"

class ZVGui;

class EditorPlatform {
public:
    virtual ~EditorPlatform() = default;

    // A bitmap from the library's resources by integer id; null when missing.
    virtual BitmapHandle loadBitmap(int resourceId) = 0;
    virtual void freeBitmap(BitmapHandle bitmap) = 0;
    virtual BitmapSize bitmapSize(BitmapHandle bitmap) = 0;

    // Creates the child window of width x height inside parent and routes its
    // messages to editor. False when no window could be made.
    virtual bool createWindow(void* parent, int width, int height, ZVGui& editor) = 0;
    // Destroys the window, if any. No message reaches the editor from the
    // moment this is called, so the editor may be torn down right after.
    virtual void destroyWindow() = 0;
    // Whether the window exists now. Safe to ask from any thread.
    virtual bool hasWindow() const = 0;
    // Asks for area to be painted again on the window's own thread. Safe to
    // call from any thread, with or without a window.
    virtual void invalidate(const PixelRect& area) = 0;
    // Mouse capture: every mouse message goes to the window until released.
    virtual void captureMouse() = 0;
    // Releases the capture only when this window still holds it.
    virtual void releaseMouse() = 0;
    // The host's periodic call on its interface thread (effEditIdle). Window
    // systems without a message loop of their own handle the window's events
    // and paint here; Windows needs nothing.
    virtual void idle() {}
};
