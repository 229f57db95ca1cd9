// The renderer follows the VST 2 interface, not our plug-in's habits: it
// plays Debian's third-party plug-ins (dpf-plugins-vst) too. Kars is a mono
// synth exported only under the old entry name "main"; 3 Band EQ is an effect
// with two inputs, fed a sine, which at its neutral settings comes out as it
// went in.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "tests/render_tool/test_files.h"
#include "tests/render_tool/tool_runner.h"
#include "tools/nubbel-render/level_meter.h"

namespace {

using namespace rendertest;

const char* const kKars = "/usr/lib/vst/Kars-vst.so";
const char* const kEq = "/usr/lib/vst/3BandEQ-vst.so";

// Frequency from the upward zero crossings of the first channel between two frames.
double frequencyOf(const Wav& wav, size_t fromFrame, size_t toFrame) {
    long first = -1, last = -1, crossings = 0;
    for (size_t f = fromFrame + 1; f < std::min(toFrame, wav.frames()); ++f) {
        const float a = wav.samples[(f - 1) * wav.channels], b = wav.samples[f * wav.channels];
        if (a < 0.0f && b >= 0.0f) {
            if (first < 0) first = static_cast<long>(f);
            last = static_cast<long>(f);
            ++crossings;
        }
    }
    return crossings > 1 ? (crossings - 1) * static_cast<double>(wav.sampleRate) / (last - first) : 0.0;
}

render::LevelMeter levels(const Wav& wav) {
    render::LevelMeter m;
    m.add(wav.samples.data(), wav.samples.size());
    return m;
}

TEST(RenderThirdParty, KarsPlaysTheDemoPhraseIntoAMonoFile) {
    ASSERT_TRUE(exists(kKars)) << kKars << " is missing: tools/setup-machine.sh installs dpf-plugins-vst";
    TempFolder folder;
    const ToolResult r = runRenderer({"-q", "--format", "float", "-o", "kars.wav", kKars}, folder.path);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const Wav wav = readWav(folder.file("kars.wav"));
    EXPECT_EQ(wav.channels, 1);  // the plug-in's record says one output
    EXPECT_GT(wav.frames(), static_cast<size_t>(18 * 44100));
    EXPECT_GT(levels(wav).peakDb(), -30.0);
    ASSERT_EQ(r.outLines().size(), 1u);
    EXPECT_NE(r.out.find("kars.wav: "), std::string::npos);
}

TEST(RenderThirdParty, AnEffectFedASinePassesItAtItsNeutralSettings) {
    ASSERT_TRUE(exists(kEq)) << kEq << " is missing: tools/setup-machine.sh installs dpf-plugins-vst";
    TempFolder folder;
    for (const char* rate : {"44100", "48000"}) {
        SCOPED_TRACE(rate);
        const ToolResult r = runRenderer(
            {"-q", "--input-sine", "440", "--length", "1", "-r", rate, "--format", "float", "-o", "eq.wav", kEq},
            folder.path);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        const Wav wav = readWav(folder.file("eq.wav"));
        EXPECT_EQ(wav.channels, 2);
        EXPECT_EQ(wav.sampleRate, std::atoi(rate));
        EXPECT_NEAR(frequencyOf(wav, 1000, static_cast<size_t>(wav.sampleRate) * 9 / 10), 440.0, 0.5);
        EXPECT_NEAR(levels(wav).peakDb(), 20.0 * std::log10(0.5), 0.1);  // the input's -6 dBFS
        // The sine stops with the piece and the output falls silent after it.
        EXPECT_LT(wav.frames(), static_cast<size_t>(wav.sampleRate) * 3 / 2);
    }
}

}  // namespace
