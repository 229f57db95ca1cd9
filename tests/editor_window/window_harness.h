// What the window tests need from the window system: a top-level host window
// at the screen's origin, a message pump, real mouse input through the
// system's input queue, and the pixels a window shows.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>

#include "editor/soft/pixel_image.h"

namespace harness {

// Whether windows can be made at all (wine needs an X display) and the
// screen shows true colour, so pixels can be compared exactly.
bool haveTrueColourDisplay();

// The host's window: visible, top level, its client area at screen (0, 0),
// large enough for either instrument's editor (616 x 287 and 785 x 82). One
// for the whole program: destroying a top-level window costs wine two seconds
// without a window manager.
constexpr int kHostWidth = 785;
constexpr int kHostHeight = 287;
HWND hostWindow();
// A second host's window of the same size below the first, at screen
// (0, kSecondHostTop).
constexpr int kSecondHostTop = 320;
HWND secondHostWindow();
// A plain top-level window above everything, of the given size, for moving
// across an editor; hide it (ShowWindow) when done.
HWND coveringWindow(int width, int height);

// Handles the thread's messages for the given time.
void pump(int milliseconds);
// Handles messages until done() or the timeout; returns done().
bool pumpUntil(const std::function<bool()>& done, int timeoutMilliseconds = 2000);

// Mouse input as a user makes it, at screen coordinates (here equal to the
// editor's client coordinates). Each call lets the messages it causes be handled.
void moveTo(int x, int y);
void press(int button);  // 0 left, 1 right
void release(int button);
void click(int x, int y, int button = 0);
void wheel(int x, int y, int delta);

// The pixels a window shows now, 0x00RRGGBB.
PixelImage grab(HWND window);

// Child windows of class "ZVGui" under parent.
int editorWindowsUnder(HWND parent);

}  // namespace harness
