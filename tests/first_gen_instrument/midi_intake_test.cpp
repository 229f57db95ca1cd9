// What the MIDI intake asks of the engine for each kind of message.
#include <gtest/gtest.h>

#include <functional>

#include "tests/first_gen_instrument/plug_under_test.h"

namespace {

using testhost::MidiMessage;

// The recording engine's note table holds 1000 + n at entry n.
EngineCall on(int32_t note, float velocity, int32_t frame) { return {"noteOn", note, frame, velocity, 1000.0f + note}; }
EngineCall off(int32_t note, int32_t frame) { return {"noteOff", note, frame}; }
EngineCall bend(float value, int32_t frame) { return {"pitchBend", 0, frame, value}; }
const EngineCall cut{"cutAllVoices"};

TEST(FirstGenMidiIntake, EachMessageBecomesItsEngineCall) {
    struct Case {
        const char* what;
        std::vector<MidiMessage> messages;
        std::vector<EngineCall> calls;
    } cases[] = {
        {"key 69 plays note 57 from the table, velocity 127 is 1",
         {{17, 0x90, 69, 127}},
         {on(57, 127 * 0.007874016f, 17)}},
        {"velocity scales by 1/127", {{0, 0x90, 60, 64}}, {on(48, 64 * 0.007874016f, 0)}},
        {"note off and velocity-0 note on release", {{3, 0x80, 60, 90}, {4, 0x90, 61, 0}}, {off(48, 3), off(49, 4)}},
        {"the channel is ignored", {{0, 0x99, 62, 100}, {1, 0x8F, 62, 0}}, {on(50, 100 * 0.007874016f, 0), off(50, 1)}},
        {"keys 0..11 have no note; key 12 is note 0",
         {{0, 0x90, 0, 100}, {0, 0x90, 11, 100}, {0, 0x80, 11, 0}, {0, 0x90, 12, 100}},
         {on(0, 100 * 0.007874016f, 0)}},
        {"controllers 123 and 126 cut at once, others are ignored",
         {{5, 0xB0, 123, 0}, {6, 0xB3, 126, 0}, {7, 0xB0, 64, 127}, {8, 0xB0, 7, 100}},
         {cut, cut}},
        {"bend: centre, both ends",
         {{1, 0xE0, 0x00, 0x40}, {2, 0xE0, 0x00, 0x00}, {3, 0xE0, 0x7F, 0x7F}},
         {bend(0.0f, 1), bend(-1.0f, 2), bend(16383 * 6.1035156e-05f * 2.0f - 1.0f, 3)}},
        {"other statuses are ignored", {{0, 0xA0, 60, 1}, {0, 0xC0, 5, 0}, {0, 0xD0, 9, 0}, {0, 0xF8, 0, 0}}, {}},
        {"data bytes keep their low seven bits", {{0, 0x90, 0x80 | 60, 0x80}}, {off(48, 0)}},
        {"frames never go below 0 or back; the render brings later ones into its block",
         {{-5, 0x90, 60, 127}, {100, 0x90, 61, 127}, {50, 0x80, 61, 0}, {1000000, 0x80, 60, 0}},
         {on(48, 1.0f, 0), on(49, 1.0f, 100), off(49, 100), off(48, 1000000)}},
    };
    for (const Case& c : cases) {
        PlugUnderTest t(256);
        EXPECT_EQ(t.send(c.messages), 1) << c.what;
        EXPECT_EQ(engineCalls(), c.calls) << c.what;
    }

    // A frame beyond the announced block stays where the host put it: a
    // longer block than announced plays it there.
    PlugUnderTest t(256);
    t.dispatch(effSetBlockSize, 0, 4096);
    t.send({{1000, 0x90, 60, 127}});
    EXPECT_EQ(engineCalls(), std::vector<EngineCall>{on(48, 1.0f, 1000)});

    // Suspended, no block follows: nothing is queued to sound late, but
    // silencing still acts at once.
    t.dispatch(effMainsChanged, 0, 0);
    engineCalls().clear();
    EXPECT_EQ(t.send({{0, 0x90, 60, 127}, {0, 0xE0, 0, 0}, {0, 0xB0, 123, 0}, {0, 0x80, 60, 0}}), 1);
    EXPECT_EQ(engineCalls(), std::vector<EngineCall>{cut});
}

// Lists as careless hosts build them: only what is really there is read.
TEST(FirstGenMidiIntake, OnlyTheEntriesThatExistAreRead) {
    struct Case {
        const char* what;
        std::function<void(VstEvents*)> spoil;
        std::vector<EngineCall> calls;
    } cases[] = {
        {"a count beyond the entries stops at the first null",
         [](VstEvents* l) { l->numEvents = 6; },
         {on(48, 1.0f, 0), on(50, 1.0f, 1)}},
        {"a null entry ends the list", [](VstEvents* l) { l->events[0] = nullptr; }, {}},
        {"a negative count reads nothing", [](VstEvents* l) { l->numEvents = -3; }, {}},
        {"events of other types are skipped",
         [](VstEvents* l) { l->events[0]->type = kVstSysExType; },
         {on(50, 1.0f, 1)}},
    };
    for (const Case& c : cases) {
        PlugUnderTest t;
        testhost::MidiEventList list({{0, 0x90, 60, 127}, {1, 0x90, 62, 127}}, 4);
        c.spoil(list.list());
        EXPECT_EQ(t.send(list.list()), 1) << c.what;
        EXPECT_EQ(engineCalls(), c.calls) << c.what;
    }
    PlugUnderTest t;
    EXPECT_EQ(t.send(static_cast<VstEvents*>(nullptr)), 1);
    EXPECT_TRUE(engineCalls().empty());
}

}  // namespace
