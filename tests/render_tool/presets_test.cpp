// Presets and banks across separate runs of the renderer: what one run saves,
// another loads and saves again unchanged. Nubbel3 keeps its state in opaque
// chunks ('FPCh', 'FBCh'); the third-party Kars synth has no chunks and gets
// parameter lists ('FxCk', 'FxBk').
#include <gtest/gtest.h>

#include "tests/render_tool/midi_bytes.h"
#include "tests/render_tool/test_files.h"
#include "tests/render_tool/tool_runner.h"
#include "tools/nubbel-render/preset_file.h"

namespace {

using namespace rendertest;
using render::PresetFile;
using render::PresetKind;

const char* const kKars = "/usr/lib/vst/Kars-vst.so";

PresetFile load(const std::string& path) { return render::decodePreset(readBytes(path)); }

class RenderPresets : public ::testing::Test {
protected:
    void SetUp() override { writeBytes(folder.file("short.mid"), shortPiece()); }
    void run(std::vector<std::string> args) {
        args.insert(args.begin(), {"-q", "--tail-limit", "0.5"});
        args.push_back("short.mid");
        const ToolResult r = runRenderer(args, folder.path);
        ASSERT_EQ(r.exitCode, 0) << r.err;
    }
    TempFolder folder;
};

TEST_F(RenderPresets, AChunkPresetSavedByOneRenderReproducesTheProgramInAnother) {
    run({"-p", "Organ", "--set", "F_Cut=0.4", "--save-preset", "a.fxp", "--save-bank", "a.fxb", "-o", "1.wav",
         nubbel3Path()});
    // A fresh process with program 0 current: the preset goes into it.
    run({"--load", "a.fxp", "--save-preset", "b.fxp", "-o", "2.wav", nubbel3Path()});
    run({"-p", "Organ", "--save-preset", "organ.fxp", "-o", "3.wav", nubbel3Path()});
    run({"--load", "a.fxb", "--save-bank", "b.fxb", "-o", "4.wav", nubbel3Path()});

    const PresetFile a = load(folder.file("a.fxp")), b = load(folder.file("b.fxp"));
    EXPECT_EQ(a.kind, PresetKind::ProgramChunk);
    EXPECT_EQ(a.fxID, fourCC("ZVN3"));
    EXPECT_EQ(a.name, "Organ");
    EXPECT_EQ(a.chunk.size(), 196u);
    EXPECT_EQ(b.chunk, a.chunk);
    EXPECT_EQ(b.name, "Organ");
    EXPECT_NE(load(folder.file("organ.fxp")).chunk, a.chunk) << "the --set value did not reach the preset";

    const PresetFile bankA = load(folder.file("a.fxb")), bankB = load(folder.file("b.fxb"));
    EXPECT_EQ(bankA.kind, PresetKind::BankChunk);
    EXPECT_EQ(bankA.chunk.size(), 1760u);
    EXPECT_EQ(bankA.currentProgram, 3);
    EXPECT_EQ(bankB.chunk, bankA.chunk);
    EXPECT_EQ(bankB.currentProgram, 3);
}

TEST_F(RenderPresets, APluginWithoutChunksGetsParameterListPresetsAndBanks) {
    ASSERT_TRUE(exists(kKars)) << kKars << " is missing: tools/setup-machine.sh installs dpf-plugins-vst";
    run({"--set", "Volume=0.5", "--save-preset", "k.fxp", "--save-bank", "k.fxb", "-o", "1.wav", kKars});
    run({"--load", "k.fxp", "--save-preset", "k2.fxp", "--load", "k.fxb", "--save-bank", "k2.fxb", "-o", "2.wav",
         kKars});
    const PresetFile p = load(folder.file("k.fxp")), bank = load(folder.file("k.fxb"));
    EXPECT_EQ(p.kind, PresetKind::ProgramParams);
    ASSERT_EQ(p.params.size(), 3u);
    EXPECT_EQ(p.params[2], 0.5f);
    EXPECT_EQ(bank.kind, PresetKind::BankParams);
    ASSERT_EQ(bank.programs.size(), 1u);
    EXPECT_EQ(bank.programs[0].params, p.params);
    EXPECT_EQ(readBytes(folder.file("k2.fxp")), readBytes(folder.file("k.fxp")));
    EXPECT_EQ(readBytes(folder.file("k2.fxb")), readBytes(folder.file("k.fxb")));
}

}  // namespace
