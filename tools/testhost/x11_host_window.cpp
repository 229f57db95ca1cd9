#include "tools/testhost/x11_host_window.h"

#include <chrono>
#include <thread>

namespace testhost {

X11HostWindow::X11HostWindow(int x, int y, int width, int height) : x_(x), y_(y) {
    display_ = XOpenDisplay(nullptr);
    if (!display_) return;
    const int screen = DefaultScreen(display_);
    XSetWindowAttributes attributes{};
    attributes.background_pixel = BlackPixel(display_, screen);
    // No window manager may move it.
    attributes.override_redirect = True;
    window_ = XCreateWindow(display_, RootWindow(display_, screen), x, y, static_cast<unsigned>(width),
                            static_cast<unsigned>(height), 0, CopyFromParent, InputOutput, CopyFromParent,
                            CWBackPixel | CWOverrideRedirect, &attributes);
    map();
}

X11HostWindow::~X11HostWindow() {
    if (!display_) return;
    destroy();
    XCloseDisplay(display_);
}

void X11HostWindow::map() {
    if (!window_) return;
    XMapWindow(display_, window_);
    XSync(display_, False);
}

void X11HostWindow::unmap() {
    if (!window_) return;
    XUnmapWindow(display_, window_);
    XSync(display_, False);
}

void X11HostWindow::destroy() {
    if (!window_) return;
    XDestroyWindow(display_, window_);
    XSync(display_, False);
    window_ = 0;
}

int X11HostWindow::childCount() const {
    if (!window_) return 0;
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display_, window_, &root, &parent, &children, &count)) return 0;
    if (children) XFree(children);
    return static_cast<int>(count);
}

Window X11HostWindow::firstChild() const {
    if (!window_) return 0;
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display_, window_, &root, &parent, &children, &count)) return 0;
    const Window first = count ? children[0] : 0;
    if (children) XFree(children);
    return first;
}

bool idleUntil(TestHost& host, const std::function<bool()>& done, int timeoutMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        host.dispatch(effEditIdle);
        if (done()) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(kIdleIntervalMs));
    }
}

void idleFor(TestHost& host, int milliseconds) {
    idleUntil(
        host, [] { return false; }, milliseconds);
}

}  // namespace testhost
