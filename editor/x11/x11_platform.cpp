#include "editor/x11/x11_platform.h"

#include <X11/Xutil.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "editor/soft/bmp_reader.h"
#include "editor/soft/soft_canvas.h"
#include "editor/x11/image_transfer.h"
#include "editor/x11/x_error_trap.h"
#include "editor/zv_gui.h"

namespace {
constexpr long kEditorEvents =
    ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | LeaveWindowMask | StructureNotifyMask;
// The wheel's notch as Windows reports it; buttons 4 and 5 are one notch each.
constexpr int kWheelNotch = 120;
// Index of the button the core knows: 0 left, 1 right; -1 for any other.
int coreButton(unsigned int xButton) {
    switch (xButton) {
        case Button1: return 0;
        case Button3: return 1;
        default: return -1;
    }
}
}  // namespace

X11Platform::X11Platform(EmbeddedBitmapTable bitmaps) : embedded(bitmaps) {}

X11Platform::~X11Platform() { destroyWindow(); }

BitmapHandle X11Platform::loadBitmap(int resourceId) {
    for (std::size_t i = 0; i < embedded.count; ++i) {
        const EmbeddedBitmap& entry = embedded.entries[i];
        if (entry.resourceId != resourceId) continue;
        auto image = std::make_unique<PixelImage>();
        std::string error;
        if (!decodeBmp(std::vector<std::uint8_t>(entry.bytes, entry.bytes + entry.size), *image, nullptr, error))
            return nullptr;
        return loaded.add(std::move(image));
    }
    return nullptr;
}

void X11Platform::freeBitmap(BitmapHandle bitmap) { loaded.remove(bitmap); }

BitmapSize X11Platform::bitmapSize(BitmapHandle bitmap) { return ImageStore::sizeOf(bitmap); }

bool X11Platform::createWindow(void* parent, int width, int height, ZVGui& owner) {
    destroyWindow();
    const Window parentId = static_cast<Window>(reinterpret_cast<std::uintptr_t>(parent));
    if (!parentId || width <= 0 || height <= 0) return false;
    display = XOpenDisplay(nullptr);
    if (!display) return false;
    connectionLost = false;
    XErrorTrap::surviveLostConnection(display, connectionLost);
    XErrorTrap trap(display);

    XWindowAttributes parentAttributes;
    if (!XGetWindowAttributes(display, parentId, &parentAttributes) || trap.errorCount() > 0) {
        closeConnection();
        return false;
    }
    XSetWindowAttributes attributes{};
    attributes.event_mask = kEditorEvents;
    // No background: every paint covers the window, so clearing would flicker.
    attributes.background_pixmap = None;
    const Window created =
        XCreateWindow(display, parentId, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height), 0,
                      CopyFromParent, InputOutput, CopyFromParent, CWEventMask | CWBackPixmap, &attributes);
    gc = created ? XCreateGC(display, created, 0, nullptr) : nullptr;
    XWindowAttributes own;
    if (created && XGetWindowAttributes(display, created, &own))
        image = XCreateImage(display, own.visual, static_cast<unsigned>(own.depth), ZPixmap, 0, nullptr,
                             static_cast<unsigned>(width), static_cast<unsigned>(height), 32, 0);
    if (image) {
        image->byte_order = nativeByteOrder();
        XInitImage(image);
        image->data = static_cast<char*>(std::calloc(static_cast<std::size_t>(image->bytes_per_line), height));
    }
    if (created) XMapWindow(display, created);
    XSync(display, False);
    if (!created || !gc || !image || !image->data || trap.errorCount() > 0 || connectionLost) {
        closeConnection();
        return false;
    }
    picture = PixelImage(width, height);
    editor = &owner;
    captureHeld = false;
    window.store(created);
    dirty.add({0, 0, width, height});
    // Painted at once, so a host that never calls effEditIdle still shows
    // the face (a still one); expose events repaint it from then on.
    paint();
    XSync(display, False);
    return true;
}

void X11Platform::destroyWindow() {
    const Window old = window.exchange(0);
    editor = nullptr;
    captureHeld = false;
    if (!display) return;
    {
        XErrorTrap trap(display);
        // Gone already when the host destroyed its window first; the trap
        // takes the error.
        if (old && !connectionLost) XDestroyWindow(display, old);
    }
    closeConnection();
}

void X11Platform::closeConnection() {
    if (!display) return;
    XErrorTrap trap(display);
    if (image) XDestroyImage(image);  // frees its data too
    image = nullptr;
    if (gc) XFreeGC(display, gc);
    gc = nullptr;
    // Closing also destroys every window the connection still owns.
    XCloseDisplay(display);
    display = nullptr;
}

void X11Platform::invalidate(const PixelRect& area) {
    if (hasWindow()) dirty.add(area);
}

void X11Platform::captureMouse() { captureHeld = hasWindow(); }

void X11Platform::releaseMouse() { captureHeld = false; }

void X11Platform::endCapture() {
    if (!captureHeld) return;
    captureHeld = false;
    if (editor) editor->captureLost();
}

bool X11Platform::usable() const { return display && !connectionLost && hasWindow(); }

void X11Platform::idle() {
    if (!usable()) return;
    XErrorTrap trap(display);
    // Asked again after every event: a widget's report reaches the host,
    // which may close the editor (and this connection) before it returns.
    // XPending reads what has arrived without waiting for more.
    while (usable() && XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        handle(event);
    }
    if (usable()) paint();
    if (display && !connectionLost) XFlush(display);
}

void X11Platform::handle(const XEvent& event) {
    if (event.xany.window != window.load() || !editor) return;
    ZVGui& gui = *editor;
    switch (event.type) {
        case Expose: {
            const XExposeEvent& e = event.xexpose;
            dirty.add({e.x, e.y, e.x + e.width, e.y + e.height});
            break;
        }
        case ButtonPress: {
            const XButtonEvent& b = event.xbutton;
            if (b.button == Button4 || b.button == Button5)
                gui.mouseWheel(b.x, b.y, b.button == Button4 ? kWheelNotch : -kWheelNotch);
            else if (coreButton(b.button) >= 0)
                gui.mouseDown(coreButton(b.button), b.x, b.y);
            break;
        }
        case ButtonRelease: {
            const XButtonEvent& b = event.xbutton;
            if (coreButton(b.button) >= 0) gui.mouseUp(coreButton(b.button), b.x, b.y);
            break;
        }
        case MotionNotify: {
            const XMotionEvent& m = event.xmotion;
            // The grab ended without a release reaching us: a drag that goes
            // on with no button held would drag nothing on Windows either.
            if (!(m.state & (Button1Mask | Button3Mask))) endCapture();
            gui.mouseMove(m.x, m.y);
            break;
        }
        case LeaveNotify:
            // A drag leaving the window keeps its grab. The grab is lost when
            // the server says so (Ungrab) or when the host hid its window
            // mid-drag, which the server tells only by this leave: then the
            // drag ends, as WM_CAPTURECHANGED ends it on Windows.
            if (event.xcrossing.mode == NotifyUngrab || (captureHeld && !viewable())) {
                endCapture();
            } else if (event.xcrossing.mode == NotifyNormal && !captureHeld) {
                // Out of the window: no widget is under the pointer any more.
                gui.mouseMove(-1, -1);
            }
            break;
        case UnmapNotify: endCapture(); break;
        case DestroyNotify:
            // The host destroyed its window and ours with it.
            endCapture();
            window.store(0);
            break;
        default: break;
    }
}

bool X11Platform::viewable() {
    XWindowAttributes attributes;
    return XGetWindowAttributes(display, window.load(), &attributes) && attributes.map_state == IsViewable;
}

void X11Platform::paint() {
    PixelRect area;
    if (!dirty.take(area)) return;
    area = {std::max(area.left, 0), std::max(area.top, 0), std::min(area.right, picture.width),
            std::min(area.bottom, picture.height)};
    if (area.right <= area.left || area.bottom <= area.top) return;
    // The face is drawn whole (cheap); sending it is what costs, so only
    // the area goes to the server.
    SoftCanvas canvas(picture);
    editor->paint(canvas);
    copyToXImage(picture, *image);
    XPutImage(display, window.load(), gc, image, area.left, area.top, area.left, area.top,
              static_cast<unsigned>(area.right - area.left), static_cast<unsigned>(area.bottom - area.top));
}
