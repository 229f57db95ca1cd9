// What the window tests of both window systems share: which library carries
// which face, the face the software canvas draws for an instrument's values,
// and the scenarios that read the same on either system. A fixture brings
// `host` (a testhost::TestHost), showsInstrumentValues(), automateCallsFor(),
// and the pointer: moveTo(x, y), pressLeft(), releaseLeft().
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "editor/my_gui.h"
#include "editor/soft/soft_canvas.h"
#include "editor/soft/soft_platform.h"
#include "first_generation/editor/first_gen_gui.h"
#include "tests/editor_core/editor_fakes.h"
#include "tools/testhost/test_host.h"

template <class Face>
struct Hosted;
template <>
struct Hosted<MyGui> {
    static constexpr const char* plugin = NUBBEL3_PLUGIN;
    static constexpr const char* script = NUBBEL_FACE_SCRIPT;
};
template <>
struct Hosted<FirstGenGui> {
    static constexpr const char* plugin = NUBBEL_PLUGIN;
    static constexpr const char* script = NUBBEL_FIRSTGEN_FACE_SCRIPT;
};

// The face the software canvas draws for host's values now.
template <class Face>
PixelImage expectedFace(testhost::TestHost& host) {
    FakeSynth values;
    for (VstInt32 i = 0; i < FakeSynth::kParams; ++i) values.values[i] = host.getParameter(i);
    Face soft(&values, std::make_unique<SoftPlatform>(Hosted<Face>::script));
    soft.refreshAll();
    PixelImage expected(Face::kWidth, Face::kHeight);
    SoftCanvas canvas(expected);
    soft.paint(canvas);
    return expected;
}

// Two parameters set by the host, a program change, and a preset chunk from
// another program restored into this one: the window shows each state.
template <class Fixture>
void expectHostChangesOnScreen(Fixture& f, VstInt32 first, VstInt32 second) {
    ASSERT_TRUE(f.showsInstrumentValues());
    f.host.setParameter(first, 0.9f);
    f.host.setParameter(second, 1.0f);
    EXPECT_TRUE(f.showsInstrumentValues()) << "after setParameter";
    f.host.dispatch(effSetProgram, 0, 3);
    EXPECT_TRUE(f.showsInstrumentValues()) << "after setProgram";
    f.host.dispatch(effSetProgram, 0, 6);
    const std::vector<unsigned char> chunk = f.host.getChunk(true);
    f.host.dispatch(effSetProgram, 0, 1);
    ASSERT_TRUE(f.showsInstrumentValues());
    ASSERT_EQ(f.host.setChunk(chunk, true), static_cast<VstIntPtr>(chunk.size()));
    EXPECT_TRUE(f.showsInstrumentValues()) << "after setChunk";
}

// Drags a knob of the first-generation face up by 20 pixels in steps of 4.
template <class Fixture>
void dragUp20(Fixture& f, int x, int y) {
    f.moveTo(x, y);
    f.pressLeft();
    for (int to = y - 4; to >= y - 20; to -= 4) f.moveTo(x, to);
}

// "Wave 1" from 0.5 changes nothing until the button comes up, then once and
// unannounced; "flt Cut" from 0.3 changes at every step, each announced.
template <class Fixture>
void expectFirstGenDrags(Fixture& f) {
    constexpr VstInt32 kWave1 = 0, kFilterCutoff = 15;
    // Centres of the two knobs.
    constexpr int kWave1X = 40, kCutX = 495, kKnobY = 48;
    f.host.setParameter(kWave1, 0.5f);
    f.host.setParameter(kFilterCutoff, 0.3f);
    f.host.clearCalls();

    dragUp20(f, kWave1X, kKnobY);
    EXPECT_EQ(f.host.getParameter(kWave1), 0.5f);
    f.releaseLeft();
    EXPECT_NEAR(f.host.getParameter(kWave1), 0.6f, 1e-5);
    EXPECT_EQ(f.host.countCalls(audioMasterAutomate), 0);

    dragUp20(f, kCutX, kKnobY);
    EXPECT_NEAR(f.host.getParameter(kFilterCutoff), 0.4f, 1e-5);
    f.releaseLeft();
    EXPECT_EQ(f.automateCallsFor(kFilterCutoff), 5);
    EXPECT_EQ(f.host.countCalls(audioMasterAutomate), 5);
    EXPECT_TRUE(f.showsInstrumentValues());
}
