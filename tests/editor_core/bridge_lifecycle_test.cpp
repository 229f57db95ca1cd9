// The parameter bridge (plug-in to widgets and on to the window) and the
// editor's lifecycle: opening, reopening, failing to open, destruction.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <utility>
#include <memory>

#include "editor/bitmap_knob.h"
#include "editor/bitmap_toggle.h"
#include "tests/editor_core/editor_fakes.h"

namespace {

void* const kParent = reinterpret_cast<void*>(0x1234);

bool sameRect(const PixelRect& a, const PixelRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// A knob on parameter 40 and two toggles both bound to parameter 5.
struct Bridge : ::testing::Test {
    FakeSynth synth;
    FakePlatform* platform = nullptr;
    ZVGui* gui = nullptr;
    bitmapknob* knob = nullptr;
    bitmap3toggle* first = nullptr;
    bitmap3toggle* second = nullptr;

    void SetUp() override {
        auto owned = std::make_unique<FakePlatform>();
        platform = owned.get();
        gui = new ZVGui(&synth, 616, 287, std::move(owned));
        synth.attach(gui);
        auto k = std::make_unique<bitmapknob>(200, 135, nullptr, nullptr);
        k->paramIndex = 40;
        knob = k.get();
        gui->addWidget(std::move(k));
        for (int left : {16, 40}) {
            auto t = std::make_unique<bitmap3toggle>(left, 24, nullptr);
            t->paramIndex = 5;
            (left == 16 ? first : second) = t.get();
            gui->addWidget(std::move(t));
        }
        synth.values[40] = 0.25f;
        gui->refreshAll();
    }
    void TearDown() override {
        delete gui;
        synth.attach(nullptr);
    }
    std::vector<PixelRect> takeInvalidated() { return std::exchange(platform->invalidated, {}); }
};

TEST_F(Bridge, AChangeReachesEveryBoundWidgetUnlessAlreadyWithinATenThousandth) {
    ASSERT_TRUE(gui->open(kParent));
    gui->redrawDirty();
    takeInvalidated();
    const struct {
        VstInt32 index;
        float value;
        float knobAfter, togglesAfter;
        int invalidated;
    } steps[] = {
        {40, 0.5f, 0.5f, 0.0f, 1},       {40, 0.50009f, 0.5f, 0.0f, 0},  // within 0.0001: untouched
        {40, 0.5002f, 0.5002f, 0.0f, 0},                                 // taken, same frame: nothing to redraw
        {40, 0.9f, 0.9f, 0.0f, 1},       {5, 0.5f, 0.9f, 0.5f, 2},       // both toggles of parameter 5
        {5, 0.50005f, 0.9f, 0.5f, 0},
    };
    for (const auto& s : steps) {
        synth.setParameter(s.index, s.value);
        EXPECT_FLOAT_EQ(knob->getValue(), s.knobAfter) << s.value;
        EXPECT_FLOAT_EQ(first->getValue(), s.togglesAfter) << s.value;
        EXPECT_FLOAT_EQ(second->getValue(), s.togglesAfter) << s.value;
        EXPECT_EQ(takeInvalidated().size(), static_cast<std::size_t>(s.invalidated)) << s.value;
    }
    // Nothing went back to the plug-in or the host.
    EXPECT_EQ(synth.received.size(), std::size(steps));
    EXPECT_TRUE(synth.automated.empty());
}

TEST_F(Bridge, AWidgetShowingNaNTakesTheNextHostValue) {
    synth.setParameter(5, std::numeric_limits<float>::quiet_NaN());
    synth.setParameter(5, 1.0f);
    EXPECT_EQ(first->getValue(), 1.0f);
}

TEST_F(Bridge, ChangesWhileClosedDrawNothingAndShowOnceOpen) {
    synth.setParameter(40, 1.0f);
    synth.setParameter(5, 1.0f);
    EXPECT_TRUE(platform->invalidated.empty());
    ASSERT_TRUE(gui->open(kParent));
    RecordingCanvas canvas;
    gui->paint(canvas);
    // No background bitmap here: the grey fill, then the widgets.
    ASSERT_EQ(canvas.ops.size(), 1u + 2u + 2u);
    EXPECT_EQ(canvas.ops[0].source, nullptr);
    EXPECT_EQ(canvas.ops[0].colour, 0x969696u);
    EXPECT_EQ(std::make_pair(canvas.ops[0].width, canvas.ops[0].height), std::make_pair(616, 287));
    EXPECT_EQ(canvas.ops[2].sourceY, 63 * 24);  // the knob at 1.0
    EXPECT_EQ(canvas.ops[3].sourceY, 2 * 21);   // both toggles at 1.0
    EXPECT_EQ(canvas.ops[4].sourceY, 2 * 21);
}

TEST_F(Bridge, ARefreshSetsEveryWidgetAndRedrawsWhatChanged) {
    // What a restored chunk does: new values in the plug-in, then a refresh.
    ASSERT_TRUE(gui->open(kParent));
    gui->redrawDirty();
    takeInvalidated();
    synth.values[40] = 0.1f;
    synth.values[5] = 1.0f;
    gui->refreshAll();
    EXPECT_EQ(knob->getValue(), 0.1f);
    EXPECT_EQ(first->getValue(), 1.0f);
    const std::vector<PixelRect> areas = takeInvalidated();
    ASSERT_EQ(areas.size(), 3u);
    EXPECT_TRUE(sameRect(areas[0], {200, 135, 224, 159}));
    EXPECT_TRUE(sameRect(areas[1], {16, 24, 37, 45}));
    EXPECT_TRUE(synth.received.empty());
    // Nothing is left dirty for a later redraw to find.
    for (std::size_t i = 0; i < gui->widgetCount(); ++i) EXPECT_FALSE(gui->widget(i)->isDirty());
}

TEST_F(Bridge, GetRectReportsTheEditorSize) {
    ERect* rect = nullptr;
    ASSERT_TRUE(gui->getRect(&rect));
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, 287);
    EXPECT_EQ(rect->right, 616);
    EXPECT_FALSE(gui->getRect(nullptr));
}

TEST_F(Bridge, OpeningTwiceReplacesTheWindowAndAFailedOpenSaysSo) {
    platform->ownLog.clear();
    ASSERT_TRUE(gui->open(kParent));
    ASSERT_TRUE(gui->open(kParent));
    EXPECT_EQ(platform->ownLog, (std::vector<std::string>{"create", "destroy", "create"}));

    gui->close();
    platform->refuseWindows = true;
    EXPECT_FALSE(gui->open(kParent));
    EXPECT_FALSE(gui->isOpen());
    synth.setParameter(40, 0.0f);
    EXPECT_TRUE(platform->invalidated.empty());
    gui->close();  // closing what never opened is harmless
}

TEST(Lifecycle, DestructionTakesTheWindowDownBeforeAnyWidget) {
    std::vector<std::string> log;
    FakeSynth synth;
    auto owned = std::make_unique<FakePlatform>();
    owned->log = &log;
    ZVGui* gui = new ZVGui(&synth, 616, 287, std::move(owned));
    synth.attach(gui);
    gui->addWidget(std::make_unique<ProbeWidget>("A", 10, 20, 21, 21, log));
    gui->addWidget(std::make_unique<ProbeWidget>("B", 40, 20, 21, 21, log));
    ASSERT_TRUE(gui->open(kParent));
    gui->mouseDown(0, 15, 30);
    log.clear();
    synth.attach(nullptr);
    delete gui;
    // The drag is dropped without a report (the plug-in is going away), the
    // capture released, the window destroyed, and only then the widgets.
    EXPECT_EQ(log, (std::vector<std::string>{"release", "destroy", "A deleted", "B deleted"}));
}

}  // namespace
