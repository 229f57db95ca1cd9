#include "tests/editor_x11/pointer.h"

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "editor/x11/image_transfer.h"

bool Pointer::available(Display* display) {
    int event = 0, error = 0, major = 0, minor = 0;
    return display && XTestQueryExtension(display, &event, &error, &major, &minor);
}

void Pointer::moveTo(int x, int y) const {
    Display* d = host.display();
    XTestFakeMotionEvent(d, DefaultScreen(d), host.screenX() + x, host.screenY() + y, CurrentTime);
    XSync(d, False);
}

void Pointer::press(unsigned button) const {
    XTestFakeButtonEvent(host.display(), button, True, CurrentTime);
    XSync(host.display(), False);
}

void Pointer::release(unsigned button) const {
    XTestFakeButtonEvent(host.display(), button, False, CurrentTime);
    XSync(host.display(), False);
}

PixelImage windowPixels(Display* display, Window window) {
    XWindowAttributes attributes;
    if (!window || !XGetWindowAttributes(display, window, &attributes)) return {};
    XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (!image) return {};
    PixelImage picture = pictureOf(*image);
    XDestroyImage(image);
    return picture;
}

std::vector<int> socketDescriptors() {
    std::vector<int> sockets;
    DIR* fds = opendir("/proc/self/fd");
    if (!fds) return sockets;
    while (dirent* entry = readdir(fds)) {
        struct stat info;
        const std::string path = std::string("/proc/self/fd/") + entry->d_name;
        if (stat(path.c_str(), &info) == 0 && S_ISSOCK(info.st_mode)) sockets.push_back(std::atoi(entry->d_name));
    }
    closedir(fds);
    return sockets;
}
