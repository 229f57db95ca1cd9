#include "editor/zv_gui.h"

#include <cmath>

#include "plugin_base/audio_effect.h"

namespace {
// parameterChanged leaves a widget alone when it is already this close.
constexpr float kSameValue = 0.0001f;
}  // namespace

ZVGui::ZVGui(AudioEffect* effect, int width, int height, std::unique_ptr<EditorPlatform> platform)
    : AEffEditor(effect),
      rect{0, 0, static_cast<VstInt16>(height), static_cast<VstInt16>(width)},
      clientRect{0, 0, width, height},
      width(width),
      height(height),
      platform_(std::move(platform)) {}

ZVGui::~ZVGui() {
    // The window goes first, so no message can reach a widget being deleted.
    shutWindow(false);
    widgets.clear();
    platform_.reset();
}

bool ZVGui::getRect(ERect** hostRect) {
    if (!hostRect) return false;
    *hostRect = &rect;
    return true;
}

bool ZVGui::open(void* parent) {
    // A second open without a close would leak the first window and leave
    // it routing messages here.
    if (isOpen()) close();
    systemWindow = parent;
    if (!platform_->createWindow(parent, width, height, *this)) {
        systemWindow = nullptr;
        return false;
    }
    return true;
}

void ZVGui::close() { shutWindow(true); }

void ZVGui::shutWindow(bool reportRelease) {
    endDrag(reportRelease);
    platform_->destroyWindow();
    systemWindow = nullptr;
}

WidgetBase* ZVGui::takeCapture() {
    WidgetBase* held = captureWidget;
    captureWidget = nullptr;
    return held;
}

void ZVGui::endDrag(bool reportRelease) {
    hoverWidget = nullptr;
    WidgetBase* held = takeCapture();
    if (!held) return;
    if (reportRelease) held->onRelease(lastX, lastY);
    platform_->releaseMouse();
}

void ZVGui::addWidget(std::unique_ptr<WidgetBase> widget) {
    widget->editor = this;
    widgets.push_back(std::move(widget));
}

void ZVGui::parameterChanged(VstInt32 index, float value) {
    for (auto& w : widgets) {
        if (w->paramIndex != index) continue;
        // Written as "not within" so that NaN on either side counts as a change.
        if (!(std::fabs(w->getValue() - value) <= kSameValue)) w->setValue(value, false);
    }
}

void ZVGui::refreshAll() {
    if (effect)
        for (auto& w : widgets) w->setValue(effect->getParameter(w->paramIndex), false);
    // A refresh also shows what it set, wherever it came from (program
    // change, chunk restore, construction).
    redrawDirty();
}

void ZVGui::redrawDirty() {
    // Asked of the platform, which knows under a lock or atomically whether
    // a window exists: this runs on host threads while the window thread
    // opens and closes. Without a window the flags stay set; the first paint
    // after opening draws everything anyway.
    if (!platform_->hasWindow()) return;
    for (auto& w : widgets)
        if (w->takeDirty()) platform_->invalidate(w->bounds());
}

WidgetBase* ZVGui::widgetAt(int x, int y) const {
    for (auto& w : widgets)
        if (w->contains(x, y)) return w.get();
    return nullptr;
}

void ZVGui::mouseMove(int x, int y) {
    lastX = x;
    lastY = y;
    WidgetBase* hit = widgetAt(x, y);
    if (captureWidget) captureWidget->onDrag(x, y);
    // Leaving one widget for another takes two moves: the first sends the
    // leave, the second the enter. No enter while another widget holds the capture.
    if (hoverWidget && hoverWidget != hit) {
        hoverWidget->onMouseLeave(x, y);
        hoverWidget = nullptr;
    } else if (hit && hit != hoverWidget && (!captureWidget || captureWidget == hit)) {
        hit->onMouseEnter(x, y);
        hoverWidget = hit;
    }
    redrawDirty();
}

void ZVGui::mouseDown(int button, int x, int y) {
    if (!handlesButton(button)) return;
    lastX = x;
    lastY = y;
    WidgetBase* hit = widgetAt(x, y);
    if (hit) {
        // A press with the other button while a drag runs: the dragged widget
        // gets its release first, or a knob that reports on release never would.
        if (captureWidget && captureWidget != hit) takeCapture()->onRelease(x, y);
        hit->onMouseDown(button, x, y);
        captureWidget = hit;
        platform_->captureMouse();
    }
    redrawDirty();
}

void ZVGui::mouseUp(int button, int x, int y) {
    if (!handlesButton(button)) return;
    lastX = x;
    lastY = y;
    WidgetBase* hit = widgetAt(x, y);
    if (hit && (!captureWidget || captureWidget == hit)) hit->onClick(button, x, y);
    if (captureWidget) {
        captureWidget->onRelease(x, y);
        // Cleared before the release, so the capture-changed message that the
        // release causes finds nothing left to end.
        captureWidget = nullptr;
        platform_->releaseMouse();
    }
    redrawDirty();
}

void ZVGui::mouseWheel(int x, int y, int delta) {
    WidgetBase* hit = widgetAt(x, y);
    if (hit && delta != 0) hit->onWheelStep(delta > 0 ? 1 : -1);
    redrawDirty();
}

void ZVGui::captureLost() {
    // The capture is already gone: nothing to release, and releasing now
    // would take it from whichever window holds it instead.
    if (WidgetBase* held = takeCapture()) held->onRelease(lastX, lastY);
}

void ZVGui::paint(Canvas& canvas) {
    if (hasBackground) {
        const BitmapSize size = platform_->bitmapSize(background);
        canvas.blit(RasterOp::copy, background, 0, 0, size.width, size.height, 0, 0);
    } else {
        canvas.fill(clientRect, fillColour);
    }
    for (auto& w : widgets) drawWidget(*w, canvas);
}

void ZVGui::drawWidget(WidgetBase& widget, Canvas& canvas) { widget.draw(canvas); }
