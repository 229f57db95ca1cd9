// What careless hosts and broken set-ups do to the editor: no display, a
// parent that is no window, opens and closes out of order, the parent
// destroyed first, many instances and cycles, and automation from another
// thread while the editor paints. None may crash, leak a window or a
// connection, or leave the host's X error handlers replaced.
#include <sys/socket.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <thread>

#include "tests/editor_x11/editor_in_host.h"

namespace {

constexpr int kBwX = 452, kBwY = 52;
constexpr VstInt32 kBandwidth = 32;

int hostErrorHandler(Display*, XErrorEvent*) { return 0; }
int hostIoErrorHandler(Display*) { return 0; }

using UnfriendlyHost = EditorInHost;

TEST_F(UnfriendlyHost, BadParentsAndMissingDisplaysRefuseTheEditorAndLeaveTheHostsHandlers) {
    XSetErrorHandler(hostErrorHandler);
    XSetIOErrorHandler(hostIoErrorHandler);
    const int sockets = openSockets();
    // A pixmap is no window; the other id belongs to no one.
    const Pixmap pixmap = XCreatePixmap(hostWindow.display(), hostWindow.window(), 4, 4, 24);
    XSync(hostWindow.display(), False);
    for (const XID parent : {XID{0}, XID{pixmap}, XID{0x7ffffff0}}) {
        EXPECT_EQ(host.dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(parent)), 0) << parent;
        EXPECT_EQ(XSetErrorHandler(hostErrorHandler), hostErrorHandler);
        EXPECT_EQ(XSetIOErrorHandler(hostIoErrorHandler), hostIoErrorHandler);
    }
    XFreePixmap(hostWindow.display(), pixmap);
    const std::string display = std::getenv("DISPLAY");
    unsetenv("DISPLAY");
    EXPECT_EQ(host.dispatch(effEditOpen, 0, 0, hostWindow.parentPointer()), 0) << "without DISPLAY";
    setenv("DISPLAY", display.c_str(), 1);
    EXPECT_EQ(openSockets(), sockets);
    EXPECT_EQ(hostWindow.childCount(), 0);
    // The plug-in plays on and can still open its editor.
    std::vector<float> left, right;
    host.render(left, right, 512, 256);
    ASSERT_TRUE(open());
    EXPECT_TRUE(showsInstrumentValues());
    XSetErrorHandler(nullptr);
    XSetIOErrorHandler(nullptr);
}

TEST_F(UnfriendlyHost, AHostThatNeverIdlesGetsAStillFaceAndNoHang) {
    ASSERT_TRUE(open());
    EXPECT_EQ(windowPixels(hostWindow.display(), hostWindow.firstChild()), expectedFace<MyGui>(host));
    host.setParameter(41, 0.9f);
    host.dispatch(effSetProgram, 0, 3);
    host.dispatch(effEditClose);
    EXPECT_EQ(hostWindow.childCount(), 0);
}

TEST_F(UnfriendlyHost, OpensAndClosesOutOfOrderLeaveOneWindowAtMost) {
    const int sockets = openSockets();
    host.dispatch(effEditClose);
    settle();
    ASSERT_TRUE(open());
    ASSERT_TRUE(open());
    EXPECT_EQ(hostWindow.childCount(), 1);
    EXPECT_EQ(openSockets(), sockets + 1);
    EXPECT_TRUE(showsInstrumentValues());
    // Closed mid-drag: "BW" reports, as when the button comes up.
    const float before = host.getParameter(kBandwidth);
    moveTo(kBwX, kBwY);
    press(Button1);
    moveTo(kBwX, kBwY - 20);
    host.dispatch(effEditClose);
    EXPECT_NEAR(host.getParameter(kBandwidth), before + 0.1f, 1e-5);
    release(Button1);
    EXPECT_EQ(hostWindow.childCount(), 0);
    EXPECT_EQ(openSockets(), sockets);
    host.dispatch(effEditClose);
}

TEST_F(UnfriendlyHost, AHostClosingTheEditorInsideAnAutomationCallIsSafe) {
    const int sockets = openSockets();
    ASSERT_TRUE(open());
    host.onCall = [this](const testhost::HostCall& call) {
        if (call.opcode == audioMasterAutomate) host.dispatch(effEditClose);
    };
    click(27, 35);
    EXPECT_EQ(hostWindow.childCount(), 0);
    EXPECT_EQ(openSockets(), sockets);
    host.onCall = nullptr;
}

TEST_F(UnfriendlyHost, AParentDestroyedFirstLeavesNothingBehind) {
    const int sockets = openSockets();
    ASSERT_TRUE(open());
    settle();
    moveTo(kBwX, kBwY);
    press(Button1);
    hostWindow.destroy();
    settle();
    release(Button1);
    host.dispatch(effEditClose);
    EXPECT_EQ(openSockets(), sockets);
}

TEST_F(UnfriendlyHost, ALostConnectionNeverEndsTheHost) {
#if defined(__SANITIZE_THREAD__)
    // Debian 12's libX11 unlocks the display's mutex twice when a lost
    // connection's exit handler returns; the thread sanitizer stops there,
    // inside the library, although nothing else touches that display.
    GTEST_SKIP() << "libX11's lost-connection path double-unlocks its display lock";
#endif
    const std::vector<int> before = socketDescriptors();
    ASSERT_TRUE(open());
    std::vector<int> editorSockets;
    for (int fd : socketDescriptors())
        if (std::find(before.begin(), before.end(), fd) == before.end()) editorSockets.push_back(fd);
    ASSERT_EQ(editorSockets.size(), 1u);
    // As when the X server goes away under the editor alone.
    shutdown(editorSockets[0], SHUT_RDWR);
    settle();
    host.setParameter(41, 0.3f);
    settle();
    host.dispatch(effEditClose);
    EXPECT_EQ(openSockets(), static_cast<int>(before.size()));
    ASSERT_TRUE(open()) << "a new connection for the next editor";
    EXPECT_TRUE(showsInstrumentValues());
}

TEST_F(UnfriendlyHost, ReopeningSecondInstancesAndManyCyclesLeaveNoWindowOrConnection) {
    const int sockets = openSockets();
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(open());
        EXPECT_TRUE(showsInstrumentValues()) << "open " << i;
        host.dispatch(effEditClose);
        EXPECT_EQ(hostWindow.childCount(), 0);
    }
    {
        testhost::TestHost second;
        std::string error;
        ASSERT_TRUE(second.load(NUBBEL3_PLUGIN, error)) << error;
        second.start();
        ASSERT_TRUE(open());
        ASSERT_EQ(second.dispatch(effEditOpen, 0, 0, hostWindow.parentPointer()), 1);
        EXPECT_EQ(hostWindow.childCount(), 2);
        EXPECT_EQ(openSockets(), sockets + 2);
        testhost::idleFor(second, kSettleMs);
        settle();
        host.close();  // effClose with the editor open
        EXPECT_EQ(hostWindow.childCount(), 1);
        second.dispatch(effEditClose);
        second.close();
    }
    EXPECT_EQ(hostWindow.childCount(), 0);
    EXPECT_EQ(openSockets(), sockets);

    std::string error;
    ASSERT_TRUE(host.load(NUBBEL3_PLUGIN, error)) << error;
    host.start();
    for (int i = 0; i < 200; ++i) {
        ASSERT_TRUE(open()) << "cycle " << i;
        host.dispatch(effEditIdle);
        host.dispatch(effEditClose);
    }
    EXPECT_EQ(hostWindow.childCount(), 0);
    EXPECT_EQ(openSockets(), sockets);
}

TEST_F(UnfriendlyHost, AutomationFromAnotherThreadWhileTheEditorPaints) {
    ASSERT_TRUE(open());
    std::atomic<bool> stop{false};
    std::thread automation([&] {
        for (int i = 0; !stop.load(); ++i) host.setParameter(33 + i % 16, static_cast<float>(i % 100) / 100.0f);
    });
    // The interface thread meanwhile: idle, pointer input, paints.
    for (int i = 0; i < 3; ++i) click(27, 35 + 24 * (i % 2));
    testhost::idleFor(host, 300);
    stop.store(true);
    automation.join();
    EXPECT_TRUE(showsInstrumentValues());
}

}  // namespace
