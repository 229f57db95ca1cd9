// ZVGui: the editor base of both instruments. Holds the ordered widget list,
// routes mouse messages to it (hit test, hover, capture), paints the
// background and the widgets, and carries values both ways between widgets
// and plug-in. The window itself belongs to an EditorPlatform; the message
// handlers here are plain functions, driven by the platform's window
// procedure or directly by tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "editor/editor_platform.h"
#include "editor/widget_base.h"
#include "plugin_base/aeff_editor.h"

class ZVGui : public AEffEditor {
public:
    // Grey 150, 150, 150 (0x00BBGGRR): the face when the background bitmap is missing.
    static constexpr std::uint32_t kFallbackFill = 0x969696;

    ZVGui(AudioEffect* effect, int width, int height, std::unique_ptr<EditorPlatform> platform);
    ~ZVGui() override;
    ZVGui(const ZVGui&) = delete;
    ZVGui& operator=(const ZVGui&) = delete;

    // Points the host at {0, 0, height, width}.
    bool getRect(ERect** rect) override;
    // Creates the child window inside parent (an existing one is closed
    // first). False when the window could not be made.
    bool open(void* parent) override;
    // Ends a drag in progress (a knob that reports on release reports), then
    // destroys the window.
    void close() override;
    // effEditIdle: lets the platform handle the window's events.
    void idle() override { platform_->idle(); }

    // Takes ownership; used by the layouts' constructors only.
    void addWidget(std::unique_ptr<WidgetBase> widget);

    // The parameter bridge, called by the plug-in. Any thread.
    // Every widget bound to index whose value differs by more than 0.0001
    // takes the value without reporting it back.
    void parameterChanged(VstInt32 index, float value);
    // Every widget takes the plug-in's value of its parameter; then the
    // changed ones are redrawn.
    void refreshAll();
    // Dirty widgets are handed to the window's thread to be painted (their
    // rectangles invalidated). Nothing happens while the editor is closed;
    // the first paint after opening shows the current values anyway.
    void redrawDirty();

    // Window messages, on the window's thread; x, y in client pixels.
    // Whether the right button means anything here; when not, the platform
    // leaves its messages to the window system and the handlers ignore it.
    bool usesRightButton() const { return rightButtonUsed; }
    void mouseMove(int x, int y);
    void mouseDown(int button, int x, int y);
    void mouseUp(int button, int x, int y);
    // delta: the wheel's signed rotation (120 per notch); one step by its sign.
    void mouseWheel(int x, int y, int delta);
    // The system took the mouse capture away.
    void captureLost();
    // Background (or the grey fill), then every widget in list order.
    void paint(Canvas& canvas);

    // First widget in list order that strictly contains the point, or null.
    WidgetBase* widgetAt(int x, int y) const;

    std::size_t widgetCount() const { return widgets.size(); }
    WidgetBase* widget(std::size_t i) const { return widgets[i].get(); }
    WidgetBase* hovered() const { return hoverWidget; }
    WidgetBase* captured() const { return captureWidget; }
    EditorPlatform& platform() { return *platform_; }
    int editorWidth() const { return width; }
    int editorHeight() const { return height; }

protected:
    void drawWidget(WidgetBase& widget, Canvas& canvas);
    // Destroys the window, dropping hover and capture. With reportRelease
    // the captured widget gets its onRelease first; a destructor passes
    // false, since the plug-in may already be half torn down.
    void shutWindow(bool reportRelease);

    ERect rect;
    PixelRect clientRect;
    std::uint32_t fillColour = kFallbackFill;
    int width;
    int height;
    BitmapHandle background = nullptr;
    bool hasBackground = false;
    // Cleared by a layout whose widgets take the left button only.
    bool rightButtonUsed = true;

private:
    void endDrag(bool reportRelease);
    bool handlesButton(int button) const { return button == 0 || rightButtonUsed; }
    WidgetBase* takeCapture();

    std::unique_ptr<EditorPlatform> platform_;
    std::vector<std::unique_ptr<WidgetBase>> widgets;
    WidgetBase* hoverWidget = nullptr;
    WidgetBase* captureWidget = nullptr;
    // Where the pointer was last seen; the capture-lost message carries none.
    int lastX = 0;
    int lastY = 0;
};
