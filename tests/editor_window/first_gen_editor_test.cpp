// The first-generation editor as a host meets it, through the Nubbel library:
// its size and face, real mouse input on its knobs and the host calls it
// causes, host-side changes on screen, capture taken away mid-drag, and both
// instruments' libraries in one process with their own window classes.
#include "tests/editor_window/plugin_in_host.h"

namespace {

constexpr VstInt32 kWave1 = 0, kFilterCutoff = 15;
// Centres of the "Wave 1" and "flt Cut" knobs.
constexpr int kWave1X = 40, kCutX = 495, kKnobY = 48;

using FirstGenEditor = PluginEditorOf<FirstGenGui>;

TEST_F(FirstGenEditor, ReportsItsSizeAndShowsTheFaceWithTheProgramsValues) {
    ERect* rect = nullptr;
    ASSERT_EQ(host.dispatch(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ((std::vector<int>{rect->top, rect->left, rect->bottom, rect->right}), (std::vector<int>{0, 0, 82, 785}));
    ASSERT_TRUE(open());
    EXPECT_TRUE(showsInstrumentValues());
}

TEST_F(FirstGenEditor, DragsChangeTheirParametersWithTheRightHostCalls) {
    ASSERT_TRUE(open());
    expectFirstGenDrags(*this);
}

TEST_F(FirstGenEditor, RightButtonAndWheelChangeNothing) {
    ASSERT_TRUE(open());
    host.clearCalls();
    float before[23];
    for (VstInt32 i = 0; i < 23; ++i) before[i] = host.getParameter(i);
    for (int x : {kWave1X, kCutX}) {
        harness::moveTo(x, kKnobY);
        harness::press(1);
        harness::moveTo(x, kKnobY - 30);
        harness::release(1);
        harness::wheel(x, kKnobY, 120);
        harness::wheel(x, kKnobY, -120);
    }
    for (VstInt32 i = 0; i < 23; ++i) EXPECT_EQ(host.getParameter(i), before[i]) << i;
    EXPECT_EQ(host.countCalls(audioMasterAutomate), 0);
}

TEST_F(FirstGenEditor, CaptureTakenAwayMidDragEndsTheDrag) {
    ASSERT_TRUE(open());
    host.setParameter(kWave1, 0.5f);
    harness::moveTo(kWave1X, kKnobY);
    harness::press(0);
    harness::moveTo(kWave1X, kKnobY - 20);
    ASSERT_EQ(host.getParameter(kWave1), 0.5f);
    // A host dialog takes the mouse: the knob reports as on release.
    SetCapture(window);
    harness::pump(30);
    EXPECT_NEAR(host.getParameter(kWave1), 0.6f, 1e-5);
    harness::release(0);
    ReleaseCapture();
    // The pointer moving on over the knob drags nothing.
    for (int y = kKnobY - 20; y <= kKnobY + 20; y += 10) harness::moveTo(kWave1X, y);
    EXPECT_NEAR(host.getParameter(kWave1), 0.6f, 1e-5);
    EXPECT_TRUE(showsInstrumentValues());
}

TEST_F(FirstGenEditor, HostChangesProgramsAndChunksShowOnScreen) {
    ASSERT_TRUE(open());
    expectHostChangesOnScreen(*this, kFilterCutoff, 3);
}

TEST_F(FirstGenEditor, EveryStripAWindowUncoversIsPaintedAgain) {
    ASSERT_TRUE(open());
    ASSERT_TRUE(showsInstrumentValues());
    dragAWindowAcross<FirstGenGui>(editorWindow());
    EXPECT_TRUE(showsInstrumentValues());
}

TEST_F(FirstGenEditor, ReopeningAndSecondInstancesKeepTheWindowClassWhileAnEditorLives) {
    expectClassLivesWhileAnEditorDoes();
}

// Each library registers its own class and counts its own editors: one
// editor of each open at once, closing and deleting one instrument leaves
// the other's class and window working.
TEST_F(FirstGenEditor, LivesBesideTheThirdGenerationsEditorWithItsOwnWindowClass) {
    testhost::TestHost other;
    std::string error;
    ASSERT_TRUE(other.load(NUBBEL3_PLUGIN, error)) << error;
    other.start();
    HWND otherWindow = harness::secondHostWindow();
    ASSERT_TRUE(open());
    ASSERT_EQ(other.dispatch(effEditOpen, 0, 0, otherWindow), 1);
    EXPECT_TRUE(classRegisteredIn(NUBBEL_PLUGIN));
    EXPECT_TRUE(classRegisteredIn(NUBBEL3_PLUGIN));
    EXPECT_TRUE(showsInstrumentValues());
    EXPECT_TRUE(showsValuesOf<MyGui>(other, otherWindow));

    host.dispatch(effEditClose);
    host.close();
    EXPECT_FALSE(classRegisteredIn(NUBBEL_PLUGIN)) << "its last editor is gone";
    EXPECT_TRUE(classRegisteredIn(NUBBEL3_PLUGIN));
    other.setParameter(41, 0.95f);
    EXPECT_TRUE(showsValuesOf<MyGui>(other, otherWindow)) << "the other editor after this one went";
    other.dispatch(effEditClose);
    other.close();
    EXPECT_FALSE(classRegisteredIn(NUBBEL3_PLUGIN));
}

}  // namespace
