#include <gtest/gtest.h>

#include "engine/synth_engine.h"
#include "instrument/vst_plug.h"
#include "tools/testhost/midi_event_list.h"

namespace {

VstIntPtr VSTCALLBACK quietHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

struct MidiIntake : ::testing::Test {
    VSTPlug plug{quietHost};
    SynthEngine& engine = plug.synthEngine();
    VstIntPtr send(const std::vector<testhost::MidiMessage>& messages) {
        testhost::MidiEventList events(messages);
        AEffect* e = plug.getAeffect();
        return e->dispatcher(e, effProcessEvents, 0, 0, events.list(), 0);
    }
    void render(VstInt32 frames = 64) {
        AEffect* e = plug.getAeffect();
        std::vector<float> l(frames), r(frames);
        float* out[2] = {l.data(), r.data()};
        e->processReplacing(e, nullptr, out, frames);
    }
    void SetUp() override {
        AEffect* e = plug.getAeffect();
        e->dispatcher(e, effSetSampleRate, 0, 0, nullptr, 44100.0f);
        e->dispatcher(e, effSetBlockSize, 0, 64, nullptr, 0);
        e->dispatcher(e, effMainsChanged, 0, 1, nullptr, 0);
    }
};

TEST_F(MidiIntake, NotesReachTheQueueAtTwiceTheirOffset) {
    const std::vector<testhost::MidiMessage> list = {{17, 0x90, 60, 64},
                                                     {20, 0x99, 62, 127}};  // channel 1 and channel 10 alike
    EXPECT_EQ(send(list), 1);
    ASSERT_EQ(engine.eventCount, 2);
    EXPECT_EQ(engine.events[0].kind, EngineEvent::kNoteStart);
    EXPECT_EQ(engine.events[0].note, 60);
    EXPECT_EQ(engine.events[0].frame, 34);
    EXPECT_FLOAT_EQ(engine.events[0].value, 64.0f / 127.0f);
    EXPECT_EQ(engine.events[1].note, 62);
    EXPECT_EQ(engine.events[1].value, 1.0f);
}

TEST_F(MidiIntake, VelocityZeroReleasesLikeANoteOff) {
    const std::vector<testhost::MidiMessage> on = {{0, 0x90, 60, 100}, {0, 0x91, 64, 100}};
    send(on);
    render();
    const std::vector<testhost::MidiMessage> offs = {{3, 0x90, 60, 0}, {3, 0x80, 64, 90}};
    send(offs);
    ASSERT_EQ(engine.eventCount, 2);
    EXPECT_EQ(engine.events[0].kind, EngineEvent::kNoteRelease);
    EXPECT_EQ(engine.events[1].kind, EngineEvent::kNoteRelease);
    EXPECT_EQ(engine.events[0].frame, 6);
    EXPECT_NE(engine.events[0].voice, engine.events[1].voice);
}

TEST_F(MidiIntake, PitchBendPositions) {
    const std::vector<testhost::MidiMessage> list = {
        {0, 0xE0, 0x00, 0x40}, {1, 0xE3, 0x7F, 0x7F}, {2, 0xE0, 0x00, 0x00}};
    send(list);
    ASSERT_EQ(engine.eventCount, 3);
    EXPECT_EQ(engine.events[0].kind, EngineEvent::kPitchBend);
    EXPECT_EQ(engine.events[0].value, 0.0f);
    EXPECT_EQ(engine.events[1].value, 8191.0f / 8192.0f);
    EXPECT_EQ(engine.events[2].value, -1.0f);
    EXPECT_EQ(engine.events[2].frame, 4);
}

TEST_F(MidiIntake, ControllersAllNotesOffAndMonoSilenceAtOnce) {
    for (int controller : {123, 126}) {
        const std::vector<testhost::MidiMessage> on = {{0, 0x90, 60, 100}};
        send(on);
        render();
        int sounding = 0;
        for (const SynthVoice& v : engine.voices) sounding += v.sounding;
        ASSERT_GT(sounding, 0);

        const std::vector<testhost::MidiMessage> cc = {{30, 0xB0, 64, 127},
                                                       {30, 0xB0, 121, 0}};  // pedal and reset: ignored
        send(cc);
        sounding = 0;
        for (const SynthVoice& v : engine.voices) sounding += v.sounding;
        EXPECT_GT(sounding, 0);
        EXPECT_EQ(engine.eventCount, 0);

        const std::vector<testhost::MidiMessage> off = {{30, 0xB5, static_cast<unsigned char>(controller), 0}};
        send(off);
        for (const SynthVoice& v : engine.voices) EXPECT_FALSE(v.sounding) << controller;
    }
}

TEST_F(MidiIntake, IgnoredMessagesAndCarelessLists) {
    const std::vector<testhost::MidiMessage> other = {
        {0, 0xA0, 60, 10}, {0, 0xC0, 5, 0}, {0, 0xD0, 40, 0}, {0, 0xF8, 0, 0}};
    EXPECT_EQ(send(other), 1);
    EXPECT_EQ(engine.eventCount, 0);

    AEffect* e = plug.getAeffect();
    EXPECT_EQ(e->dispatcher(e, effProcessEvents, 0, 0, nullptr, 0), 1);

    // A count larger than the entries given: reading stops at the first gap.
    testhost::MidiEventList shortList({{0, 0x90, 60, 100}}, 4);
    VstEvents* l = shortList.list();
    l->numEvents = 5;
    EXPECT_EQ(e->dispatcher(e, effProcessEvents, 0, 0, l, 0), 1);
    EXPECT_EQ(engine.eventCount, 1);

    // Offsets far outside any block never overflow into negative frames.
    const std::vector<testhost::MidiMessage> wild = {{0x7FFFFFFF, 0x90, 61, 100}, {-5, 0x90, 62, 100}};
    send(wild);
    for (int i = 0; i < engine.eventCount; ++i) EXPECT_GE(engine.events[i].frame, 0);
    render();
}

TEST(Capabilities, ReceivesEventsMidiAndTime) {
    VSTPlug plug(quietHost);
    AEffect* e = plug.getAeffect();
    auto ask = [e](const char* text) { return e->dispatcher(e, effCanDo, 0, 0, const_cast<char*>(text), 0); };
    EXPECT_EQ(ask("receiveVstEvents"), 1);
    EXPECT_EQ(ask("receiveVstMidiEvent"), 1);
    EXPECT_EQ(ask("receiveVstTimeInfo"), 1);
    EXPECT_EQ(ask("sendVstMidiEvent"), -1);
    EXPECT_EQ(ask("bypass"), -1);
    EXPECT_EQ(ask("ReceiveVstEvents"), -1);
    EXPECT_EQ(ask(""), -1);
}

}  // namespace
