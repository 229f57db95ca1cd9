// Every bad input ends the renderer with one line, "nubbel-render: SUBJECT:
// reason", a non-zero exit and no file written: neither the output nor a
// temporary one. An interrupted render leaves nothing behind either.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <csignal>
#include <functional>
#include <thread>

#include "tests/render_tool/midi_bytes.h"
#include "tests/render_tool/test_files.h"
#include "tests/render_tool/tool_runner.h"
#include "tools/nubbel-render/preset_file.h"

namespace {

using namespace rendertest;

std::vector<unsigned char> nubbelPreset(VstInt32 id, size_t chunkBytes) {
    render::PresetFile p;
    p.kind = render::PresetKind::ProgramChunk;
    p.fxID = id;
    p.numParams = 49;
    p.name = "Test";
    p.chunk.assign(chunkBytes, 0);
    return render::encodePreset(p);
}

std::vector<unsigned char> text(const char* s) { return std::vector<unsigned char>(s, s + std::strlen(s)); }

struct BadInput {
    const char* what;
    std::vector<std::pair<const char*, std::vector<unsigned char>>> files;  // made in the folder first
    std::vector<std::string> args;                                          // options
    std::string subject, reason;
    std::string plugin = nubbel3Path();
    std::string midi = "";
};

TEST(RenderBadInput, EachGivesOneLineNamingTheFileAndLeavesNoFile) {
    std::vector<unsigned char> cut = shortPiece();
    cut.resize(cut.size() - 5);
    std::vector<unsigned char> overlong = nubbelPreset(fourCC("ZVN3"), 196);
    overlong.push_back(0);
    const std::vector<BadInput> cases = {
        {"truncated MIDI file",
         {{"cut.mid", cut}},
         {"-o", "out.wav"},
         "cut.mid",
         "truncated",
         nubbel3Path(),
         "cut.mid"},
        {"malformed MIDI file",
         {{"junk.mid", text("MThd but not really a MIDI file")}},
         {"-o", "out.wav"},
         "junk.mid",
         "not a MIDI file",
         nubbel3Path(),
         "junk.mid"},
        {"preset of another plug-in",
         {{"other.fxp", nubbelPreset(fourCC("Abcd"), 196)}},
         {"--load", "other.fxp", "-o", "out.wav"},
         "other.fxp",
         "made for another plug-in (ID 'Abcd'"},
        {"preset of the wrong size",
         {{"long.fxp", overlong}},
         {"--load", "long.fxp", "-o", "out.wav"},
         "long.fxp",
         "wrong size"},
        {"preset the plug-in refuses",
         {{"refused.fxp", nubbelPreset(fourCC("ZVN3"), 100)}},
         {"--load", "refused.fxp", "-o", "out.wav"},
         "refused.fxp",
         "refused the preset"},
        {"output in a missing folder", {}, {"-o", "nowhere/out.wav"}, "nowhere/out.wav", "cannot write there"},
        {"output below a plain file",
         {{"plain.txt", text("x")}},
         {"-o", "plain.txt/out.wav"},
         "plain.txt/out.wav",
         "cannot write there"},
        {"output that is a folder", {}, {"-o", "."}, ".", "is a folder"},
        {"preset saved into a missing folder",
         {},
         {"--save-preset", "nowhere/p.fxp", "-o", "out.wav"},
         "nowhere/p.fxp",
         "cannot write there"},
        {"sample rate of 0", {}, {"-r", "0", "-o", "out.wav"}, "--rate 0", "sample rate"},
        {"block size of 0", {}, {"-b", "0", "-o", "out.wav"}, "--block 0", "block size"},
        {"unknown parameter", {}, {"--set", "Nope=1", "-o", "out.wav"}, "--set Nope=1", "no parameter named \"Nope\""},
        {"parameter value that is no number",
         {},
         {"--set", "F_Cut=loud", "-o", "out.wav"},
         "--set F_Cut=loud",
         "not a number"},
        {"program that does not exist", {}, {"-p", "8", "-o", "out.wav"}, nubbel3Path(), "no program 8"},
        {"all programs into a file", {}, {"--all-programs", "-o", "out.wav"}, "out.wav", "into a folder"},
        {"missing plug-in", {}, {"-o", "out.wav"}, "missing.so", "no such file", "missing.so"},
        {"file that is no plug-in",
         {{"text.so", text("not a library")}},
         {"-o", "out.wav"},
         "text.so",
         "not a loadable library",
         "text.so"},
        {"library without the entry point",
         {},
         {"-o", "out.wav"},
         "/usr/lib/x86_64-linux-gnu/libsndfile.so.1",
         "no VSTPluginMain or main export",
         "/usr/lib/x86_64-linux-gnu/libsndfile.so.1"},
        {"entry point that refuses",
         {},
         {"-o", "out.wav"},
         refusingPluginPath(),
         "VSTPluginMain refused",
         refusingPluginPath()},
    };
    for (const BadInput& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder folder;
        for (const auto& f : c.files) writeBytes(folder.file(f.first), f.second);
        const std::vector<std::string> before = folder.entries();
        std::vector<std::string> args = c.args;
        args.push_back(c.plugin);
        if (!c.midi.empty()) args.push_back(c.midi);
        const ToolResult r = runRenderer(args, folder.path);
        EXPECT_NE(r.exitCode, 0);
        ASSERT_EQ(r.errLines().size(), 1u) << r.err;
        const std::string expectedStart = "nubbel-render: " + c.subject + ": ";
        EXPECT_EQ(r.errLines()[0].compare(0, expectedStart.size(), expectedStart), 0) << r.errLines()[0];
        EXPECT_NE(r.errLines()[0].find(c.reason), std::string::npos) << r.errLines()[0];
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(folder.entries(), before) << "a file was left behind";
    }
}

TEST(RenderBadInput, AnInterruptedRenderLeavesNoFile) {
    const char* kars = "/usr/lib/vst/Kars-vst.so";
    ASSERT_TRUE(exists(kars)) << kars << " is missing: tools/setup-machine.sh installs dpf-plugins-vst";
    TempFolder folder;
    // An hour of audio: long enough to be stopped half way.
    const pid_t child = startRenderer({"--length", "3600", "--format", "float", "-o", "long.wav", kars}, folder.path);
    bool writing = false;
    for (int i = 0; i < 500 && !writing; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        for (const std::string& e : folder.entries())
            writing = writing || e.find("long.wav.partial") != std::string::npos;
    }
    EXPECT_TRUE(writing) << "the render never started writing";
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    kill(child, SIGTERM);
    EXPECT_EQ(waitFor(child), 128 + SIGTERM);
    EXPECT_TRUE(folder.entries().empty());
}

}  // namespace
