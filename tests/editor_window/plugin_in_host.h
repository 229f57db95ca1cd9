// An instrument's editor as a Windows host meets it: through the library's
// record, in a host window, with real mouse input; the host's callback
// records what the plug-in tells it. Expected pictures come from the software
// canvas with the instrument's values.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/editor_window/window_harness.h"
#include "tests/support/hosted_editor.h"

inline HMODULE pluginModule(const std::string& path) {
    return GetModuleHandleA(path.substr(path.find_last_of("/\\") + 1).c_str());
}

// Whether the library that path names is loaded and has its editor class registered.
inline bool classRegisteredIn(const std::string& path) {
    WNDCLASSA info;
    HMODULE module = pluginModule(path);
    return module && GetClassInfoA(module, "ZVGui", &info) != 0;
}

// Whether the editor window under parent shows that face, soon.
template <class Face>
bool showsValuesOf(testhost::TestHost& host, HWND parent) {
    const PixelImage expected = expectedFace<Face>(host);
    return harness::pumpUntil(
        [&] { return harness::grab(FindWindowExA(parent, nullptr, "ZVGui", nullptr)) == expected; });
}

template <class Face>
struct PluginEditorOf : ::testing::Test {
    testhost::TestHost host;
    HWND window = nullptr;

    void SetUp() override {
        ASSERT_TRUE(harness::haveTrueColourDisplay())
            << "needs an X display of 24 bits: run under xvfb-run -s '-screen 0 1024x768x24'";
        std::string error;
        ASSERT_TRUE(host.load(Hosted<Face>::plugin, error)) << error;
        host.start();
        ASSERT_TRUE(host.effect()->flags & effFlagsHasEditor) << "the instrument made no editor";
        window = harness::hostWindow();
    }
    void TearDown() override {
        if (host.loaded()) host.dispatch(effEditClose);
    }
    bool open() { return host.dispatch(effEditOpen, 0, 0, window) == 1; }
    HWND editorWindow() { return FindWindowExA(window, nullptr, "ZVGui", nullptr); }
    bool classRegisteredInPlugin() { return classRegisteredIn(Hosted<Face>::plugin); }
    bool showsInstrumentValues() { return showsValuesOf<Face>(host, window); }
    void moveTo(int x, int y) { harness::moveTo(x, y); }
    void pressLeft() { harness::press(0); }
    void releaseLeft() { harness::release(0); }
    int automateCallsFor(VstInt32 index) {
        int n = 0;
        for (const auto& call : host.calls) n += call.opcode == audioMasterAutomate && call.index == index;
        return n;
    }
    // Open, close and reopen, then a second instance outliving the first:
    // the library's window class stays registered exactly while one of its
    // editors lives.
    void expectClassLivesWhileAnEditorDoes() {
        for (int i = 0; i < 2; ++i) {
            ASSERT_TRUE(open());
            EXPECT_TRUE(showsInstrumentValues()) << "open " << i;
            host.dispatch(effEditClose);
            EXPECT_EQ(editorWindow(), nullptr);
            EXPECT_TRUE(classRegisteredInPlugin());
        }
        testhost::TestHost second;
        std::string error;
        ASSERT_TRUE(second.load(Hosted<Face>::plugin, error)) << error;
        second.start();
        ASSERT_EQ(second.dispatch(effEditOpen, 0, 0, window), 1);
        host.close();
        EXPECT_TRUE(classRegisteredInPlugin());
        harness::pump(50);
        second.dispatch(effEditClose);
        // The library stays loaded while `second` holds it; its last editor goes with effClose.
        second.close();
        EXPECT_FALSE(classRegisteredInPlugin());
    }
};

// Drags a window across the whole editor in small steps, as a user drags a
// dialog over the host, and hides it: every strip it uncovered must be
// painted again from the editor's picture, whichever part of the window.
template <class Face>
void dragAWindowAcross(HWND editor) {
    constexpr int kCover = 40, kStep = 7;
    HWND cover = harness::coveringWindow(kCover, kCover);
    POINT origin{0, 0};
    ClientToScreen(editor, &origin);
    for (int x = -kCover; x <= Face::kWidth; x += kStep) {
        const int y = origin.y - kCover / 2 + (x + kCover) * Face::kHeight / (Face::kWidth + kCover);
        SetWindowPos(cover, HWND_TOPMOST, origin.x + x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        harness::pump(3);
    }
    ShowWindow(cover, SW_HIDE);
}
