// The first-generation editor through the Nubbel library under Xvfb: its
// size and face, what real pointer input does to the parameters and which
// host calls it causes, host-side changes on screen, and both instruments'
// editors open in one process.
#include "tests/editor_x11/editor_in_host.h"

namespace {

constexpr VstInt32 kWave1 = 0, kFilterCutoff = 15;
// Centres of the "Wave 1" and "flt Cut" knobs.
constexpr int kWave1X = 40, kWave1Y = 48, kCutX = 495, kCutY = 48;

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
    host.setParameter(kWave1, 0.5f);
    host.setParameter(kFilterCutoff, 0.3f);
    host.clearCalls();

    // "Wave 1": nothing until the button comes up, then one unannounced change.
    moveTo(kWave1X, kWave1Y);
    press(Button1);
    for (int y = kWave1Y - 4; y >= kWave1Y - 20; y -= 4) moveTo(kWave1X, y);
    EXPECT_EQ(host.getParameter(kWave1), 0.5f);
    release(Button1);
    EXPECT_NEAR(host.getParameter(kWave1), 0.6f, 1e-5);
    EXPECT_EQ(host.countCalls(audioMasterAutomate), 0);

    // "flt Cut": every step at once, each announced.
    moveTo(kCutX, kCutY);
    press(Button1);
    for (int y = kCutY - 4; y >= kCutY - 20; y -= 4) moveTo(kCutX, y);
    EXPECT_NEAR(host.getParameter(kFilterCutoff), 0.4f, 1e-5);
    release(Button1);
    EXPECT_EQ(automateCallsFor(kFilterCutoff), 5);
    EXPECT_EQ(host.countCalls(audioMasterAutomate), 5);
    EXPECT_TRUE(showsInstrumentValues());
}

TEST_F(FirstGenInHost, RightButtonAndWheelChangeNothing) {
    ASSERT_TRUE(open());
    host.clearCalls();
    float before[23];
    for (VstInt32 i = 0; i < 23; ++i) before[i] = host.getParameter(i);
    for (int x : {kWave1X, kCutX}) {
        moveTo(x, kWave1Y);
        press(Button3);
        moveTo(x, kWave1Y - 30);
        release(Button3);
        click(x, kWave1Y, Button4);
        click(x, kWave1Y, Button5);
    }
    for (VstInt32 i = 0; i < 23; ++i) EXPECT_EQ(host.getParameter(i), before[i]) << i;
    EXPECT_EQ(host.countCalls(audioMasterAutomate), 0);
}

TEST_F(FirstGenInHost, HostChangesProgramsAndChunksShowOnScreen) {
    ASSERT_TRUE(open());
    ASSERT_TRUE(showsInstrumentValues());
    host.setParameter(kFilterCutoff, 0.9f);
    host.setParameter(3, 1.0f);
    EXPECT_TRUE(showsInstrumentValues()) << "after setParameter";
    host.dispatch(effSetProgram, 0, 3);
    EXPECT_TRUE(showsInstrumentValues()) << "after setProgram";
    host.dispatch(effSetProgram, 0, 6);
    const std::vector<unsigned char> chunk = host.getChunk(true);
    host.dispatch(effSetProgram, 0, 1);
    ASSERT_TRUE(showsInstrumentValues());
    ASSERT_EQ(host.setChunk(chunk, true), static_cast<VstIntPtr>(chunk.size()));
    EXPECT_TRUE(showsInstrumentValues()) << "after setChunk";
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
    click(kWave1X, kWave1Y);
    EXPECT_TRUE(showsInstrumentValues()) << "after the other editor closed";
    ASSERT_EQ(other.dispatch(effEditOpen, 0, 0, otherWindow.parentPointer()), 1);
    EXPECT_TRUE(otherShowsItsFace()) << "reopened";
    other.dispatch(effEditClose);
}

}  // namespace
