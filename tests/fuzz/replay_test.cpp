// Every seed and every regression input of one instrument through the host
// script interpreter, in every build: what a fuzzer once found stays fixed.
// The instrument's library (NUBBEL_FUZZ_PLUGIN) is loaded once per process,
// so each instrument has its own program built from this file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/fuzz/allocation_limit.h"
#include "tests/fuzz/host_script.h"

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> scriptsIn(const char* kind) {
    const fs::path dir = fs::path(NUBBEL_FUZZ_SCRIPTS) / kind / NUBBEL_FUZZ_INSTRUMENT;
    std::vector<fs::path> files;
    if (fs::is_directory(dir))
        for (const auto& entry : fs::directory_iterator(dir))
            if (entry.is_regular_file()) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

void replay(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    ASSERT_TRUE(in.good()) << file;
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    // A failed check aborts the program; the name says which input it was.
    std::fprintf(stderr, "replaying %s\n", file.string().c_str());
    fuzzhost::runHostScript(NUBBEL_FUZZ_PLUGIN, bytes.data(), bytes.size());
}

TEST(HostScripts, EverySeedRunsClean) {
    const auto seeds = scriptsIn("corpus");
    EXPECT_FALSE(seeds.empty());
    for (const auto& file : seeds) replay(file);
}

TEST(HostScripts, EveryRegressionInputRunsClean) {
    const auto inputs = scriptsIn("regressions");
    EXPECT_FALSE(inputs.empty());
    for (const auto& file : inputs) replay(file);
}

// The memory-limited regression proves something only if the plug-in's
// allocations were refused; a plug-in with its own statically linked
// allocator (the Windows builds) cannot be limited from here.
TEST(HostScripts, MemoryLimitReachesThePlugin) {
#if defined(_WIN32)
    GTEST_SKIP() << "the DLL carries its own allocator";
#else
    const size_t before = fuzzhost::refusedAllocations();
    replay(fs::path(NUBBEL_FUZZ_SCRIPTS) / "regressions" / NUBBEL_FUZZ_INSTRUMENT / "block-size-2p27-memory-limited");
    EXPECT_GT(fuzzhost::refusedAllocations(), before);
#endif
}

}  // namespace
