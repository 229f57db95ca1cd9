// The instrument played from MIDI through our host and the record, judged by
// its output samples.
#include <gtest/gtest.h>

#include <vector>

#include "tests/interface/plugin_fixture.h"
#include "tests/interface/signal_measures.h"

namespace {

constexpr float kRate = 44100.0f;
constexpr VstInt32 kBlock = 256;

struct Playing : LoadedPlugin {
    std::vector<float> left, right;
    void SetUp() override {
        LoadedPlugin::SetUp();
        host.start(kRate, kBlock);
    }
    // Renders frames after sending the messages with the first block.
    void play(const std::vector<testhost::MidiMessage>& messages, VstInt32 frames) { play(host, messages, frames); }
    void play(testhost::TestHost& h, const std::vector<testhost::MidiMessage>& messages, VstInt32 frames) {
        left.clear();
        right.clear();
        std::vector<float> l(kBlock), r(kBlock);
        for (VstInt32 done = 0; done < frames; done += kBlock) {
            if (done == 0 && !messages.empty()) h.sendMidi(messages);
            h.process(l.data(), r.data(), kBlock);
            left.insert(left.end(), l.begin(), l.end());
            right.insert(right.end(), r.begin(), r.end());
        }
    }
    std::vector<float> tail(const std::vector<float>& x, size_t from) {
        return std::vector<float>(x.begin() + static_cast<long>(from), x.end());
    }
};

TEST_P(Playing, KeysSoundAtTheirPitchAndBendMovesIt) {
    const double a4 = instrument().key69Hz;
    play({{0, 0x90, 69, 100}}, 16384);
    EXPECT_NEAR(measurePitch(tail(left, 8192), kRate), a4, a4 * 0.005);
    // Cut first: a long release of key 69 would still sound under key 57.
    play({{0, 0xB0, 123, 0}, {0, 0x90, 57, 100}}, 16384);
    EXPECT_NEAR(measurePitch(tail(left, 8192), kRate), a4 / 2, a4 / 2 * 0.005);

    // Bytes 00 60: bend 0.5, so 2^0.5 above.
    play({{0, 0xE0, 0x00, 0x60}}, 16384);
    EXPECT_NEAR(measurePitch(tail(left, 8192), kRate), a4 / 2 * std::sqrt(2.0), a4 / 2 * std::sqrt(2.0) * 0.005);
    play({{0, 0xE0, 0x00, 0x00}}, 16384);  // bend -1: an octave down
    EXPECT_NEAR(measurePitch(tail(left, 8192), kRate, 50, 400), a4 / 4, a4 / 4 * 0.005);
}

TEST_P(Playing, KeysBelowTheNoteTableAreIgnored) {
    const int lowest = instrument().lowestKey;
    if (lowest == 0) GTEST_SKIP() << "every key plays";
    play({{0, 0x90, 0, 127}, {0, 0x90, static_cast<unsigned char>(lowest - 1), 127}, {3, 0x80, 5, 0}}, 4096);
    EXPECT_LE(peakOf(left), 1e-15);
    EXPECT_LE(peakOf(right), 1e-15);
    play({{0, 0x90, static_cast<unsigned char>(lowest), 127}}, 4096);
    EXPECT_GT(peakOf(left), 0.001);
}

TEST_P(Playing, SilenceWithoutNotes) {
    play({}, 8192);
    EXPECT_LE(peakOf(left), 1e-15);
    EXPECT_LE(peakOf(right), 1e-15);
}

TEST_P(Playing, StereoWidthZeroGivesIdenticalChannelsAndOneDecorrelates) {
    host.setParameter(instrument().widthParam, 0.0f);
    play({{0, 0x90, 60, 100}}, 8192);
    EXPECT_EQ(left, right);
    EXPECT_GT(peakOf(left), 0.01);

    // Fully wide: the two readers start far apart in a table of random
    // phases, so the channels no longer follow each other. Any one
    // short window of a narrow-band pad may still correlate by chance; the
    // mean over several notes may not.
    host.setParameter(instrument().widthParam, 1.0f);
    double sum = 0;
    const unsigned char keys[] = {48, 55, 60, 64, 72};
    for (unsigned char key : keys) {
        play({{0, 0xB0, 123, 0}, {0, 0x90, key, 100}}, 16384);
        sum += std::fabs(correlation(tail(left, 8192), tail(right, 8192)));
    }
    EXPECT_LT(sum / 5, 0.5);
}

TEST_P(Playing, EventOffsetsAreSampleAccurate) {
    play({{17, 0x90, 60, 127}}, 1024);
    EXPECT_LE(peakOf(left, 0, 17), 1e-15);
    EXPECT_LE(peakOf(right, 0, 17), 1e-15);
    EXPECT_GT(peakOf(left, 17, 1024), 1e-6);
}

// A note on and off in one block: the same samples as the held note up to
// the release frame, then the release (an output filter may delay it a little).
TEST_P(Playing, NoteOnAndOffInOneBlockReleaseAtTheLaterFrame) {
    play({{10, 0x90, 60, 127}}, kBlock);
    const std::vector<float> held = left;
    play({{0, 0xB0, 123, 0}}, 16384);
    play({{10, 0x90, 60, 127}, {200, 0x80, 60, 0}}, kBlock);
    EXPECT_LE(peakOf(left, 0, 10), 1e-15);
    EXPECT_GT(peakOf(left, 10, 200), 1e-4);
    size_t firstDifference = 0;
    while (firstDifference < left.size() && std::fabs(double(left[firstDifference]) - held[firstDifference]) < 1e-9)
        ++firstDifference;
    EXPECT_GE(firstDifference, 200u);
    EXPECT_LT(firstDifference, 240u);
}

// Pairs of event lists that must sound alike. Both are played by the same
// instance, since every instance draws its own random-phase table; between
// them all voices are silenced and the output filters ring out.
TEST_P(Playing, EquivalentMessagesSoundTheSame) {
    struct Pair {
        const char* what;
        std::vector<testhost::MidiMessage> a, b;
    } pairs[] = {
        {"velocity 0 is a note off",
         {{0, 0x90, 60, 100}, {300, 0x80, 60, 64}},
         {{0, 0x90, 60, 100}, {300, 0x90, 60, 0}}},
        {"channel 10 plays like channel 1", {{0, 0x90, 62, 90}}, {{0, 0x99, 62, 90}}},
        {"the sustain pedal changes nothing", {{0, 0x90, 64, 90}, {5, 0xB0, 64, 127}}, {{0, 0x90, 64, 90}}},
    };
    auto silence = [this] { play({{0, 0xB0, 123, 0}}, 16384); };
    for (const Pair& p : pairs) {
        silence();
        play(p.a, 4096);
        const std::vector<float> first = left;
        silence();
        play(p.b, 4096);
        ASSERT_EQ(first.size(), left.size());
        double worst = 0;
        for (size_t i = 0; i < left.size(); ++i) worst = std::max(worst, std::fabs(double(first[i]) - left[i]));
        EXPECT_LT(worst, 1e-9) << p.what;
        EXPECT_GT(peakOf(first), 0.01) << p.what;
    }
}

// All Notes Off and Mono Mode On both silence every voice.
TEST_P(Playing, SilencingControllersActAtOnceButAnEarlierNoteInTheListStillSounds) {
    for (unsigned char controller : {123, 126}) {
        play({{0, 0x90, 60, 127}, {0, 0x90, 64, 127}}, 4096);
        ASSERT_GT(peakOf(left), 0.01) << int(controller);
        play({{100, 0xB0, controller, 0}}, 2048);
        // At most an output filter's short ring remains after the voices stop.
        EXPECT_LE(peakOf(left, 64), 1e-6) << int(controller);

        play({{0, 0x90, 67, 127}, {0, 0xB0, controller, 0}}, 2048);
        EXPECT_GT(peakOf(left, 512), 0.01) << int(controller);
        play({{0, 0xB0, 123, 0}}, 2048);
    }
}

RUN_FOR_EVERY_INSTRUMENT(Playing);

}  // namespace
