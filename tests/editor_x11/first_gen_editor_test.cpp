// The first-generation editor through the Nubbel library under Xvfb: its
// size and face, what real pointer input does to the parameters and which
// host calls it causes, host-side changes on screen, and both instruments'
// editors open in one process.
#include "tests/editor_x11/editor_in_host.h"

namespace {

constexpr VstInt32 kFilterCutoff = 15;
// Centres of the "Wave 1" and "flt Cut" knobs.
constexpr int kWave1X = 40, kCutX = 495, kKnobY = 48;

using FirstGenInHost = EditorInHostOf<FirstGenGui>;

TEST_F(FirstGenInHost, ReportsAnEditorOfItsSizeAndShowsTheFace) {
    EXPECT_EQ(host.effect()->flags, 0x131);
    ERect* rect = nullptr;
    ASSERT_EQ(host.dispatch(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ((std::vector<int>{rect->top, rect->left, rect->bottom, rect->right}), (std::vector<int>{0, 0, 82, 785}));
    ASSERT_TRUE(open());
    EXPECT_EQ(hostWindow.childCount(), 1);
    EXPECT_TRUE(showsInstrumentValues());
}

TEST_F(FirstGenInHost, DragsChangeTheirParametersWithTheRightHostCalls) {
    ASSERT_TRUE(open());
    expectFirstGenDrags(*this);
}

TEST_F(FirstGenInHost, RightButtonAndWheelChangeNothing) {
    ASSERT_TRUE(open());
    host.clearCalls();
    float before[23];
    for (VstInt32 i = 0; i < 23; ++i) before[i] = host.getParameter(i);
    for (int x : {kWave1X, kCutX}) {
        moveTo(x, kKnobY);
        press(Button3);
        moveTo(x, kKnobY - 30);
        release(Button3);
        click(x, kKnobY, Button4);
        click(x, kKnobY, Button5);
    }
    for (VstInt32 i = 0; i < 23; ++i) EXPECT_EQ(host.getParameter(i), before[i]) << i;
    EXPECT_EQ(host.countCalls(audioMasterAutomate), 0);
}

TEST_F(FirstGenInHost, HostChangesProgramsAndChunksShowOnScreen) {
    ASSERT_TRUE(open());
    expectHostChangesOnScreen(*this, kFilterCutoff, 3);
}

// Both libraries in one process, one editor of each open: each shows its own
// face, and closing one leaves the other working.
TEST_F(FirstGenInHost, LivesBesideTheThirdGenerationsEditor) {
    testhost::TestHost other;
    testhost::X11HostWindow otherWindow{0, 400, MyGui::kWidth, MyGui::kHeight};
    std::string error;
    ASSERT_TRUE(other.load(NUBBEL3_PLUGIN, error)) << error;
    other.start();
    ASSERT_TRUE(open());
    ASSERT_EQ(other.dispatch(effEditOpen, 0, 0, otherWindow.parentPointer()), 1);

    SoftFace thirdGen;
    const auto otherShowsItsFace = [&] {
        for (VstInt32 i = 0; i < FakeSynth::kParams; ++i) thirdGen.synth.values[i] = other.getParameter(i);
        thirdGen.gui->refreshAll();
        const PixelImage expected = thirdGen.freshPaint();
        return testhost::idleUntil(
            other, [&] { return windowPixels(otherWindow.display(), otherWindow.firstChild()) == expected; });
    };
    EXPECT_TRUE(showsInstrumentValues());
    EXPECT_TRUE(otherShowsItsFace());

    other.dispatch(effEditClose);
    EXPECT_EQ(otherWindow.childCount(), 0);
    host.setParameter(kFilterCutoff, 0.05f);
    click(kWave1X, kKnobY);
    EXPECT_TRUE(showsInstrumentValues()) << "after the other editor closed";
    ASSERT_EQ(other.dispatch(effEditOpen, 0, 0, otherWindow.parentPointer()), 1);
    EXPECT_TRUE(otherShowsItsFace()) << "reopened";
    other.dispatch(effEditClose);
}

}  // namespace
