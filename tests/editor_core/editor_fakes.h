// Stand-ins for the editor's neighbours: an instrument that stores its 49
// parameters and answers the editor the way the real one does, a platform
// that records what the editor asks of the window system, a canvas that
// records the blits, and a widget that logs the events it receives.
#pragma once

#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "editor/canvas.h"
#include "editor/editor_platform.h"
#include "editor/widget_base.h"
#include "editor/zv_gui.h"
#include "plugin_base/audio_effect_x.h"

struct ParameterCall {
    VstInt32 index;
    float value;
    bool operator==(const ParameterCall& o) const { return index == o.index && value == o.value; }
};

class FakeSynth : public AudioEffectX {
public:
    static constexpr int kParams = 49;

    FakeSynth();
    void processReplacing(float**, float** outputs, VstInt32 frames) override;
    // As the instrument: an unchanged value does nothing; a changed one is
    // stored and passed on to the editor, which then redraws.
    void setParameter(VstInt32 index, float value) override;
    float getParameter(VstInt32 index) override;

    // The synth owns the editor from here on (the base deletes it).
    void attach(ZVGui* gui) { editor = gui; }
    ZVGui* gui() { return static_cast<ZVGui*>(editor); }

    float values[kParams] = {};
    bool keepCalls = true;                 // off for long runs
    std::vector<ParameterCall> received;   // every setParameter, changed or not
    std::vector<ParameterCall> automated;  // audioMasterAutomate as the host saw it

private:
    static VstIntPtr VSTCALLBACK host(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                      float opt);
};

class FakePlatform : public EditorPlatform {
public:
    // Bitmaps of the third-generation face, by id, with their sizes.
    FakePlatform();

    BitmapHandle loadBitmap(int resourceId) override;
    void freeBitmap(BitmapHandle bitmap) override;
    BitmapSize bitmapSize(BitmapHandle bitmap) override;
    bool createWindow(void* parent, int width, int height, ZVGui& editor) override;
    void destroyWindow() override;
    bool hasWindow() const override { return windowOpen; }
    void invalidate(const PixelRect& area) override;
    void captureMouse() override;
    void releaseMouse() override;

    std::map<int, BitmapSize> available;  // ids that load, with their sizes
    bool refuseWindows = false;
    bool windowOpen = false;
    bool captureHeld = false;
    std::vector<PixelRect> invalidated;
    // Every request in order: "create", "destroy", "capture", "release",
    // "load 101", "free 101"; tests add their own entries to it.
    std::vector<std::string>* log = &ownLog;
    std::vector<std::string> ownLog;

    int idOf(BitmapHandle bitmap) const;

private:
    std::map<int, BitmapSize> loaded;
};

// One recorded blit or fill.
struct CanvasOp {
    RasterOp op;
    BitmapHandle source;  // null for a fill
    int sourceX, sourceY, width, height, x, y;
    std::uint32_t colour;
};

class RecordingCanvas : public Canvas {
public:
    void blit(RasterOp op, BitmapHandle source, int sourceX, int sourceY, int width, int height, int x,
              int y) override {
        ops.push_back({op, source, sourceX, sourceY, width, height, x, y, 0});
    }
    void fill(const PixelRect& a, std::uint32_t colour) override {
        ops.push_back({RasterOp::copy, nullptr, 0, 0, a.right - a.left, a.bottom - a.top, a.left, a.top, colour});
    }
    std::vector<CanvasOp> ops;
};

// Logs each event as "<name> <event> <arguments>", e.g. "A down 0 5 6".
class ProbeWidget : public WidgetBase {
public:
    ProbeWidget(std::string name, int left, int top, int width, int height, std::vector<std::string>& log)
        : WidgetBase(left, top, width, height, 0.0f), name(std::move(name)), log(log) {}
    ~ProbeWidget() override { note("deleted"); }

    void onMouseDown(int b, int x, int y) override { note("down", {b, x, y}); }
    void onClick(int b, int x, int y) override { note("click", {b, x, y}); }
    void onMouseEnter(int x, int y) override { note("enter", {x, y}); }
    void onMouseLeave(int x, int y) override { note("leave", {x, y}); }
    void onRelease(int, int) override { note("release"); }
    void onDrag(int x, int y) override { note("drag", {x, y}); }
    void onWheelStep(int steps) override { note("wheel", {steps}); }
    void setValue(float v, bool) override { value = v; }

private:
    void note(const char* event, std::initializer_list<int> args = {});
    std::string name;
    std::vector<std::string>& log;
};
