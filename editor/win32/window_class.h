// The window class every editor window of this library belongs to. It is
// registered by the first live editor and unregistered with the last one,
// so several plug-in instances in one host share it.
#pragma once

#include <windows.h>

constexpr const char* kEditorWindowClass = "ZVGui";

// Registers the class when it is not registered yet; counts the editor either way.
void acquireWindowClass(HINSTANCE instance, WNDPROC procedure);
// Uncounts the editor; the last one unregisters the class.
void releaseWindowClass(HINSTANCE instance);
// Live editors of this library, for tests.
int liveEditorCount();
