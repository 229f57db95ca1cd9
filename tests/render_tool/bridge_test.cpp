// The bridge: a helper process hosts the plug-in and the renderer drives it
// over a pipe. Natively the helper loads the .so and must render exactly what
// the renderer renders in-process; under wine the Windows helper loads the
// x86_64 DLL of the sibling Windows build, when there is one.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "tests/render_tool/midi_bytes.h"
#include "tests/render_tool/test_files.h"
#include "tests/render_tool/tool_runner.h"

namespace {

using namespace rendertest;

class RenderBridge : public ::testing::Test {
protected:
    void SetUp() override { writeBytes(folder.file("short.mid"), shortPiece()); }
    Wav render(std::vector<std::string> args, const std::string& out) {
        args.insert(args.begin(), {"-q", "-p", "Crystal Bells", "--format", "float", "-o", out});
        args.push_back("short.mid");
        const ToolResult r = runRenderer(args, folder.path);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        return readWav(folder.file(out));
    }
    TempFolder folder;
};

float largestDifference(const Wav& a, const Wav& b) {
    float d = 0.0f;
    for (size_t i = 0; i < a.samples.size() && i < b.samples.size(); ++i)
        d = std::fmax(d, std::fabs(a.samples[i] - b.samples[i]));
    return d;
}

TEST_F(RenderBridge, TheNativeHelperRendersExactlyWhatTheRendererRendersItself) {
    const Wav direct = render({nubbel3Path()}, "direct.wav");
    const Wav bridged = render({"--bridge", bridgePath(), nubbel3Path()}, "bridged.wav");
    ASSERT_GT(direct.frames(), 0u);
    EXPECT_EQ(bridged.samples, direct.samples);
}

TEST_F(RenderBridge, TheHelpersReasonsReachTheOneLineMessage) {
    for (const auto& c : std::vector<std::pair<std::string, std::string>>{
             {folder.file("missing.so"), "no such file"}, {refusingPluginPath(), "VSTPluginMain refused"}}) {
        const ToolResult r = runRenderer({"--bridge", bridgePath(), "-o", "x.wav", c.first}, folder.path);
        EXPECT_NE(r.exitCode, 0);
        ASSERT_EQ(r.errLines().size(), 1u) << r.err;
        EXPECT_EQ(r.errLines()[0], "nubbel-render: " + c.first + ": " + r.errLines()[0].substr(17 + c.first.size()));
        EXPECT_NE(r.err.find(c.second), std::string::npos) << r.err;
        EXPECT_FALSE(exists(folder.file("x.wav")));
    }
}

TEST_F(RenderBridge, TheWindowsDllRendersUnderWineAsTheLinuxPluginDoes) {
    const char* given = std::getenv("NUBBEL_X86_64_BUILD");
    const std::string build = given ? given : std::string(NUBBEL_SOURCE_DIR) + "/build/x86_64";
    const std::string dll = build + "/plugins/Nubbel3.dll";
    const std::string helper = build + "/tools/nubbel-render/nubbel-render-bridge.exe";
    if (!exists(dll) || !exists(helper)) GTEST_SKIP() << "no x86_64 build with the bridge helper at " << build;
    const Wav linux = render({nubbel3Path()}, "linux.wav");
    // The helper is found from the DLL's place in its build tree.
    const Wav windows = render({dll}, "windows.wav");
    ASSERT_EQ(windows.frames(), linux.frames());
    const float difference = largestDifference(windows, linux);
    RecordProperty("largest_difference", std::to_string(difference));
    EXPECT_LE(difference, 1e-5f) << "the DLL under wine sounds different from the .so";
}

}  // namespace
