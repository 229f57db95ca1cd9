// The first-generation face: its 23 knobs and what the mouse and the
// instrument do to them.
#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <set>
#include <string>

#include "first_generation/editor/first_gen_gui.h"
#include "first_generation/editor/first_gen_knob.h"
#include "tests/editor_core/editor_fakes.h"

namespace {

void* const kParent = reinterpret_cast<void*>(0x1234);

struct Face {
    FakeSynth synth;
    FakePlatform* platform;
    FirstGenGui* gui;
    explicit Face(std::initializer_list<int> missing = {}) {
        auto owned = std::make_unique<FakePlatform>();
        platform = owned.get();
        platform->available = {{101, {785, 82}}, {103, {26, 1664}}, {104, {26, 26}}, {105, {20, 20}}, {106, {20, 640}}};
        for (int id : missing) platform->available.erase(id);
        gui = new FirstGenGui(&synth, std::move(owned));
        synth.attach(gui);
    }
    bitmapknob& knob(VstInt32 param) {
        return dynamic_cast<bitmapknob&>(*gui->widget(static_cast<std::size_t>(param)));
    }
    // Presses at y0, moves one pixel at a time to y1.
    void drag(int button, int x, int y0, int y1) {
        gui->mouseMove(x, y0);
        gui->mouseDown(button, x, y0);
        for (int y = y0; y != y1;) {
            y += y1 > y0 ? 1 : -1;
            gui->mouseMove(x, y);
        }
    }
};

TEST(FirstGenLayout, TwentyThreeKnobsInListOrder) {
    const struct {
        int left, top, size, frames;
        bool automated, notifyOnRelease;
    } expected[] = {
        {30, 38, 20, 32, false, true},  {53, 38, 20, 32, false, true},  {77, 38, 20, 32, false, true},
        {102, 38, 20, 32, false, true}, {127, 38, 20, 32, false, true}, {150, 38, 20, 32, false, true},
        {174, 38, 20, 32, false, true}, {197, 38, 20, 32, false, true}, {230, 35, 26, 64, false, true},
        {266, 35, 26, 64, true, false}, {302, 35, 26, 64, true, false}, {338, 35, 26, 64, true, false},
        {374, 35, 26, 64, true, false}, {410, 35, 26, 64, true, false}, {446, 35, 26, 64, true, false},
        {482, 35, 26, 64, true, false}, {518, 35, 26, 64, true, false}, {554, 35, 26, 64, true, false},
        {590, 35, 26, 64, true, false}, {626, 35, 26, 64, true, false}, {662, 35, 26, 64, true, false},
        {698, 35, 26, 64, true, false}, {734, 35, 26, 64, true, false},
    };
    Face face;
    ASSERT_EQ(face.gui->widgetCount(), 23u);
    for (std::size_t i = 0; i < 23; ++i) {
        const auto& e = expected[i];
        auto* knob = dynamic_cast<FirstGenKnob*>(face.gui->widget(i));
        ASSERT_NE(knob, nullptr) << i;
        EXPECT_EQ(knob->paramIndex, static_cast<VstInt32>(i));
        EXPECT_EQ(std::make_pair(knob->left, knob->top), std::make_pair(e.left, e.top)) << i;
        EXPECT_EQ(std::make_pair(knob->width, knob->height), std::make_pair(e.size, e.size)) << i;
        EXPECT_EQ(std::make_pair(knob->frameHeight, knob->frameCount), std::make_pair(e.size, e.frames)) << i;
        EXPECT_EQ(knob->automated, e.automated) << i;
        EXPECT_EQ(knob->notifyOnRelease, e.notifyOnRelease) << i;
        EXPECT_EQ(knob->getValue(), 0.5f) << i;
        EXPECT_TRUE(knob->left + knob->width <= 785 && knob->top + knob->height <= 82) << i;
        if (i > 0) {
            WidgetBase* before = face.gui->widget(i - 1);
            EXPECT_LE(before->left + before->width, knob->left) << i << " overlaps its neighbour";
        }
    }
    ERect* rect = nullptr;
    ASSERT_TRUE(face.gui->getRect(&rect));
    EXPECT_EQ((std::vector<int>{rect->top, rect->left, rect->bottom, rect->right}), (std::vector<int>{0, 0, 82, 785}));
}

TEST(FirstGenLayout, WaveKnobReportsOnceOnReleaseWithoutTellingTheHost) {
    Face face;
    ASSERT_TRUE(face.gui->open(kParent));
    face.drag(0, 40, 48, 28);
    EXPECT_NEAR(face.knob(0).getValue(), 0.6f, 1e-5);
    EXPECT_TRUE(face.synth.received.empty());
    face.gui->mouseUp(0, 40, 28);
    ASSERT_EQ(face.synth.received.size(), 1u);
    EXPECT_EQ(face.synth.received[0].index, 0);
    EXPECT_NEAR(face.synth.received[0].value, 0.6f, 1e-5);
    EXPECT_EQ(face.synth.received[0].value, face.knob(0).getValue());
    EXPECT_TRUE(face.synth.automated.empty());
}

TEST(FirstGenLayout, FilterCutoffAnnouncesEveryChangeAtOnce) {
    Face face;
    ASSERT_TRUE(face.gui->open(kParent));
    face.drag(0, 495, 48, 38);
    // Ten pixels, each a new thousandth: ten announced changes, rising.
    ASSERT_EQ(face.synth.automated.size(), 10u);
    EXPECT_EQ(face.synth.received, face.synth.automated);
    for (std::size_t i = 0; i < 10; ++i) {
        EXPECT_EQ(face.synth.automated[i].index, 15);
        EXPECT_NEAR(face.synth.automated[i].value, 0.5f + 0.005f * static_cast<float>(i + 1), 1e-5);
    }
    face.gui->mouseUp(0, 495, 38);
    EXPECT_EQ(face.synth.automated.size(), 10u);
    EXPECT_NEAR(face.synth.values[15], 0.55f, 1e-5);
}

TEST(FirstGenLayout, RightButtonAndWheelChangeNothing) {
    const struct {
        const char* what;
        int x, y;
    } knobs[] = {{"small", 40, 48}, {"large", 495, 48}};
    for (const auto& k : knobs) {
        Face face;
        ASSERT_TRUE(face.gui->open(kParent));
        face.platform->ownLog.clear();
        face.drag(1, k.x, k.y, k.y - 30);
        face.gui->mouseUp(1, k.x, k.y - 30);
        face.gui->mouseWheel(k.x, k.y, 120);
        face.gui->mouseWheel(k.x, k.y, -120);
        EXPECT_TRUE(face.synth.received.empty()) << k.what;
        EXPECT_EQ(face.gui->widgetAt(k.x, k.y)->getValue(), 0.5f) << k.what;
        EXPECT_EQ(face.gui->captured(), nullptr) << k.what;
        EXPECT_EQ(face.platform->ownLog, std::vector<std::string>{}) << k.what << ": no capture taken";
        // A right press during a left drag leaves the drag alone.
        face.drag(0, k.x, k.y, k.y - 4);
        face.gui->mouseDown(1, k.x, k.y - 4);
        face.gui->mouseMove(k.x, k.y - 8);
        face.gui->mouseUp(1, k.x, k.y - 8);
        EXPECT_NEAR(face.gui->widgetAt(k.x, k.y)->getValue(), 0.54f, 1e-5) << k.what;
        EXPECT_NE(face.gui->captured(), nullptr) << k.what;
    }
}

TEST(FirstGenLayout, CaptureLostMidDragEndsTheDrag) {
    Face face;
    ASSERT_TRUE(face.gui->open(kParent));
    face.drag(0, 40, 48, 28);
    face.gui->captureLost();
    EXPECT_EQ(face.gui->captured(), nullptr);
    ASSERT_EQ(face.synth.received.size(), 1u);
    EXPECT_NEAR(face.synth.received[0].value, 0.6f, 1e-5);
    // The pointer moving on with no button held changes nothing.
    for (int y = 28; y > 0; --y) face.gui->mouseMove(40, y);
    face.gui->mouseUp(0, 300, 70);
    EXPECT_EQ(face.synth.received.size(), 1u);
    EXPECT_NEAR(face.knob(0).getValue(), 0.6f, 1e-5);
}

TEST(FirstGenLayout, FrameFollowsValueAndNeverLeavesItsStrip) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        float value;
        int smallFrame, largeFrame;
    } cases[] = {{0.0f, 0, 0},     {0.5f, 15, 31}, {1.0f, 31, 63},
                 {0.999f, 30, 62}, {-1.0f, 0, 0},  {1.7f, 31, 63},
                 {1e30f, 31, 63},  {nan, 0, 0},    {-std::numeric_limits<float>::infinity(), 0, 0}};
    for (const auto& c : cases) {
        Face face;
        for (float& p : face.synth.values) p = c.value;
        face.gui->refreshAll();
        RecordingCanvas canvas;
        face.gui->paint(canvas);
        ASSERT_EQ(canvas.ops.size(), 1u + 2u * 23u);
        for (const CanvasOp& op : canvas.ops) {
            const int id = face.platform->idOf(op.source);
            const BitmapSize size = face.platform->bitmapSize(op.source);
            EXPECT_TRUE(op.sourceX >= 0 && op.sourceY >= 0 && op.sourceX + op.width <= size.width &&
                        op.sourceY + op.height <= size.height)
                << "value " << c.value << ", bitmap " << id << " at y " << op.sourceY;
            if (id == 106) {
                EXPECT_EQ(op.sourceY, 20 * c.smallFrame) << c.value;
            }
            if (id == 103) {
                EXPECT_EQ(op.sourceY, 26 * c.largeFrame) << c.value;
            }
        }
    }
}

TEST(FirstGenLayout, MissingBitmapsLeaveOutTheirKnobs) {
    const struct {
        std::initializer_list<int> missing;
        std::size_t knobs;
        VstInt32 firstParam;
        bool greyFill;
    } cases[] = {{{}, 23, 0, false},
                 {{101}, 23, 0, true},
                 {{105}, 15, 8, false},
                 {{106}, 15, 8, false},
                 {{103}, 8, 0, false},
                 {{104}, 8, 0, false},
                 {{101, 103, 104, 105, 106}, 0, -1, true}};
    for (const auto& c : cases) {
        Face face(c.missing);
        ASSERT_EQ(face.gui->widgetCount(), c.knobs);
        if (c.knobs) {
            EXPECT_EQ(face.gui->widget(0)->paramIndex, c.firstParam);
        }
        RecordingCanvas canvas;
        face.gui->paint(canvas);
        ASSERT_FALSE(canvas.ops.empty());
        EXPECT_EQ(canvas.ops[0].source == nullptr, c.greyFill);
        if (c.greyFill) {
            EXPECT_EQ(canvas.ops[0].colour, 0x969696u);
        }
    }
}

TEST(FirstGenLayout, DestructionClosesTheWindowThenFreesTheFiveBitmaps) {
    Face face;
    ASSERT_TRUE(face.gui->open(kParent));
    std::vector<std::string> log;
    face.platform->log = &log;
    face.synth.attach(nullptr);
    delete face.gui;
    EXPECT_EQ(log, (std::vector<std::string>{"destroy", "free 101", "free 103", "free 104", "free 106", "free 105"}));
}

}  // namespace
