// What a Linux host gives an editor: a top-level window of its own at a
// fixed place on the screen, on its own X connection, whose id goes to effEditOpen, and
// the idle calls (effEditIdle, 30 times a second) of its interface thread.
#pragma once

#include <X11/Xlib.h>

#include <functional>

#include "tools/testhost/test_host.h"

namespace testhost {

class X11HostWindow {
public:
    // Opens the display DISPLAY names and puts the window at (x, y) of the
    // screen; valid() tells whether that worked.
    X11HostWindow(int x, int y, int width, int height);
    ~X11HostWindow();
    X11HostWindow(const X11HostWindow&) = delete;
    X11HostWindow& operator=(const X11HostWindow&) = delete;

    bool valid() const { return window_ != 0; }
    Display* display() const { return display_; }
    Window window() const { return window_; }
    int screenX() const { return x_; }
    int screenY() const { return y_; }
    // The id as effEditOpen carries it.
    void* parentPointer() const { return reinterpret_cast<void*>(window_); }

    // Shows or hides the window as a host does with its plug-in panel, and
    // waits until the server has done it.
    void map();
    void unmap();
    // Destroys the window before the editor is closed, as careless hosts do.
    void destroy();
    // Windows directly inside ours (the editors).
    int childCount() const;
    Window firstChild() const;

private:
    Display* display_ = nullptr;
    Window window_ = 0;
    int x_;
    int y_;
};

// The interface thread's loop: effEditIdle every 1/30 s until done() holds
// or the time is up; returns done().
constexpr int kIdleIntervalMs = 33;
bool idleUntil(TestHost& host, const std::function<bool()>& done, int timeoutMs = 2000);
// effEditIdle every 1/30 s for the given time.
void idleFor(TestHost& host, int milliseconds);

}  // namespace testhost
