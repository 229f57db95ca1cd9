// How the editor routes window messages: hit testing, the order of press,
// click and release, hover, capture (taken, lost, ended by closing) and wheel.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "editor/bitmap_knob.h"
#include "tests/editor_core/editor_fakes.h"

namespace {

using Log = std::vector<std::string>;

// Two probe widgets side by side: A at (10, 20) and B at (40, 20), 21 x 21.
// Platform requests go into the same log as the widget events.
struct Routing : ::testing::Test {
    Log log;
    FakeSynth synth;
    FakePlatform* platform = nullptr;
    ZVGui* gui = nullptr;

    void SetUp() override {
        auto owned = std::make_unique<FakePlatform>();
        platform = owned.get();
        platform->log = &log;
        gui = new ZVGui(&synth, 616, 287, std::move(owned));
        synth.attach(gui);
        gui->addWidget(std::make_unique<ProbeWidget>("A", 10, 20, 21, 21, log));
        gui->addWidget(std::make_unique<ProbeWidget>("B", 40, 20, 21, 21, log));
        ASSERT_TRUE(gui->open(reinterpret_cast<void*>(0x1234)));
        log.clear();
    }
    void TearDown() override {
        delete gui;
        synth.attach(nullptr);
    }
};

TEST_F(Routing, OnlyPointsStrictlyInsideAWidgetHitIt) {
    const struct {
        int x, y;
        const char* expected;
    } cases[] = {
        {10, 25, nullptr}, {11, 25, "A"},     {30, 25, "A"}, {31, 25, nullptr},  // left column and left + width
        {15, 20, nullptr}, {15, 21, "A"},     {15, 40, "A"}, {15, 41, nullptr},  // top row and top + height
        {41, 30, "B"},     {35, 30, nullptr},
    };
    for (const auto& c : cases) {
        WidgetBase* hit = gui->widgetAt(c.x, c.y);
        if (!c.expected)
            EXPECT_EQ(hit, nullptr) << c.x << "," << c.y;
        else
            EXPECT_EQ(hit, gui->widget(c.expected[0] == 'A' ? 0 : 1)) << c.x << "," << c.y;
    }
}

TEST_F(Routing, PressAndReleaseDeliverDownClickAndReleaseInOrder) {
    struct Case {
        const char* what;
        int button;
        int downX, upX;  // y = 30 for both
        Log expected;
    };
    const Case cases[] = {
        {"same widget", 0, 15, 16, {"A down 0 15 30", "capture", "A click 0 16 30", "A release", "release"}},
        {"right button", 1, 15, 16, {"A down 1 15 30", "capture", "A click 1 16 30", "A release", "release"}},
        {"released over another widget", 0, 15, 45, {"A down 0 15 30", "capture", "A release", "release"}},
        {"pressed on empty space", 0, 35, 45, {"B click 0 45 30"}},
        {"released on empty space", 0, 15, 35, {"A down 0 15 30", "capture", "A release", "release"}},
    };
    for (const Case& c : cases) {
        log.clear();
        gui->mouseDown(c.button, c.downX, 30);
        gui->mouseUp(c.button, c.upX, 30);
        EXPECT_EQ(log, c.expected) << c.what;
        EXPECT_EQ(gui->captured(), nullptr) << c.what;
    }
}

TEST_F(Routing, DragsGoToTheCapturingWidgetAndNoOtherIsEntered) {
    gui->mouseMove(15, 30);  // enter A
    gui->mouseDown(0, 15, 30);
    gui->mouseMove(45, 30);  // over B: A is dragged and left
    gui->mouseMove(46, 30);  // still no enter for B while A holds the capture
    gui->mouseUp(0, 46, 30);
    gui->mouseMove(47, 30);  // now B is entered
    const Log expected = {"A enter 15 30", "A down 0 15 30", "capture", "A drag 45 30", "A leave 45 30",
                          "A drag 46 30",  "A release",      "release", "B enter 47 30"};
    EXPECT_EQ(log, expected);
    EXPECT_EQ(gui->hovered(), gui->widget(1));
}

TEST_F(Routing, MovingFromOneWidgetOntoTheNextTakesTwoMoves) {
    gui->mouseMove(15, 30);
    gui->mouseMove(45, 30);
    EXPECT_EQ(gui->hovered(), nullptr);
    gui->mouseMove(46, 30);
    EXPECT_EQ(log, (Log{"A enter 15 30", "A leave 45 30", "B enter 46 30"}));
}

TEST_F(Routing, ALostCaptureEndsTheDragWithoutTakingTheCaptureBack) {
    gui->mouseDown(0, 15, 30);
    gui->mouseMove(15, 25);
    gui->captureLost();
    // The widget learns its drag ended; nothing is released, since another
    // window holds the capture now.
    EXPECT_EQ(log, (Log{"A down 0 15 30", "capture", "A drag 15 25", "A enter 15 25", "A release"}));
    EXPECT_EQ(gui->captured(), nullptr);
    // The release that follows finds no capture to end.
    log.clear();
    gui->mouseUp(0, 15, 25);
    EXPECT_EQ(log, (Log{"A click 0 15 25"}));
    // A capture change caused by our own release finds nothing either.
    log.clear();
    gui->captureLost();
    EXPECT_TRUE(log.empty());
}

TEST_F(Routing, ASecondPressElsewhereEndsTheRunningDragFirst) {
    gui->mouseDown(0, 15, 30);
    gui->mouseMove(45, 30);
    gui->mouseDown(1, 45, 30);
    EXPECT_EQ(log, (Log{"A down 0 15 30", "capture", "A drag 45 30", "A release", "B down 1 45 30", "capture"}));
    EXPECT_EQ(gui->captured(), gui->widget(1));
}

TEST_F(Routing, TheWheelStepsOnceByTheSignOfItsDelta) {
    const struct {
        int delta;
        Log expected;
    } cases[] = {
        {120, {"A wheel 1"}},   {-120, {"A wheel -1"}}, {240, {"A wheel 1"}},
        {-240, {"A wheel -1"}}, {30, {"A wheel 1"}},    {0, {}},
    };
    for (const auto& c : cases) {
        log.clear();
        gui->mouseWheel(15, 30, c.delta);
        EXPECT_EQ(log, c.expected) << c.delta;
    }
    log.clear();
    gui->mouseWheel(35, 30, 120);  // empty space
    EXPECT_TRUE(log.empty());
}

TEST(RoutingClose, ClosingMidDragEndsTheDragAndReportsAKnobThatWaitsForRelease) {
    FakeSynth synth;
    auto owned = std::make_unique<FakePlatform>();
    FakePlatform* platform = owned.get();
    ZVGui* gui = new ZVGui(&synth, 616, 287, std::move(owned));
    synth.attach(gui);
    auto knob = std::make_unique<bitmapknob>(440, 40, nullptr, nullptr);
    knob->paramIndex = 32;
    knob->notifyOnRelease = true;
    bitmapknob* bw = knob.get();
    gui->addWidget(std::move(knob));

    ASSERT_TRUE(gui->open(reinterpret_cast<void*>(0x1234)));
    gui->mouseMove(450, 50);
    gui->mouseDown(0, 450, 50);
    gui->mouseMove(450, 30);
    EXPECT_TRUE(platform->captureHeld);
    EXPECT_TRUE(synth.received.empty());

    gui->close();
    EXPECT_EQ(synth.received, (std::vector<ParameterCall>{{32, bw->getValue()}}));
    EXPECT_NEAR(bw->getValue(), 0.6f, 1e-6);
    EXPECT_EQ(gui->captured(), nullptr);
    EXPECT_EQ(gui->hovered(), nullptr);
    EXPECT_FALSE(platform->captureHeld);
    EXPECT_FALSE(platform->windowOpen);
    EXPECT_FALSE(gui->isOpen());
    const std::vector<std::string>& log = platform->ownLog;
    EXPECT_EQ(std::vector<std::string>(log.end() - 2, log.end()), (std::vector<std::string>{"release", "destroy"}));

    // Reopened, the editor starts from a clean slate: a move is not a drag.
    ASSERT_TRUE(gui->open(reinterpret_cast<void*>(0x1234)));
    gui->mouseMove(450, 10);
    EXPECT_EQ(synth.received.size(), 1u);
}

}  // namespace
