// The third-generation face over the software platform, with the committed
// bitmaps and a fake instrument, for tests that look at pixels.
#pragma once

#include <memory>

#include "editor/my_gui.h"
#include "editor/soft/soft_canvas.h"
#include "editor/soft/soft_platform.h"
#include "tests/editor_core/editor_fakes.h"

inline void* const kParent = reinterpret_cast<void*>(0x1234);

struct SoftFace {
    FakeSynth synth;
    SoftPlatform* platform;
    MyGui* gui;
    SoftFace() {
        auto owned = std::make_unique<SoftPlatform>(NUBBEL_FACE_SCRIPT);
        platform = owned.get();
        gui = new MyGui(&synth, std::move(owned));
        synth.attach(gui);
    }
    PixelImage freshPaint() {
        PixelImage image(MyGui::kWidth, MyGui::kHeight);
        SoftCanvas canvas(image);
        gui->paint(canvas);
        return image;
    }
};

inline PixelImage crop(const PixelImage& image, const PixelRect& r) {
    PixelImage out(r.right - r.left, r.bottom - r.top);
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) out.at(x - r.left, y - r.top) = image.at(x, y);
    return out;
}
