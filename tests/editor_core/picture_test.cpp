// The editor's picture, drawn by the software canvas from the committed
// bitmaps: the bitmaps keep the conventions the raster operations rely on,
// a knob redraws cleanly over itself, and the window shows the current
// values after any sequence of changes.
#include <gtest/gtest.h>

#include <memory>

#include "editor/bitmap_knob.h"
#include "editor/soft/bmp_reader.h"
#include "tests/editor_core/soft_face.h"

namespace {

PixelImage load(int id, BmpInfo& info) {
    SoftPlatform files(NUBBEL_FACE_SCRIPT);
    PixelImage image;
    std::string error;
    EXPECT_TRUE(loadBmpFile(files.bitmapFiles().at(id), image, &info, error)) << error;
    return image;
}

TEST(Bitmaps, HaveTheSizesAndFormatsTheLibraryDeclares) {
    const struct {
        int id, width, height, bits;
    } cases[] = {{101, 616, 287, 24}, {102, 21, 63, 24}, {103, 24, 1536, 32}, {104, 24, 24, 8}};
    for (const auto& c : cases) {
        BmpInfo info;
        load(c.id, info);
        EXPECT_EQ(info.width, c.width) << c.id;
        EXPECT_EQ(info.height, c.height) << c.id;
        EXPECT_EQ(info.bitsPerPixel, c.bits) << c.id;
        EXPECT_EQ(info.headerSize, 40) << c.id;
        EXPECT_TRUE(info.bottomUp) << c.id;
        EXPECT_EQ(info.paletteSize, c.bits == 8 ? 256 : 0) << c.id;
    }
}

TEST(Bitmaps, KnobStripIsBlackWhereverTheMaskKeepsTheFace) {
    BmpInfo info;
    const PixelImage mask = load(104, info);
    const PixelImage strip = load(103, info);
    int knobPixels = 0;
    for (std::uint32_t p : mask.pixels) {
        ASSERT_TRUE(p == 0 || p == 0xFFFFFF);
        knobPixels += p == 0;
    }
    // A round knob: most of the square, not all of it.
    EXPECT_GT(knobPixels, 24 * 24 / 2);
    EXPECT_LT(knobPixels, 24 * 24);
    for (int frame = 0; frame < 64; ++frame)
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 24; ++x) {
                if (mask.at(x, y)) {
                    ASSERT_EQ(strip.at(x, frame * 24 + y), 0u) << "frame " << frame;
                }
            }
    // The pointer moves at every frame.
    for (int frame = 1; frame < 64; ++frame)
        EXPECT_FALSE(crop(strip, {0, frame * 24, 24, frame * 24 + 24}) ==
                     crop(strip, {0, frame * 24 - 24, 24, frame * 24}))
            << frame;
}

TEST(Bitmaps, ToggleFramesAreThreeDifferentPictures) {
    BmpInfo info;
    const PixelImage strip = load(102, info);
    const PixelImage off = crop(strip, {0, 0, 21, 21}), half = crop(strip, {0, 21, 21, 42}),
                     full = crop(strip, {0, 42, 21, 63});
    EXPECT_FALSE(off == half);
    EXPECT_FALSE(half == full);
    EXPECT_FALSE(off == full);
}

TEST(Picture, AKnobRedrawnOverItsLastFrameEqualsAFreshPaint) {
    // redraws outside a full paint put the knob over its own previous frame
    // (mask AND, frame OR) without the background; that must leave no trace.
    SoftFace face;
    bitmapknob* knob = dynamic_cast<bitmapknob*>(face.gui->widget(32 + 8));
    ASSERT_NE(knob, nullptr);
    for (int from : {0, 31, 63}) {
        for (int to = 0; to < 64; ++to) {
            knob->setValue(from / 63.0f, false);
            PixelImage image = face.freshPaint();
            knob->setValue(to / 63.0f, false);
            SoftCanvas canvas(image);
            knob->draw(canvas);
            ASSERT_TRUE(image == face.freshPaint()) << from << " -> " << to;
        }
    }
}

TEST(Picture, TheWindowShowsTheCurrentValuesAfterEveryKindOfChange) {
    SoftFace face;
    ASSERT_TRUE(face.gui->open(kParent));
    const auto settled = [&](const char* what) {
        face.platform->paintPending();
        EXPECT_TRUE(face.platform->windowPicture() == face.freshPaint()) << what;
    };
    settled("first paint");
    face.synth.setParameter(0, 1.0f);
    face.synth.setParameter(41, 0.9f);
    face.synth.setParameter(34, 0.75f);
    settled("host parameter changes");
    // What a restored chunk or a program change does: all values at once, then a refresh.
    for (int i = 0; i < FakeSynth::kParams; ++i) face.synth.values[i] = (i % 5) * 0.25f;
    face.gui->refreshAll();
    settled("refresh after a chunk");
    face.gui->mouseDown(0, 27, 59);
    face.gui->mouseUp(0, 27, 59);
    face.gui->mouseDown(0, 452, 52);
    face.gui->mouseMove(452, 20);
    settled("during a drag");
    face.gui->mouseUp(0, 452, 20);
    face.gui->mouseWheel(250, 145, -120);
    settled("after release and wheel");
    // Changes while closed show on the next open.
    face.gui->close();
    face.synth.setParameter(48, 0.0f);
    face.synth.setParameter(31, 1.0f);
    ASSERT_TRUE(face.gui->open(kParent));
    settled("reopened");
}

}  // namespace
