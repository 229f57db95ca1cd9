// The editor's window on X11: a child window inside the host's window, on a
// connection of its own (one per open editor, to the display named by
// DISPLAY). Nothing here runs by itself: the host's interface thread calls
// idle (effEditIdle), which handles the window's events without blocking and
// paints. Other threads only add to the area to repaint, an atomic word. The
// picture is the software canvas's; only the area asked for is sent.
#pragma once

#include <X11/Xlib.h>

#include <atomic>
#include <memory>
#include <vector>

#include "editor/editor_platform.h"
#include "editor/soft/image_store.h"
#include "editor/soft/pixel_image.h"
#include "editor/x11/dirty_area.h"
#include "resources/embedded_bitmaps.h"

class X11Platform : public EditorPlatform {
public:
    explicit X11Platform(EmbeddedBitmapTable bitmaps);
    ~X11Platform() override;
    X11Platform(const X11Platform&) = delete;
    X11Platform& operator=(const X11Platform&) = delete;

    // Decoded from the embedded .bmp bytes by the software canvas's reader.
    BitmapHandle loadBitmap(int resourceId) override;
    void freeBitmap(BitmapHandle bitmap) override;
    BitmapSize bitmapSize(BitmapHandle bitmap) override;

    // parent: the host's X window id, carried in the pointer.
    bool createWindow(void* parent, int width, int height, ZVGui& editor) override;
    void destroyWindow() override;
    bool hasWindow() const override { return window.load() != 0; }
    void invalidate(const PixelRect& area) override;
    // The server grabs the pointer for the window by itself from a button
    // press until the last button comes up, as SetCapture does on Windows;
    // these only keep track, so no grab of ours can outlive the button.
    void captureMouse() override;
    void releaseMouse() override;
    void idle() override;

    // The child window, 0 when there is none.
    Window windowId() const { return window.load(); }

private:
    // A connection that works and a window on it.
    bool usable() const;
    void handle(const XEvent& event);
    void endCapture();
    // Mapped, and every window above it too.
    bool viewable();
    void paint();
    void closeConnection();

    EmbeddedBitmapTable embedded;
    ImageStore loaded;

    Display* display = nullptr;
    // Read by any thread (hasWindow); the interface thread writes it.
    std::atomic<Window> window{0};
    ZVGui* editor = nullptr;
    GC gc = nullptr;
    XImage* image = nullptr;
    PixelImage picture;
    bool captureHeld = false;
    // Set by Xlib when the connection breaks; the display is then unusable.
    bool connectionLost = false;
    DirtyArea dirty;
};
