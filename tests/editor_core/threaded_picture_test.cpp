// Host threads change parameters while the window thread paints: every
// picture the window shows is made of whole frames, and once the changes
// stop it shows the last values.
#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>

#include "tests/editor_core/soft_face.h"

namespace {

TEST(Picture, HostThreadChangesWhileTheWindowPaintsLeaveNoTornOrStalePicture) {
    SoftFace face;
    // Every picture each widget may show: one per frame, over the face.
    std::vector<std::set<std::vector<std::uint32_t>>> allowed(face.gui->widgetCount());
    for (std::size_t i = 0; i < face.gui->widgetCount(); ++i) {
        WidgetBase* w = face.gui->widget(i);
        const int frames = i < 32 ? 3 : 64;
        for (int f = 0; f < frames; ++f) {
            w->setValue(i < 32 ? f * 0.5f : f / 63.0f, false);
            allowed[i].insert(crop(face.freshPaint(), w->bounds()).pixels);
        }
    }
    ASSERT_TRUE(face.gui->open(kParent));
    face.platform->paintPending();
    face.synth.keepCalls = false;

    std::atomic<bool> stop{false};
    std::thread host([&] {
        for (int round = 0; !stop.load(); ++round)
            for (VstInt32 param : {3, 20, 32, 36, 41, 48})
                face.synth.setParameter(param, static_cast<float>((round * 7 + param) % 64) / 63.0f);
    });
    for (int paint = 0; paint < 150; ++paint) {
        face.platform->paintPending();
        const PixelImage& shown = face.platform->windowPicture();
        for (std::size_t i = 0; i < face.gui->widgetCount(); ++i)
            ASSERT_TRUE(allowed[i].count(crop(shown, face.gui->widget(i)->bounds()).pixels))
                << "widget " << i << " shows no whole frame";
    }
    stop = true;
    host.join();
    face.platform->paintPending();
    EXPECT_TRUE(face.platform->windowPicture() == face.freshPaint());
}

}  // namespace
