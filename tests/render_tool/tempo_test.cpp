// Timing of a render. Notes sound at their times: a type 1 file whose
// conductor track changes tempo, rendered through Nubbel3 at several block
// sizes; the note onsets found in the output match the tempo map to a few
// frames, whatever the block. After the piece, the tail runs until the output
// has stayed below -90 dBFS, or to its limit.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/render_tool/midi_bytes.h"
#include "tests/render_tool/test_files.h"
#include "tests/render_tool/tool_runner.h"

namespace {

using namespace rendertest;

constexpr int kRate = 44100;
constexpr uint16_t kPulses = 480;

// Frames where the output rises above threshold after at least quietFrames
// below it.
std::vector<long> onsets(const Wav& wav, float threshold, long quietFrames) {
    std::vector<long> found;
    long quiet = quietFrames;
    for (size_t f = 0; f < wav.frames(); ++f) {
        float level = 0.0f;
        for (int c = 0; c < wav.channels; ++c) level = std::fmax(level, std::fabs(wav.samples[f * 2 + c]));
        if (level >= threshold) {
            if (quiet >= quietFrames) found.push_back(static_cast<long>(f));
            quiet = 0;
        } else {
            ++quiet;
        }
    }
    return found;
}

TEST(RenderTiming, NotesSoundAtTheirTimesThroughATempoChange) {
    TempFolder folder;
    // 120 beats a minute for four beats (2 s), then 60; short notes with
    // silence between them, off the block grid.
    MidiTrack conductor;
    conductor.tempo(0, 500000).tempo(4 * kPulses, 1000000).end();
    MidiTrack notes;
    const uint32_t pulses[] = {kPulses / 2, 9 * kPulses / 4, 7 * kPulses / 2, 9 * kPulses / 2, 23 * kPulses / 4};
    const double seconds[] = {0.25, 1.125, 1.75, 2.5, 3.75};
    uint32_t at = 0;
    for (uint32_t on : pulses) {
        notes.event(on - at, {0x90, 69, 110}).event(kPulses / 16, {0x80, 69, 0});
        at = on + kPulses / 16;
    }
    notes.end();
    writeBytes(folder.file("tempo.mid"), midiFile(1, kPulses, {conductor, notes}));

    std::vector<long> firstRun;
    for (const char* block : {"64", "512", "1000"}) {
        SCOPED_TRACE(std::string("block ") + block);
        const std::string out = std::string("b") + block + ".wav";
        const ToolResult r = runRenderer({"-q", "-b", block, "--format", "float", "--set", "A=0", "--set", "R=0",
                                          "--set", "F_A=0", "--set", "F_Cut=1", "-o", out, nubbel3Path(), "tempo.mid"},
                                         folder.path);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        const Wav wav = readWav(folder.file(out));
        ASSERT_EQ(wav.sampleRate, kRate);
        ASSERT_EQ(wav.channels, 2);
        const std::vector<long> found = onsets(wav, 1e-3f, kRate / 20);
        ASSERT_EQ(found.size(), 5u);
        // The plug-in's own latency is the same for every note.
        const long latency = found[0] - std::lround(seconds[0] * kRate);
        EXPECT_GE(latency, 0);
        EXPECT_LT(latency, 256);
        for (size_t i = 0; i < found.size(); ++i)
            EXPECT_NEAR(found[i] - latency, std::lround(seconds[i] * kRate), 8) << "note " << i;
        if (firstRun.empty()) firstRun = found;
        for (size_t i = 0; i < found.size(); ++i) EXPECT_NEAR(found[i], firstRun[i], 2) << "note " << i;
    }
}

TEST(RenderTiming, TheTailRunsUntilSilenceOrToItsLimit) {
    TempFolder folder;
    // An effect fed one second of sine falls silent soon after it stops.
    const char* eq = "/usr/lib/vst/3BandEQ-vst.so";
    ASSERT_TRUE(exists(eq)) << eq << " is missing: tools/setup-machine.sh installs dpf-plugins-vst";
    ToolResult r = runRenderer({"-q", "--input-sine", "440", "--length", "1", "--format", "float", "-o", "eq.wav", eq},
                               folder.path);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const Wav wav = readWav(folder.file("eq.wav"));
    const size_t holdFrames = kRate / 20, block = 512;
    EXPECT_GE(wav.frames(), static_cast<size_t>(kRate) + holdFrames);
    EXPECT_LE(wav.frames(), static_cast<size_t>(kRate) + holdFrames + 4 * block);
    for (size_t i = wav.samples.size() - holdFrames * 2; i < wav.samples.size(); ++i)
        ASSERT_LT(std::fabs(wav.samples[i]), 3.2e-5f) << "loud sample " << i << " in the final stretch";

    // A long release is cut at the limit, and the report says so.
    writeBytes(folder.file("short.mid"), shortPiece());
    r = runRenderer(
        {"-q", "--set", "R=1", "--set", "S=1", "--tail-limit", "0.5", "-o", "pad.wav", nubbel3Path(), "short.mid"},
        folder.path);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("(tail cut at the limit)"), std::string::npos) << r.out;
    const double seconds = static_cast<double>(readWav(folder.file("pad.wav")).frames()) / kRate;
    EXPECT_GE(seconds, 0.5 + 0.5);
    EXPECT_LE(seconds, 0.5 + 0.5 + static_cast<double>(block) / kRate);
}

}  // namespace
