// The operating system's handle of this library (an HINSTANCE on Windows),
// recorded when the library is loaded. The editor registers its window class
// and loads its bitmaps with it. Null on platforms without one.
#pragma once

void* nubbelModuleHandle();
