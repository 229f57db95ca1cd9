// The Nubbel3 editor as a host meets it: through the library's record, in a
// host window, with real mouse input; the host's callback records what the
// plug-in tells it.
#include "tests/editor_window/plugin_in_host.h"

namespace {

using PluginEditor = PluginEditorOf<MyGui>;

TEST_F(PluginEditor, ReportsItsSizeAndShowsTheFaceWithTheProgramsValues) {
    ERect* rect = nullptr;
    ASSERT_EQ(host.dispatch(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, 287);
    EXPECT_EQ(rect->right, 616);
    ASSERT_TRUE(open());
    EXPECT_TRUE(showsInstrumentValues());
}

TEST_F(PluginEditor, ClicksChangeTheirParameterAndTheHostIsTold) {
    ASSERT_TRUE(open());
    const struct {
        int x, y;
        VstInt32 param;  // -1: nothing
    } cases[] = {{27, 35, 0}, {27, 59, 16}, {16, 35, -1}};
    for (const auto& c : cases) {
        float before[FakeSynth::kParams];
        for (VstInt32 i = 0; i < FakeSynth::kParams; ++i) before[i] = host.getParameter(i);
        host.clearCalls();
        harness::click(c.x, c.y);
        for (VstInt32 i = 0; i < FakeSynth::kParams; ++i) {
            if (i == c.param) continue;
            EXPECT_EQ(host.getParameter(i), before[i])
                << "parameter " << i << " after a click at " << c.x << "," << c.y;
        }
        if (c.param < 0) {
            EXPECT_EQ(host.countCalls(audioMasterAutomate), 0);
            continue;
        }
        const float expected = before[c.param] + 0.5f > 1.05f ? 0.0f : before[c.param] + 0.5f;
        EXPECT_EQ(host.getParameter(c.param), expected);
        EXPECT_EQ(automateCallsFor(c.param), 1);
    }
    EXPECT_TRUE(showsInstrumentValues());
}

TEST_F(PluginEditor, BandwidthChangesOnlyWhenTheDragEndsAndUnannounced) {
    ASSERT_TRUE(open());
    const float before = host.getParameter(32);
    host.clearCalls();
    harness::moveTo(452, 60);
    harness::press(0);
    for (int y = 56; y >= 40; y -= 4) harness::moveTo(452, y);
    EXPECT_EQ(host.getParameter(32), before);
    harness::release(0);
    EXPECT_NEAR(host.getParameter(32), before + 0.1f, 1e-5);
    EXPECT_EQ(host.countCalls(audioMasterAutomate), 0);
}

TEST_F(PluginEditor, HostChangesProgramsAndChunksShowOnScreen) {
    ASSERT_TRUE(open());
    expectHostChangesOnScreen(*this, 41, 5);
}

TEST_F(PluginEditor, EveryStripAWindowUncoversIsPaintedAgain) {
    ASSERT_TRUE(open());
    ASSERT_TRUE(showsInstrumentValues());
    dragAWindowAcross<MyGui>(editorWindow());
    EXPECT_TRUE(showsInstrumentValues());
}

TEST_F(PluginEditor, ReopeningAndSecondInstancesKeepTheWindowClassWhileAnEditorLives) {
    expectClassLivesWhileAnEditorDoes();
}

}  // namespace
