// Real input for the X11 editor tests: pointer moves and button presses sent
// through the XTEST extension, as a user's mouse makes them, in the host
// window's coordinates; and the pixels a window shows, read back.
#pragma once

#include <X11/Xlib.h>

#include <vector>

#include "editor/soft/pixel_image.h"
#include "tools/testhost/x11_host_window.h"

class Pointer {
public:
    // Input goes to the screen of host's display, relative to host's window.
    explicit Pointer(const testhost::X11HostWindow& host) : host(host) {}

    static bool available(Display* display);
    void moveTo(int x, int y) const;
    // X buttons: 1 left, 3 right, 4 and 5 the wheel's two directions.
    void press(unsigned button) const;
    void release(unsigned button) const;

private:
    const testhost::X11HostWindow& host;
};

// The pixels window shows now, 0x00RRGGBB; empty when it cannot be read.
PixelImage windowPixels(Display* display, Window window);
// Sockets this process holds open: each X connection is one.
std::vector<int> socketDescriptors();
inline int openSockets() { return static_cast<int>(socketDescriptors().size()); }
