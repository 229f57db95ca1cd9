// The main command: the demo phrase through every program of an instrument,
// one file per program named by instrument, number and program name, each
// reported with its peak and RMS level as measured in the file. Both
// instruments render into one folder without a name in common.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/render_tool/test_files.h"
#include "tests/render_tool/tool_runner.h"
#include "tools/nubbel-render/level_meter.h"

namespace {

using namespace rendertest;

// The demo writes float files: they keep every sample as the instrument made
// it. The first generation has no headroom of its own, and its fuller
// programs' chords go past full scale, as they do in a host's float mix.
struct Instrument {
    std::string path;
    std::vector<std::string> files;
    double highestPeakDb;
};

const Instrument kInstruments[] = {
    {nubbel3Path(),
     {"Nubbel3-00-EPiano.wav", "Nubbel3-01-Synthesized.wav", "Nubbel3-02-Crystal-Bells.wav", "Nubbel3-03-Organ.wav",
      "Nubbel3-04-Eastern-Glitter.wav", "Nubbel3-05-Spacey-Choir.wav", "Nubbel3-06-Big-Chord.wav",
      "Nubbel3-07-Steel-strings.wav"},
     0.0},
    {nubbelPath(),
     {"Nubbel-00-Big-Chord.wav", "Nubbel-01-Rainy.wav", "Nubbel-02-Organesque.wav", "Nubbel-03-Techno-piz.wav",
      "Nubbel-04-Voxxy.wav", "Nubbel-05-Syn-String.wav", "Nubbel-06-Not-a-vibraphone.wav",
      "Nubbel-07-The-Excruciator.wav"},
     6.0},
};

void checkReportedFiles(const ToolResult& r, const TempFolder& folder, const std::vector<std::string>& expected,
                        double highestPeakDb) {
    const std::vector<std::string> lines = r.outLines();
    ASSERT_EQ(lines.size(), expected.size()) << r.out;
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i]);
        const std::string& line = lines[i];
        const std::string path = folder.file(expected[i]);
        ASSERT_EQ(line.compare(0, path.size() + 2, path + ": "), 0) << line;
        double seconds = 0, peak = 0, rms = 0;
        ASSERT_EQ(
            std::sscanf(line.c_str() + path.size() + 2, "%lf s, peak %lf dBFS, RMS %lf dBFS", &seconds, &peak, &rms), 3)
            << line;
        const Wav wav = readWav(path);
        render::LevelMeter measured;
        measured.add(wav.samples.data(), wav.samples.size());
        // Float samples: the file's levels are the printed ones.
        EXPECT_NEAR(measured.peakDb(), peak, 0.06);
        EXPECT_NEAR(measured.rmsDb(), rms, 0.06);
        EXPECT_GT(peak, -40.0) << "a program rendered (nearly) silent";
        EXPECT_LT(peak, highestPeakDb) << "a program is louder than its instrument should be";
        // The 18-second phrase and a release tail within its limit.
        EXPECT_GE(seconds, 18.0);
        EXPECT_LE(seconds, 18.0 + 30.5);
        EXPECT_NEAR(static_cast<double>(wav.frames()) / wav.sampleRate, seconds, 0.06);
    }
}

TEST(RenderAllPrograms, TheDemoPhraseThroughEveryProgramOfBothGivesOneReportedFileEach) {
    TempFolder folder;
    std::vector<std::string> all;
    for (const Instrument& instrument : kInstruments) {
        SCOPED_TRACE(instrument.path);
        const ToolResult r =
            runRenderer({"--all-programs", "--format", "float", "-o", folder.path, instrument.path}, folder.path);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.err, "") << "no progress bar when stderr is no terminal";
        checkReportedFiles(r, folder, instrument.files, instrument.highestPeakDb);
        all.insert(all.end(), instrument.files.begin(), instrument.files.end());
    }
    std::sort(all.begin(), all.end());
    EXPECT_EQ(folder.entries(), all);
}

}  // namespace
