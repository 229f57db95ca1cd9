// The third-generation face: which widgets exist where, bound to what, and
// what clicks and drags at the documented places do to the instrument.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

#include "editor/bitmap_step_knob.h"
#include "editor/bitmap_toggle.h"
#include "editor/my_gui.h"
#include "tests/editor_core/editor_fakes.h"

namespace {

void* const kParent = reinterpret_cast<void*>(0x1234);

struct Face {
    FakeSynth synth;
    FakePlatform* platform;
    MyGui* gui;
    explicit Face(std::initializer_list<int> missing = {}) {
        auto owned = std::make_unique<FakePlatform>();
        platform = owned.get();
        for (int id : missing) platform->available.erase(id);
        gui = new MyGui(&synth, std::move(owned));
        synth.attach(gui);
    }
    void click(int button, int x, int y) {
        gui->mouseMove(x, y);
        gui->mouseDown(button, x, y);
        gui->mouseUp(button, x, y);
    }
};

enum class Kind { toggle, knob, step };

Kind kindOf(WidgetBase* w) {
    if (dynamic_cast<bitmap3toggle*>(w)) return Kind::toggle;
    return dynamic_cast<bitmapstepknob*>(w) ? Kind::step : Kind::knob;
}

TEST(Layout, FortyNineWidgetsInListOrderEachParameterBoundOnce) {
    struct Expected {
        Kind kind;
        int left, top;
        VstInt32 param;
        bool automated, notifyOnRelease;
    };
    std::vector<Expected> expected;
    for (int i = 0; i < 16; ++i) {
        expected.push_back({Kind::toggle, 16 + 24 * i, 24, i, true, false});
        expected.push_back({Kind::toggle, 16 + 24 * i, 48, i + 16, true, false});
    }
    const Expected knobs[] = {
        {Kind::knob, 440, 40, 32, false, true},  {Kind::knob, 496, 40, 33, true, false},
        {Kind::step, 536, 40, 34, true, false},  {Kind::knob, 576, 40, 35, true, false},
        {Kind::knob, 40, 135, 36, true, false},  {Kind::knob, 80, 135, 37, true, false},
        {Kind::knob, 120, 135, 38, true, false}, {Kind::knob, 160, 135, 39, true, false},
        {Kind::knob, 200, 135, 40, true, false}, {Kind::knob, 240, 135, 41, true, false},
        {Kind::knob, 280, 135, 42, true, false}, {Kind::knob, 352, 135, 43, true, false},
        {Kind::knob, 392, 135, 44, true, false}, {Kind::knob, 432, 135, 45, true, false},
        {Kind::knob, 472, 135, 46, true, false}, {Kind::knob, 512, 135, 47, true, false},
        {Kind::knob, 552, 135, 48, true, false},
    };
    expected.insert(expected.end(), std::begin(knobs), std::end(knobs));

    Face face;
    ASSERT_EQ(face.gui->widgetCount(), 49u);
    std::set<VstInt32> bound;
    for (std::size_t i = 0; i < 49; ++i) {
        WidgetBase* w = face.gui->widget(i);
        const Expected& e = expected[i];
        EXPECT_EQ(kindOf(w), e.kind) << i;
        EXPECT_EQ(std::make_pair(w->left, w->top), std::make_pair(e.left, e.top)) << i;
        const int size = e.kind == Kind::toggle ? 21 : 24;
        EXPECT_EQ(std::make_pair(w->width, w->height), std::make_pair(size, size)) << i;
        EXPECT_EQ(w->paramIndex, e.param) << i;
        EXPECT_EQ(w->automated, e.automated) << i;
        if (auto* knob = dynamic_cast<bitmapknob*>(w)) {
            EXPECT_EQ(knob->notifyOnRelease, e.notifyOnRelease) << i;
        }
        EXPECT_EQ(w->editor, face.gui);
        bound.insert(w->paramIndex);
        // Inside the face, and no two widgets overlap.
        EXPECT_TRUE(w->left >= 0 && w->top >= 0 && w->left + w->width <= 616 && w->top + w->height <= 287) << i;
        for (std::size_t j = 0; j < i; ++j) {
            WidgetBase* o = face.gui->widget(j);
            const bool apart = w->left >= o->left + o->width || o->left >= w->left + w->width ||
                               w->top >= o->top + o->height || o->top >= w->top + w->height;
            EXPECT_TRUE(apart) << i << " overlaps " << j;
        }
    }
    EXPECT_EQ(bound.size(), 49u);
    EXPECT_EQ(*bound.begin(), 0);
    EXPECT_EQ(*bound.rbegin(), 48);
    // Knobs start at 0.5, toggles at 0, until the instrument refreshes them.
    EXPECT_EQ(face.gui->widget(0)->getValue(), 0.0f);
    EXPECT_EQ(face.gui->widget(48)->getValue(), 0.5f);
}

TEST(Layout, ClicksOnTheHarmonicRowsToggleTheirParameters) {
    const struct {
        int x, y;
        VstInt32 param;  // -1: nothing
    } cases[] = {{27, 35, 0}, {27, 59, 16}, {16, 35, -1}, {387, 59, 31}, {37, 35, -1}};
    for (const auto& c : cases) {
        Face face;
        ASSERT_TRUE(face.gui->open(kParent));
        face.click(0, c.x, c.y);
        if (c.param < 0) {
            EXPECT_TRUE(face.synth.received.empty()) << c.x << "," << c.y;
            continue;
        }
        const std::vector<ParameterCall> expected = {{c.param, 0.5f}};
        EXPECT_EQ(face.synth.received, expected) << c.x << "," << c.y;
        EXPECT_EQ(face.synth.automated, expected) << c.x << "," << c.y;
        EXPECT_EQ(face.synth.values[c.param], 0.5f);
        // The click's redraw covers the toggle.
        ASSERT_FALSE(face.platform->invalidated.empty());
    }
}

TEST(Layout, DraggingBandwidthSendsOneUnannouncedChangeOnRelease) {
    Face face;
    face.synth.values[32] = 0.28499994f;
    face.gui->refreshAll();
    ASSERT_TRUE(face.gui->open(kParent));
    face.gui->mouseMove(452, 52);
    face.gui->mouseDown(0, 452, 52);
    for (int y = 51; y >= 32; --y) face.gui->mouseMove(452, y);
    EXPECT_NEAR(face.gui->widget(32)->getValue(), 0.385f, 1e-5);
    EXPECT_TRUE(face.synth.received.empty());
    face.gui->mouseUp(0, 452, 32);
    ASSERT_EQ(face.synth.received.size(), 1u);
    EXPECT_EQ(face.synth.received[0].index, 32);
    EXPECT_EQ(face.synth.received[0].value, face.gui->widget(32)->getValue());
    EXPECT_TRUE(face.synth.automated.empty());
}

TEST(Layout, MissingBitmapsLeaveOutTheirWidgets) {
    const struct {
        std::initializer_list<int> missing;
        std::size_t widgets;
        bool greyFill;
    } cases[] = {{{}, 49, false},    {{101}, 49, true},  {{102}, 17, false},
                 {{103}, 32, false}, {{104}, 32, false}, {{101, 102, 103, 104}, 0, true}};
    for (const auto& c : cases) {
        Face face(c.missing);
        EXPECT_EQ(face.gui->widgetCount(), c.widgets);
        RecordingCanvas canvas;
        face.gui->paint(canvas);
        ASSERT_FALSE(canvas.ops.empty());
        EXPECT_EQ(canvas.ops[0].source == nullptr, c.greyFill);
        if (!c.greyFill) {
            EXPECT_EQ(face.platform->idOf(canvas.ops[0].source), 101);
        }
    }
}

TEST(Layout, EveryBlitStaysInsideItsBitmapWhateverTheValues) {
    const float values[] = {0.0f,
                            0.5f,
                            1.0f,
                            -1.0f,
                            1.7f,
                            1e30f,
                            std::numeric_limits<float>::quiet_NaN(),
                            -std::numeric_limits<float>::infinity()};
    for (float v : values) {
        Face face;
        for (float& p : face.synth.values) p = v;
        face.gui->refreshAll();
        RecordingCanvas canvas;
        face.gui->paint(canvas);
        EXPECT_EQ(canvas.ops.size(), 1u + 32u + 2u * 17u);
        for (const CanvasOp& op : canvas.ops) {
            const BitmapSize size = face.platform->bitmapSize(op.source);
            EXPECT_TRUE(op.sourceX >= 0 && op.sourceY >= 0 && op.sourceX + op.width <= size.width &&
                        op.sourceY + op.height <= size.height)
                << "value " << v << ", bitmap " << face.platform->idOf(op.source) << " at y " << op.sourceY;
        }
    }
}

TEST(Layout, DestructionClosesTheWindowThenFreesTheFourBitmaps) {
    Face face;
    ASSERT_TRUE(face.gui->open(kParent));
    face.platform->ownLog.clear();
    std::vector<std::string> log;
    face.platform->log = &log;
    face.synth.attach(nullptr);
    delete face.gui;
    EXPECT_EQ(log, (std::vector<std::string>{"destroy", "free 101", "free 103", "free 104", "free 102"}));
}

}  // namespace
