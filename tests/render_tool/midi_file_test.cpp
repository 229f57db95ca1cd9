// Reading Standard MIDI Files: times in seconds through tempo changes, the
// parts of a file that are skipped, and a reason (never a crash) for every
// broken file.
#include <gtest/gtest.h>

#include <random>

#include "tests/render_tool/midi_bytes.h"
#include "tools/nubbel-render/failure.h"
#include "tools/nubbel-render/midi_file.h"

namespace {

using rendertest::midiFile;
using rendertest::MidiTrack;

constexpr uint16_t kPulses = 480;  // per quarter note

std::vector<double> noteOnTimes(const render::Score& s) {
    std::vector<double> times;
    for (const render::TimedMessage& m : s.messages)
        if ((m.bytes[0] & 0xf0) == 0x90 && m.bytes[2] > 0) times.push_back(m.seconds);
    return times;
}

TEST(MidiFile, TempoChangesInTheConductorTrackMoveTheNotesOfOtherTracks) {
    // 120 beats a minute for four beats (2 s), then 60.
    MidiTrack conductor;
    conductor.tempo(0, 500000).tempo(4 * kPulses, 1000000).end();
    MidiTrack notes;
    const uint32_t onsets[] = {kPulses / 2, 9 * kPulses / 4, 7 * kPulses / 2, 9 * kPulses / 2, 23 * kPulses / 4};
    uint32_t at = 0;
    for (uint32_t on : onsets) {
        notes.event(on - at, {0x90, 60, 100}).event(kPulses / 8, {0x80, 60, 0});
        at = on + kPulses / 8;
    }
    notes.end(kPulses);
    const render::Score s = render::readMidiBytes(midiFile(1, kPulses, {conductor, notes}), "t.mid");
    const std::vector<double> expected = {0.25, 1.125, 1.75, 2.5, 3.75};
    ASSERT_EQ(noteOnTimes(s).size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_NEAR(noteOnTimes(s)[i], expected[i], 1e-9) << i;
    // The piece lasts to its last end-of-track: a beat at 60 after the last note-off.
    EXPECT_NEAR(s.lengthSeconds, 3.75 + 0.125 + 1.0, 1e-9);
}

TEST(MidiFile, RunningStatusLongMetaEventsAndSysexAreReadPast) {
    MidiTrack t;
    t.event(0, {0x90, 60, 100}).event(0, {64, 90});  // running status: a second note-on
    // A text event longer than 127 bytes has a two-byte length.
    std::vector<unsigned char> text = {0xff, 0x01, 0x81, 0x48};
    text.resize(text.size() + 200, 'x');
    t.vlq(kPulses);
    t.data.insert(t.data.end(), text.begin(), text.end());
    t.event(0, {0xf0, 0x03, 0x7e, 0x01, 0xf7});  // system exclusive
    t.event(0, {0xc1, 5}).event(kPulses, {0x80, 60, 0}).event(0, {64, 0}).end();
    const render::Score s = render::readMidiBytes(midiFile(0, kPulses, {t}), "t.mid");
    ASSERT_EQ(s.messages.size(), 5u);
    EXPECT_EQ(s.messages[1].bytes[0], 0x90);
    EXPECT_EQ(s.messages[1].bytes[1], 64);
    EXPECT_EQ(s.messages[2].bytes[0], 0xc1);
    EXPECT_NEAR(s.messages[2].seconds, 0.5, 1e-9);  // 120 beats a minute when no tempo is given
    EXPECT_EQ(s.messages[4].bytes[1], 64);
    EXPECT_NEAR(s.messages[4].seconds, 1.0, 1e-9);
}

TEST(MidiFile, BrokenFilesAreRefusedWithTheirReason) {
    MidiTrack note;
    note.event(0, {0x90, 60, 100}).event(kPulses, {0x80, 60, 0}).end();
    const std::vector<unsigned char> good = midiFile(0, kPulses, {note});
    auto cut = [](std::vector<unsigned char> b, size_t size) {
        b.resize(size);
        return b;
    };
    auto with = [](std::vector<unsigned char> b, size_t at, unsigned char v) {
        b[at] = v;
        return b;
    };
    MidiTrack noEnd;
    noEnd.event(0, {0x90, 60, 100});
    MidiTrack dataFirst;
    dataFirst.event(0, {60, 100}).end();
    MidiTrack shortTempo;
    shortTempo.event(0, {0xff, 0x51, 0x01, 0x07}).end();
    struct Case {
        const char* what;
        std::vector<unsigned char> bytes;
        const char* reason;
    };
    const Case cases[] = {
        {"empty", {}, "not a MIDI file"},
        {"text", {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '!', '!', '\n'}, "not a MIDI file"},
        {"cut inside the track", cut(good, good.size() - 5), "truncated"},
        {"cut after the header", cut(good, 14), "truncated"},
        {"a track short of the header's count", with(good, 11, 2), "truncated"},
        {"no end-of-track", midiFile(0, kPulses, {noEnd}), "without an end-of-track"},
        {"type 2", with(good, 9, 2), "type 2"},
        {"SMPTE time", with(good, 12, 0xe7), "SMPTE"},
        {"data byte without status", midiFile(0, kPulses, {dataFirst}), "status byte"},
        {"tempo of one byte", midiFile(0, kPulses, {shortTempo}), "tempo change of 1 bytes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            render::readMidiBytes(c.bytes, "broken.mid");
            ADD_FAILURE() << "accepted";
        } catch (const render::Failure& f) {
            EXPECT_EQ(f.subject, "broken.mid");
            EXPECT_NE(f.reason.find(c.reason), std::string::npos) << f.reason;
        }
    }
}

TEST(MidiFile, NoTruncationOrDamagedByteCrashesTheReader) {
    MidiTrack conductor, notes;
    conductor.tempo(0, 400000).event(0, {0xff, 0x58, 0x04, 4, 2, 24, 8}).tempo(960, 700000).end();
    for (int i = 0; i < 12; ++i)
        notes.event(100, {0x90, static_cast<unsigned char>(50 + i), 90}).event(60, {0x80, 50, 0});
    notes.event(0, {0xf0, 0x02, 0x01, 0xf7}).end();
    const std::vector<unsigned char> good = midiFile(1, kPulses, {conductor, notes});
    std::mt19937 random(11);
    int accepted = 0;
    auto attempt = [&](const std::vector<unsigned char>& b) {
        try {
            render::readMidiBytes(b, "f.mid");
            ++accepted;
        } catch (const render::Failure&) {
        }
    };
    for (size_t size = 0; size < good.size(); ++size)
        attempt(std::vector<unsigned char>(good.begin(), good.begin() + size));
    EXPECT_EQ(accepted, 0) << "a truncated file was taken as whole";
    for (int round = 0; round < 3000; ++round) {
        std::vector<unsigned char> b = good;
        for (int hits = 1 + static_cast<int>(random() % 3); hits > 0; --hits)
            b[14 + random() % (b.size() - 14)] = static_cast<unsigned char>(random());
        attempt(b);
    }
}

}  // namespace
