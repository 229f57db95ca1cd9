// The Windows backend with the real window system: the editor inside a host
// window, driven by real mouse input, its pixels compared with what the
// software canvas draws from the same bitmaps and values.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

#include "editor/my_gui.h"
#include "editor/soft/soft_canvas.h"
#include "editor/soft/soft_platform.h"
#include "editor/win32/win32_platform.h"
#include "tests/editor_core/editor_fakes.h"
#include "tests/editor_window/window_harness.h"

namespace {

// Varied values, so every kind of frame is on screen.
void fillValues(FakeSynth& synth) {
    for (int i = 0; i < FakeSynth::kParams; ++i) synth.values[i] = static_cast<float>(i % 5) * 0.25f;
}

// The same face drawn by the software canvas from the bitmap files.
PixelImage softPicture(AudioEffect& values) {
    MyGui gui(&values, std::make_unique<SoftPlatform>(NUBBEL_FACE_SCRIPT));
    gui.refreshAll();
    PixelImage image(MyGui::kWidth, MyGui::kHeight);
    SoftCanvas canvas(image);
    gui.paint(canvas);
    return image;
}

bool classRegistered() {
    WNDCLASSA info;
    return GetClassInfoA(GetModuleHandleA(nullptr), "ZVGui", &info) != 0;
}

struct Backend : ::testing::Test {
    FakeSynth synth;
    HWND host = nullptr;
    MyGui* gui = nullptr;

    void SetUp() override {
        ASSERT_TRUE(harness::haveTrueColourDisplay())
            << "needs an X display of 24 bits: run under xvfb-run -s '-screen 0 1024x768x24'";
        host = harness::hostWindow();
        fillValues(synth);
        // The bitmaps are this program's own resources, as they are the plug-in library's.
        gui = new MyGui(&synth, std::make_unique<Win32Platform>(GetModuleHandleA(nullptr)));
        synth.attach(gui);
        gui->refreshAll();
    }
    void TearDown() override {
        synth.attach(nullptr);
        delete gui;
    }
    HWND editorWindow() { return static_cast<Win32Platform&>(gui->platform()).windowHandle(); }
    bool showsCurrentValues() {
        const PixelImage expected = softPicture(synth);
        return harness::pumpUntil([&] { return harness::grab(editorWindow()) == expected; });
    }
};

TEST_F(Backend, OpenShowsTheFaceExactlyAsTheSoftwareCanvasDrawsIt) {
    ASSERT_TRUE(gui->open(host));
    ASSERT_NE(editorWindow(), nullptr);
    EXPECT_EQ(GetParent(editorWindow()), host);
    EXPECT_TRUE(showsCurrentValues());
}

TEST_F(Backend, ClicksOnTheHarmonicButtonsReachTheInstrument) {
    ASSERT_TRUE(gui->open(host));
    const struct {
        int x, y;
        VstInt32 param;  // -1: nothing
    } cases[] = {{27, 35, 0}, {27, 59, 16}, {16, 35, -1}};
    for (const auto& c : cases) {
        synth.received.clear();
        synth.automated.clear();
        const float before = c.param >= 0 ? synth.values[c.param] : 0.0f;
        harness::click(c.x, c.y);
        if (c.param < 0) {
            EXPECT_TRUE(synth.received.empty()) << c.x << "," << c.y;
            continue;
        }
        const float after = before + 0.5f > 1.05f ? 0.0f : before + 0.5f;
        const std::vector<ParameterCall> expected = {{c.param, after}};
        EXPECT_EQ(synth.received, expected) << c.x << "," << c.y;
        EXPECT_EQ(synth.automated, expected) << c.x << "," << c.y;
    }
    EXPECT_TRUE(showsCurrentValues());
}

TEST_F(Backend, DraggingBandwidthReportsOnceWhenTheButtonComesUp) {
    ASSERT_TRUE(gui->open(host));
    harness::moveTo(452, 60);
    harness::press(0);
    for (int y = 56; y >= 40; y -= 4) harness::moveTo(452, y);
    EXPECT_NEAR(gui->widget(32)->getValue(), synth.values[32] + 0.1f, 1e-5);
    EXPECT_TRUE(synth.received.empty());
    harness::release(0);
    ASSERT_EQ(synth.received.size(), 1u);
    EXPECT_EQ(synth.received[0].index, 32);
    EXPECT_TRUE(synth.automated.empty());
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_TRUE(showsCurrentValues());
}

TEST_F(Backend, TheWheelStepsOnceByTheSignOfItsDelta) {
    ASSERT_TRUE(gui->open(host));
    synth.setParameter(33, 0.5f);
    const std::pair<int, float> steps[] = {{120, 0.51f}, {-120, 0.5f}, {240, 0.51f}, {-240, 0.5f}};
    for (const auto& [delta, expected] : steps) {
        harness::wheel(508, 52, delta);
        EXPECT_NEAR(synth.values[33], expected, 1e-6) << delta;
    }
}

TEST_F(Backend, HostChangesFromAnotherThreadReachTheScreen) {
    ASSERT_TRUE(gui->open(host));
    ASSERT_TRUE(showsCurrentValues());
    synth.keepCalls = false;
    std::atomic<bool> done{false};
    std::thread hostThread([&] {
        for (int round = 0; round < 400; ++round)
            for (VstInt32 param : {2, 19, 33, 37, 41, 48})
                synth.setParameter(param, static_cast<float>((round * 11 + param) % 64) / 63.0f);
        done = true;
    });
    // The window keeps painting meanwhile.
    harness::pumpUntil([&] { return done.load(); }, 20000);
    hostThread.join();
    EXPECT_TRUE(showsCurrentValues());
}

TEST_F(Backend, ACaptureTakenAwayEndsTheDragAndStaysWithItsNewOwner) {
    ASSERT_TRUE(gui->open(host));
    harness::moveTo(452, 60);
    harness::press(0);
    harness::moveTo(452, 50);
    ASSERT_EQ(GetCapture(), editorWindow());
    SetCapture(host);
    harness::pump(30);
    // Bandwidth reports on release, and losing the capture is one.
    EXPECT_EQ(synth.received.size(), 1u);
    EXPECT_EQ(GetCapture(), host);
    ReleaseCapture();
    harness::release(0);
    EXPECT_EQ(synth.received.size(), 1u);
}

TEST_F(Backend, ClosingMidDragReportsAndLetsGoOfTheMouse) {
    ASSERT_TRUE(gui->open(host));
    harness::moveTo(452, 60);
    harness::press(0);
    harness::moveTo(452, 50);
    gui->close();
    EXPECT_EQ(synth.received.size(), 1u);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(harness::editorWindowsUnder(host), 0);
    harness::release(0);
}

TEST_F(Backend, OpeningTwiceLeavesOneWindowAndAFailedOpenSaysSo) {
    ASSERT_TRUE(gui->open(host));
    ASSERT_TRUE(gui->open(host));
    EXPECT_EQ(harness::editorWindowsUnder(host), 1);
    EXPECT_TRUE(showsCurrentValues());
    gui->close();
    EXPECT_EQ(harness::editorWindowsUnder(host), 0);

    HWND gone = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    EXPECT_FALSE(gui->open(gone));
    EXPECT_FALSE(gui->isOpen());
    synth.setParameter(41, 0.123f);  // no window: nothing to draw, nothing to break
}

TEST_F(Backend, DeletingAnOpenEditorTakesItsWindowAlong) {
    ASSERT_TRUE(gui->open(host));
    HWND window = editorWindow();
    synth.attach(nullptr);
    delete gui;
    gui = nullptr;
    EXPECT_FALSE(IsWindow(window));
    harness::pump(20);
}

TEST(BackendClass, TheWindowClassIsRegisteredExactlyWhileAnEditorLives) {
    ASSERT_TRUE(harness::haveTrueColourDisplay());
    HWND host = harness::hostWindow();
    ASSERT_FALSE(classRegistered());
    FakeSynth first, second;
    fillValues(first);
    fillValues(second);
    auto* a = new MyGui(&first, std::make_unique<Win32Platform>(GetModuleHandleA(nullptr)));
    first.attach(a);
    EXPECT_TRUE(classRegistered());
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(a->open(host));
        a->close();
        EXPECT_TRUE(classRegistered());
    }
    auto* b = new MyGui(&second, std::make_unique<Win32Platform>(GetModuleHandleA(nullptr)));
    second.attach(b);
    b->refreshAll();
    ASSERT_TRUE(a->open(host));
    first.attach(nullptr);
    delete a;
    // The second editor still works after the first is gone.
    EXPECT_TRUE(classRegistered());
    ASSERT_TRUE(b->open(host));
    const PixelImage expected = softPicture(second);
    EXPECT_TRUE(harness::pumpUntil(
        [&] { return harness::grab(static_cast<Win32Platform&>(b->platform()).windowHandle()) == expected; }));
    second.attach(nullptr);
    delete b;
    EXPECT_FALSE(classRegistered());
}

}  // namespace
