#include "editor/x11/x_error_trap.h"

#include <atomic>

namespace {
// Traps nest per thread; the innermost one of the thread that reads an error
// is asked first. An error of the host's display on another thread finds no
// trap there and goes to the host's handler, remembered here.
thread_local XErrorTrap* innermost = nullptr;
std::atomic<XErrorHandler> hostHandler{nullptr};
std::atomic<XIOErrorHandler> hostIoHandler{nullptr};

void onConnectionLost(Display*, void* lostFlag) {
    // Returning leaves the display marked broken: every later request on it
    // returns at once, and the editor stops using it.
    *static_cast<bool*>(lostFlag) = true;
}
}  // namespace

XErrorTrap::XErrorTrap(Display* display) : display(display), outer(innermost) {
    previous = XSetErrorHandler(&XErrorTrap::onError);
    previousIo = XSetIOErrorHandler(&XErrorTrap::onIoError);
    if (previous != &XErrorTrap::onError) hostHandler.store(previous);
    if (previousIo != &XErrorTrap::onIoError) hostIoHandler.store(previousIo);
    innermost = this;
}

XErrorTrap::~XErrorTrap() {
    innermost = outer;
    // Put back what was there, unless someone else replaced ours meanwhile.
    XErrorHandler current = XSetErrorHandler(previous);
    if (current != &XErrorTrap::onError) XSetErrorHandler(current);
    XIOErrorHandler currentIo = XSetIOErrorHandler(previousIo);
    if (currentIo != &XErrorTrap::onIoError) XSetIOErrorHandler(currentIo);
}

void XErrorTrap::surviveLostConnection(Display* display, bool& lostFlag) {
    XSetIOErrorExitHandler(display, onConnectionLost, &lostFlag);
}

int XErrorTrap::onError(Display* display, XErrorEvent* event) {
    for (XErrorTrap* trap = innermost; trap; trap = trap->outer) {
        if (trap->display != display) continue;
        ++trap->errors;
        return 0;
    }
    XErrorHandler host = hostHandler.load();
    return host ? host(display, event) : 0;
}

int XErrorTrap::onIoError(Display* display) {
    for (XErrorTrap* trap = innermost; trap; trap = trap->outer)
        if (trap->display == display) return 0;
    XIOErrorHandler host = hostIoHandler.load();
    return host ? host(display) : 0;
}
