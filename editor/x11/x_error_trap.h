// Keeps X errors of the editor's own connection away from the host. The error
// handlers of Xlib belong to the whole process and their default ends it, so
// for the length of one call into the plug-in ours are installed: errors and
// a lost connection on the editor's display are only counted; anything on
// another display (the host's) goes on to the handler that was there before.
// The host's handlers are back the moment the trap ends.
#pragma once

#include <X11/Xlib.h>

class XErrorTrap {
public:
    explicit XErrorTrap(Display* display);
    ~XErrorTrap();
    XErrorTrap(const XErrorTrap&) = delete;
    XErrorTrap& operator=(const XErrorTrap&) = delete;

    // Errors of requests already answered (after XSync) on the trapped display.
    int errorCount() const { return errors; }

    // Marks display as gone for good when its connection breaks, instead of
    // the default, which exits the process. Install once per connection.
    static void surviveLostConnection(Display* display, bool& lostFlag);

private:
    static int onError(Display* display, XErrorEvent* event);
    static int onIoError(Display* display);

    Display* display;
    XErrorHandler previous;
    XIOErrorHandler previousIo;
    XErrorTrap* outer;
    int errors = 0;
};
