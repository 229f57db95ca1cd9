// Moves a picture of 0x00RRGGBB words into an XImage of the window's visual:
// word by word where the visual is the usual 8-bit-per-channel true colour,
// else channel by channel through the visual's masks. Bits of the depth no
// colour uses (alpha) are set, so the face is opaque.
#pragma once

#include <X11/Xlib.h>

#include "editor/soft/pixel_image.h"

// LSBFirst or MSBFirst: how this machine stores a 32-bit word. An XImage in
// this order takes the picture's rows as they are (Xlib swaps for the server).
int nativeByteOrder();
// image must be at least as large as picture.
void copyToXImage(const PixelImage& picture, XImage& image);
// The inverse, for reading a window back: 0x00RRGGBB per pixel.
PixelImage pictureOf(XImage& image);
