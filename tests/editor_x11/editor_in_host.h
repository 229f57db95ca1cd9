// An instrument's editor as a Linux host meets it: the library loaded through
// our host, a host window on the Xvfb screen (at (0, 240), so that a drag can go
// above the editor into negative coordinates), effEditIdle at 30 Hz, and
// XTEST input. Expected pictures come from the software canvas.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "tests/editor_core/soft_face.h"
#include "tests/editor_x11/pointer.h"
#include "tests/support/hosted_editor.h"
#include "tools/testhost/test_host.h"
#include "tools/testhost/x11_host_window.h"

template <class Face>
struct EditorInHostOf : ::testing::Test {
    static constexpr int kHostTop = 240;
    // Enough idle calls for an input's events to reach the editor.
    static constexpr int kSettleMs = 4 * testhost::kIdleIntervalMs;

    testhost::TestHost host;
    testhost::X11HostWindow hostWindow{0, kHostTop, Face::kWidth, Face::kHeight};
    Pointer pointer{hostWindow};

    void SetUp() override {
        ASSERT_TRUE(hostWindow.valid()) << "needs an X display: run under xvfb-run -s '-screen 0 1024x768x24 -noreset'";
        ASSERT_TRUE(Pointer::available(hostWindow.display())) << "the X server has no XTEST extension";
        std::string error;
        ASSERT_TRUE(host.load(Hosted<Face>::plugin, error)) << error;
        host.start();
    }
    void TearDown() override {
        if (host.loaded()) host.dispatch(effEditClose);
    }
    bool open() { return host.dispatch(effEditOpen, 0, 0, hostWindow.parentPointer()) == 1; }
    void settle() { testhost::idleFor(host, kSettleMs); }
    void moveTo(int x, int y) {
        pointer.moveTo(x, y);
        settle();
    }
    void press(unsigned button) {
        pointer.press(button);
        settle();
    }
    void release(unsigned button) {
        pointer.release(button);
        settle();
    }
    void click(int x, int y, unsigned button = Button1) {
        moveTo(x, y);
        press(button);
        release(button);
    }
    void pressLeft() { press(Button1); }
    void releaseLeft() { release(Button1); }
    bool showsInstrumentValues() {
        const PixelImage expected = expectedFace<Face>(host);
        return testhost::idleUntil(
            host, [&] { return windowPixels(hostWindow.display(), hostWindow.firstChild()) == expected; });
    }
    int automateCallsFor(VstInt32 index) const {
        int n = 0;
        for (const auto& call : host.calls) n += call.opcode == audioMasterAutomate && call.index == index;
        return n;
    }
};

using EditorInHost = EditorInHostOf<MyGui>;
