// The three widget kinds on their own: what a click, a drag, the wheel and a
// value from the plug-in do to the value, to the reports and to the picture.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "editor/bitmap_step_knob.h"
#include "editor/bitmap_toggle.h"
#include "tests/editor_core/editor_fakes.h"

namespace {

const float kNaN = std::numeric_limits<float>::quiet_NaN();
const float kInf = std::numeric_limits<float>::infinity();

// A synth owning a bare editor; widgets are added by each test.
struct Rig {
    FakeSynth synth;
    ZVGui* gui;
    Rig() : gui(new ZVGui(&synth, 616, 287, std::make_unique<FakePlatform>())) { synth.attach(gui); }

    template <class W>
    W* add(std::unique_ptr<W> widget, VstInt32 param, bool automated) {
        W* raw = widget.get();
        widget->paramIndex = param;
        widget->automated = automated;
        gui->addWidget(std::move(widget));
        return raw;
    }
    bitmap3toggle* toggle(VstInt32 param = 3) {
        return add(std::make_unique<bitmap3toggle>(16, 24, nullptr), param, true);
    }
    bitmapknob* knob(VstInt32 param = 40, bool automated = true) {
        return add(std::make_unique<bitmapknob>(200, 135, nullptr, nullptr), param, automated);
    }
    bitmapstepknob* stepKnob() { return add(std::make_unique<bitmapstepknob>(536, 40, nullptr, nullptr), 34, true); }
    // Press, move through the given y positions, release (x stays inside).
    static void drag(bitmapknob& knob, int button, int fromY, std::initializer_list<int> toY) {
        knob.onMouseDown(button, knob.left + 5, fromY);
        for (int y : toY) knob.onDrag(knob.left + 5, y);
    }
};

int drawnFrame(WidgetBase& widget, int frameHeight) {
    RecordingCanvas canvas;
    widget.draw(canvas);
    return canvas.ops.back().sourceY / frameHeight;
}

TEST(Toggle, ClicksCycleThroughTheStatesAndReportEachAtOnce) {
    struct Case {
        float start;
        std::vector<float> afterClicks;
    };
    const Case cases[] = {
        {0.0f, {0.5f, 1.0f, 0.0f, 0.5f}},
        {0.3f, {0.8f, 0.0f}},  // a host value between the states advances by half
        {-0.7f, {-0.2f, 0.3f, 0.8f, 0.0f}},
        {1.7f, {0.0f}},
        {kNaN, {0.0f, 0.5f}},  // NaN wraps to 0 instead of sticking
    };
    for (const Case& c : cases) {
        Rig rig;
        bitmap3toggle* toggle = rig.toggle(3);
        toggle->setValue(c.start, false);
        std::vector<ParameterCall> expected;
        for (float v : c.afterClicks) {
            toggle->onClick(0, 20, 30);
            EXPECT_FLOAT_EQ(toggle->getValue(), v) << "from " << c.start;
            expected.push_back({3, toggle->getValue()});
        }
        EXPECT_EQ(rig.synth.received, expected) << "from " << c.start;
        EXPECT_EQ(rig.synth.automated, expected) << "from " << c.start;
    }
}

TEST(Toggle, FrameFollowsTheValueAndNeverLeavesTheStrip) {
    const std::pair<float, int> cases[] = {
        {0.0f, 0},
        {0.44f, 0},
        {0.45f, 1},
        {0.5f, 1},
        {0.94f, 1},
        {0.95f, 2},
        {1.0f, 2},
        // Host values outside the states still pick one of the three frames.
        {1.7f, 2},
        {1e9f, 2},
        {kInf, 2},
        {-0.3f, 0},
        {-kInf, 0},
        {kNaN, 0},
    };
    for (const auto& [value, frame] : cases) {
        Rig rig;
        bitmap3toggle* toggle = rig.toggle();
        toggle->setValue(value, false);
        RecordingCanvas canvas;
        toggle->draw(canvas);
        ASSERT_EQ(canvas.ops.size(), 1u);
        const CanvasOp& op = canvas.ops[0];
        EXPECT_EQ(op.op, RasterOp::copy);
        EXPECT_EQ(op.sourceY, frame * 21) << value;
        EXPECT_EQ(op.sourceX, 0);
        EXPECT_EQ(std::make_pair(op.width, op.height), std::make_pair(21, 21));
        EXPECT_EQ(std::make_pair(op.x, op.y), std::make_pair(16, 24));
    }
}

TEST(Toggle, PointerEventsOnlyAskForARedraw) {
    Rig rig;
    bitmap3toggle* toggle = rig.toggle();
    toggle->setValue(0.5f, false);
    using Event = void (*)(bitmap3toggle&);
    const Event events[] = {
        [](bitmap3toggle& t) { t.onMouseDown(0, 20, 30); },
        [](bitmap3toggle& t) { t.onMouseEnter(20, 30); },
        [](bitmap3toggle& t) { t.onMouseLeave(20, 30); },
        [](bitmap3toggle& t) { t.onRelease(20, 30); },
    };
    for (Event event : events) {
        toggle->takeDirty();
        event(*toggle);
        EXPECT_TRUE(toggle->isDirty());
        EXPECT_EQ(toggle->getValue(), 0.5f);
    }
    EXPECT_TRUE(rig.synth.received.empty());
}

TEST(Knob, DragsMoveTheValueByButtonRateAndClampAtTheEnds) {
    struct Case {
        const char* what;
        int button;
        float start;
        std::initializer_list<int> moves;  // y positions after a press at y = 100
        float expected;
    };
    const Case cases[] = {
        {"left, up 10", 0, 0.5f, {90}, 0.55f},
        {"right, up 10", 1, 0.5f, {90}, 0.505f},
        {"left, down 10", 0, 0.5f, {110}, 0.45f},
        {"left, up 10 in ten moves", 0, 0.5f, {99, 98, 97, 96, 95, 94, 93, 92, 91, 90}, 0.55f},
        {"left, past the top", 0, 0.9f, {70, 50}, 1.0f},
        {"left, past the bottom", 0, 0.1f, {130, 160}, 0.0f},
        // After the stop the way back starts at once, as before.
        {"left, past the top and back one pixel", 0, 0.95f, {80, 60, 61}, 0.995f},
    };
    for (const Case& c : cases) {
        Rig rig;
        bitmapknob* knob = rig.knob();
        knob->setValue(c.start, false);
        Rig::drag(*knob, c.button, 100, c.moves);
        EXPECT_NEAR(knob->getValue(), c.expected, 1e-6) << c.what;
        ASSERT_FALSE(rig.synth.received.empty()) << c.what;
        EXPECT_EQ(rig.synth.received.back(), (ParameterCall{40, knob->getValue()})) << c.what;
        EXPECT_EQ(rig.synth.automated, rig.synth.received) << c.what;
    }
}

TEST(Knob, AMoveThatLeavesTheThousandthsAloneIsNotAStep) {
    Rig rig;
    bitmapknob* knob = rig.knob();
    knob->setValue(0.5f, false);
    Rig::drag(*knob, 1, 100, {99});  // 0.0005 at the fine rate
    EXPECT_EQ(knob->getValue(), 0.5f);
    EXPECT_TRUE(rig.synth.received.empty());

    // Past the top nothing changes and nothing is reported.
    knob->setValue(1.0f, false);
    Rig::drag(*knob, 0, 100, {90, 80});
    EXPECT_EQ(knob->getValue(), 1.0f);
    EXPECT_TRUE(rig.synth.received.empty());
}

TEST(Knob, SlowFineDragsAddUpInsteadOfBeingLost) {
    // One pixel at the fine rate is below a thousandth; ten single-pixel
    // moves must still get where one ten-pixel move gets.
    Rig slow, fast;
    bitmapknob* a = slow.knob();
    bitmapknob* b = fast.knob();
    Rig::drag(*a, 1, 100, {99, 98, 97, 96, 95, 94, 93, 92, 91, 90});
    Rig::drag(*b, 1, 100, {90});
    EXPECT_NEAR(a->getValue(), b->getValue(), 0.0006);
    EXPECT_GT(a->getValue(), 0.504f);
    EXPECT_GE(slow.synth.received.size(), 4u);
}

TEST(Knob, AKnobThatReportsOnReleaseStaysSilentUntilTheDragEnds) {
    Rig rig;
    bitmapknob* knob = rig.knob(32, false);
    knob->notifyOnRelease = true;
    Rig::drag(*knob, 0, 100, {95, 90, 80});
    EXPECT_NEAR(knob->getValue(), 0.6f, 1e-6);
    EXPECT_TRUE(rig.synth.received.empty());
    knob->onRelease(205, 80);
    EXPECT_EQ(rig.synth.received, (std::vector<ParameterCall>{{32, knob->getValue()}}));
    EXPECT_TRUE(rig.synth.automated.empty());  // reported through setParameter: the host is not told

    // The wheel reports at once, also here.
    knob->onWheelStep(1);
    EXPECT_EQ(rig.synth.received.size(), 2u);
    EXPECT_EQ(rig.synth.received.back(), (ParameterCall{32, knob->getValue()}));
}

TEST(Knob, WheelStepsByAHundredthWithinTheRange) {
    const struct {
        float start;
        int steps;
        float expected;
        bool reported;
    } cases[] = {{0.5f, 1, 0.51f, true},
                 {0.5f, -1, 0.49f, true},
                 {1.0f, 1, 1.0f, false},
                 {0.0f, -1, 0.0f, false},
                 {0.995f, 1, 1.0f, true}};
    for (const auto& c : cases) {
        Rig rig;
        bitmapknob* knob = rig.knob();
        knob->setValue(c.start, false);
        knob->onWheelStep(c.steps);
        EXPECT_FLOAT_EQ(knob->getValue(), c.expected) << c.start << " " << c.steps;
        EXPECT_EQ(!rig.synth.received.empty(), c.reported) << c.start << " " << c.steps;
    }
}

TEST(Knob, SetValueClampsAndMarksDirtyOnlyWhenTheFrameChanges) {
    Rig rig;
    bitmapknob* knob = rig.knob();
    const struct {
        float value;
        float stored;
        bool dirty;
    } steps[] = {
        {0.55f, 0.55f, true},                                               // frame 34
        {0.5f, 0.5f, true},                                                 // frame 31
        {0.5f, 0.5f, false},                                                // the value it has: nothing at all
        {0.501f, 0.501f, false},                                            // still frame 31
        {1.7f, 1.0f, true},                                                 // clamped, frame 63
        {1.0f, 1.0f, false},     {-2.0f, 0.0f, true}, {kNaN, 0.0f, false},  // NaN is taken as 0
        {0.3f, 0.3f, true},
    };
    for (const auto& s : steps) {
        knob->takeDirty();
        knob->setValue(s.value, true);
        EXPECT_EQ(knob->getValue(), s.stored) << s.value;
        EXPECT_EQ(knob->isDirty(), s.dirty) << s.value;
        EXPECT_EQ(drawnFrame(*knob, 24), static_cast<int>(63.0f * s.stored)) << s.value;
    }
    // Reports only for real changes: 0.55, 0.5, 0.501, 1, 0, 0.3.
    EXPECT_EQ(rig.synth.received.size(), 6u);
}

TEST(Knob, DrawsTheMaskThenTheFrame) {
    int maskId = 0, stripId = 0;
    bitmapknob knob(40, 135, &stripId, &maskId);
    knob.setValue(0.55f, false);
    RecordingCanvas canvas;
    knob.draw(canvas);
    ASSERT_EQ(canvas.ops.size(), 2u);
    EXPECT_EQ(canvas.ops[0].op, RasterOp::andSource);
    EXPECT_EQ(canvas.ops[0].source, &maskId);
    EXPECT_EQ(canvas.ops[0].sourceY, 0);
    EXPECT_EQ(canvas.ops[1].op, RasterOp::orSource);
    EXPECT_EQ(canvas.ops[1].source, &stripId);
    EXPECT_EQ(canvas.ops[1].sourceY, 34 * 24);
    for (const CanvasOp& op : canvas.ops) {
        EXPECT_EQ(std::make_pair(op.x, op.y), std::make_pair(40, 135));
        EXPECT_EQ(std::make_pair(op.width, op.height), std::make_pair(24, 24));
    }
}

TEST(StepKnob, SnapsAfterMoreThanHalfAStepOfTravel) {
    struct Case {
        int button;
        std::initializer_list<int> moves;  // after a press at y = 100
        float expected;
        std::vector<float> reports;
    };
    const Case cases[] = {
        {0, {75}, 0.5f, {}},        // 25 pixels: exactly half a step, no position qualifies
        {0, {74}, 0.75f, {0.75f}},  // 26 pixels
        {0, {74, 48}, 1.0f, {0.75f, 1.0f}},
        {1, {74}, 0.75f, {0.75f}},  // the right button is no finer
        {0, {126}, 0.25f, {0.25f}},
        {0, {90, 80, 74}, 0.75f, {0.75f}},  // travel adds up over moves
        {0, {0}, 1.0f, {1.0f}},             // 100 pixels at once: the accumulator is clamped
    };
    for (const Case& c : cases) {
        Rig rig;
        bitmapstepknob* knob = rig.stepKnob();
        Rig::drag(*knob, c.button, 100, c.moves);
        EXPECT_EQ(knob->getValue(), c.expected);
        std::vector<ParameterCall> expected;
        for (float v : c.reports) expected.push_back({34, v});
        EXPECT_EQ(rig.synth.received, expected);
        EXPECT_EQ(rig.synth.automated, expected);
    }
}

TEST(StepKnob, PositionsShowTheirFramesAndHostValuesAreNotQuantised) {
    Rig rig;
    bitmapstepknob* knob = rig.stepKnob();
    const std::pair<float, int> frames[] = {{0.0f, 0}, {0.25f, 15}, {0.5f, 31}, {0.75f, 47}, {1.0f, 63}, {0.3f, 18}};
    for (const auto& [value, frame] : frames) {
        knob->setValue(value, false);
        EXPECT_EQ(knob->getValue(), value);
        EXPECT_EQ(drawnFrame(*knob, 24), frame);
    }
    // From the host's 0.3 a drag starts at 0.3: 26 pixels up reach 0.43,
    // within half a step of 0.5.
    Rig::drag(*knob, 0, 100, {74});
    EXPECT_EQ(knob->getValue(), 0.5f);
    knob->onWheelStep(1);
    knob->onWheelStep(-1);
    EXPECT_EQ(knob->getValue(), 0.5f);
    EXPECT_EQ(rig.synth.received.size(), 1u);
}

}  // namespace
