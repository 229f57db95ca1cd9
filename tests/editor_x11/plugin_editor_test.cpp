// The editor through the Nubbel3 library under Xvfb, with the coordinates and
// expectations of the Windows window tests, plus what only X11 can do to it:
// the wheel as buttons 4 and 5, and a grab the host takes away mid-drag.
#include "tests/editor_x11/editor_in_host.h"

namespace {

constexpr VstInt32 kBandwidth = 32, kSw = 33, kFilterCutoff = 41;
// Centres of the "BW", "SW" and "F_Cut" knobs.
constexpr int kBwX = 452, kBwY = 52, kSwX = 508, kSwY = 52, kCutX = 252, kCutY = 147;

using Interface = EditorInHost;

TEST_F(Interface, ReportsAnEditorOfTheWindowsSizeAndShowsTheFace) {
    EXPECT_EQ(host.effect()->flags, 0x131);
    ERect* rect = nullptr;
    ASSERT_EQ(host.dispatch(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, 287);
    EXPECT_EQ(rect->right, 616);
    ASSERT_TRUE(open());
    EXPECT_EQ(hostWindow.childCount(), 1);
    EXPECT_TRUE(showsInstrumentValues());
}

TEST_F(Interface, ClicksChangeTheirParameterAndTheHostIsTold) {
    ASSERT_TRUE(open());
    const struct {
        int x, y;
        unsigned button;
        VstInt32 param;  // -1: nothing
    } cases[] = {{27, 35, Button1, 0}, {27, 59, Button1, 16}, {16, 35, Button1, -1}, {27, 35, Button3, 0}};
    for (const auto& c : cases) {
        float before[FakeSynth::kParams];
        for (VstInt32 i = 0; i < FakeSynth::kParams; ++i) before[i] = host.getParameter(i);
        host.clearCalls();
        click(c.x, c.y, c.button);
        for (VstInt32 i = 0; i < FakeSynth::kParams; ++i) {
            if (i == c.param) continue;
            EXPECT_EQ(host.getParameter(i), before[i])
                << "parameter " << i << " after button " << c.button << " at " << c.x << "," << c.y;
        }
        if (c.param < 0) {
            EXPECT_EQ(host.countCalls(audioMasterAutomate), 0);
            continue;
        }
        const float expected = before[c.param] + 0.5f > 1.05f ? 0.0f : before[c.param] + 0.5f;
        EXPECT_EQ(host.getParameter(c.param), expected) << "button " << c.button;
        EXPECT_EQ(automateCallsFor(c.param), 1);
    }
    EXPECT_TRUE(showsInstrumentValues());
}

TEST_F(Interface, WheelButtonsStepAKnobAndReportAtOnce) {
    ASSERT_TRUE(open());
    host.setParameter(kSw, 0.5f);
    host.clearCalls();
    click(kSwX, kSwY, Button4);
    EXPECT_NEAR(host.getParameter(kSw), 0.51f, 1e-6);
    click(kSwX, kSwY, Button5);
    click(kSwX, kSwY, Button5);
    EXPECT_NEAR(host.getParameter(kSw), 0.49f, 1e-6);
    EXPECT_EQ(automateCallsFor(kSw), 3);
    EXPECT_TRUE(showsInstrumentValues());
}

TEST_F(Interface, BandwidthChangesOnlyWhenTheDragEndsAndUnannounced) {
    ASSERT_TRUE(open());
    const float before = host.getParameter(kBandwidth);
    host.clearCalls();
    moveTo(kBwX, 60);
    press(Button1);
    for (int y = 56; y >= 40; y -= 4) moveTo(kBwX, y);
    EXPECT_EQ(host.getParameter(kBandwidth), before);
    release(Button1);
    EXPECT_NEAR(host.getParameter(kBandwidth), before + 0.1f, 1e-5);
    EXPECT_EQ(host.countCalls(audioMasterAutomate), 0);
}

TEST_F(Interface, ADragGoesOnOutsideTheWindowUntilTheButtonComesUp) {
    ASSERT_TRUE(open());
    host.setParameter(kFilterCutoff, 0.2f);
    moveTo(kCutX, kCutY);
    press(Button1);
    // 200 pixels up is the whole range; the pointer ends above the editor,
    // where the grab reports negative coordinates.
    for (int y = kCutY - 60; y >= -90; y -= 60) moveTo(kCutX, y);
    EXPECT_EQ(host.getParameter(kFilterCutoff), 1.0f);
    for (int y = -30; y <= 400; y += 100) moveTo(kCutX, y);  // below the editor too
    EXPECT_EQ(host.getParameter(kFilterCutoff), 0.0f);
    release(Button1);
    moveTo(kCutX, kCutY - 50);
    EXPECT_EQ(host.getParameter(kFilterCutoff), 0.0f) << "the drag ended with the button";
    EXPECT_TRUE(showsInstrumentValues());
}

TEST_F(Interface, AGrabLostMidDragEndsTheDragAndTheReleaseReports) {
    ASSERT_TRUE(open());
    const float before = host.getParameter(kBandwidth);
    moveTo(kBwX, kBwY);
    press(Button1);
    moveTo(kBwX, kBwY - 20);
    ASSERT_EQ(host.getParameter(kBandwidth), before);
    // The host hides its panel mid-drag: the server ends the grab, the
    // editor sees no release.
    hostWindow.unmap();
    settle();
    const float reported = host.getParameter(kBandwidth);
    EXPECT_NEAR(reported, before + 0.1f, 1e-5) << "\"BW\" reports when its drag ends";
    hostWindow.map();
    settle();
    // Back over the window with the button still down, then with it up:
    // neither drags anything.
    moveTo(kBwX, kBwY + 30);
    moveTo(kBwX, kBwY - 30);
    release(Button1);
    moveTo(kBwX, kBwY + 40);
    EXPECT_EQ(host.getParameter(kBandwidth), reported);
    EXPECT_TRUE(showsInstrumentValues());
}

TEST_F(Interface, HostChangesProgramsAndChunksShowOnScreen) {
    ASSERT_TRUE(open());
    expectHostChangesOnScreen(*this, kFilterCutoff, 5);
}

}  // namespace
