// The first-generation face's committed bitmaps: the formats the library has
// always carried, the conventions the mask-and-strip drawing relies on, and
// a knob that redraws over its own last frame without a trace.
#include <gtest/gtest.h>

#include <memory>

#include "editor/bitmap_knob.h"
#include "editor/soft/bmp_reader.h"
#include "editor/soft/soft_canvas.h"
#include "editor/soft/soft_platform.h"
#include "first_generation/editor/first_gen_gui.h"
#include "tests/editor_core/editor_fakes.h"

namespace {

PixelImage load(int id, BmpInfo& info) {
    SoftPlatform files(NUBBEL_FIRSTGEN_FACE_SCRIPT);
    PixelImage image;
    std::string error;
    EXPECT_TRUE(loadBmpFile(files.bitmapFiles().at(id), image, &info, error)) << error;
    return image;
}

TEST(FirstGenBitmaps, HaveTheSizesAndFormatsTheLibraryDeclares) {
    const struct {
        int id, width, height, bits;
    } cases[] = {{101, 785, 82, 24}, {103, 26, 1664, 24}, {104, 26, 26, 8}, {105, 20, 20, 16}, {106, 20, 640, 32}};
    for (const auto& c : cases) {
        BmpInfo info;
        load(c.id, info);
        EXPECT_EQ(std::make_pair(info.width, info.height), std::make_pair(c.width, c.height)) << c.id;
        EXPECT_EQ(info.bitsPerPixel, c.bits) << c.id;
        EXPECT_EQ(info.headerSize, 40) << c.id;
        EXPECT_TRUE(info.bottomUp) << c.id;
        EXPECT_EQ(info.paletteSize, c.bits == 8 ? 256 : 0) << c.id;
    }
}

TEST(FirstGenBitmaps, EveryFrameIsBlackWhereTheMaskKeepsTheFaceAndDiffersFromTheLast) {
    const struct { int strip, mask, size, frames; } knobs[] = {{103, 104, 26, 64}, {106, 105, 20, 32}};
    for (const auto& k : knobs) {
        BmpInfo info;
        const PixelImage mask = load(k.mask, info);
        const PixelImage strip = load(k.strip, info);
        int knobPixels = 0;
        for (std::uint32_t p : mask.pixels) {
            ASSERT_TRUE(p == 0 || p == 0xFFFFFF) << k.mask;
            knobPixels += p == 0;
        }
        // A round knob: most of the square, not all of it.
        EXPECT_GT(knobPixels, k.size * k.size / 2) << k.mask;
        EXPECT_LT(knobPixels, k.size * k.size) << k.mask;
        // Whether a frame shows the same pixels as the one before it.
        const auto sameAsPrevious = [&](int frame) {
            for (int y = 0; y < k.size; ++y)
                for (int x = 0; x < k.size; ++x)
                    if (strip.at(x, frame * k.size + y) != strip.at(x, (frame - 1) * k.size + y)) return false;
            return true;
        };
        for (int frame = 0; frame < k.frames; ++frame) {
            for (int y = 0; y < k.size; ++y) {
                for (int x = 0; x < k.size; ++x) {
                    if (mask.at(x, y)) {
                        ASSERT_EQ(strip.at(x, frame * k.size + y), 0u) << k.strip << " frame " << frame;
                    }
                }
            }
            // The pointer moves at every frame.
            if (frame > 0) {
                EXPECT_FALSE(sameAsPrevious(frame)) << k.strip << " frame " << frame;
            }
        }
    }
}

TEST(FirstGenPicture, AKnobRedrawnOverItsLastFrameEqualsAFreshPaint) {
    FakeSynth synth;
    FirstGenGui gui(&synth, std::make_unique<SoftPlatform>(NUBBEL_FIRSTGEN_FACE_SCRIPT));
    ASSERT_EQ(gui.widgetCount(), 23u);
    const auto freshPaint = [&] {
        PixelImage image(FirstGenGui::kWidth, FirstGenGui::kHeight);
        SoftCanvas canvas(image);
        gui.paint(canvas);
        return image;
    };
    // One small and one large knob, each from both ends and the middle to every frame.
    for (std::size_t index : {0u, 15u}) {
        auto* knob = dynamic_cast<bitmapknob*>(gui.widget(index));
        const int last = knob->frameCount - 1;
        for (int from : {0, last / 2, last}) {
            for (int to = 0; to <= last; ++to) {
                knob->setValue(static_cast<float>(from) / static_cast<float>(last), false);
                PixelImage image = freshPaint();
                knob->setValue(static_cast<float>(to) / static_cast<float>(last), false);
                SoftCanvas canvas(image);
                knob->draw(canvas);
                ASSERT_TRUE(image == freshPaint()) << index << ": " << from << " -> " << to;
            }
        }
    }
}

}  // namespace
