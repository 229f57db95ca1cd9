// .fxp / .fxb bytes: the layout other hosts read, round trips of all four
// kinds, and a refusal with a reason for every malformed file.
#include <gtest/gtest.h>

#include <random>

#include "tools/nubbel-render/preset_file.h"

namespace {

using render::PresetFile;
using render::PresetKind;

uint32_t wordAt(const std::vector<unsigned char>& b, size_t at) {
    return static_cast<uint32_t>(b[at]) << 24 | static_cast<uint32_t>(b[at + 1]) << 16 |
           static_cast<uint32_t>(b[at + 2]) << 8 | b[at + 3];
}

PresetFile program(PresetKind kind) {
    PresetFile p;
    p.kind = kind;
    p.fxID = fourCC("ZVN3");
    p.fxVersion = 7;
    p.name = "Crystal Bells";
    p.numParams = 3;
    if (kind == PresetKind::ProgramParams)
        p.params = {1.0f, 0.25f, -0.0f};
    else
        p.chunk = {1, 2, 3, 4, 5};
    return p;
}

PresetFile bank(PresetKind kind) {
    PresetFile b;
    b.kind = kind;
    b.formatVersion = 2;
    b.fxID = fourCC("ZVN3");
    b.fxVersion = 7;
    b.numPrograms = 2;
    b.currentProgram = 1;
    if (kind == PresetKind::BankParams)
        b.programs = {program(PresetKind::ProgramParams), program(PresetKind::ProgramParams)};
    else
        b.chunk = std::vector<unsigned char>(1760, 0xab);
    return b;
}

TEST(PresetFile, ProgramChunkHasTheStandardLayout) {
    const std::vector<unsigned char> b = render::encodePreset(program(PresetKind::ProgramChunk));
    ASSERT_EQ(b.size(), 60u + 5u);
    EXPECT_EQ(wordAt(b, 0), static_cast<uint32_t>(fourCC("CcnK")));
    EXPECT_EQ(wordAt(b, 4), b.size() - 8);
    EXPECT_EQ(wordAt(b, 8), static_cast<uint32_t>(fourCC("FPCh")));
    EXPECT_EQ(wordAt(b, 12), 1u);
    EXPECT_EQ(wordAt(b, 16), static_cast<uint32_t>(fourCC("ZVN3")));
    EXPECT_EQ(wordAt(b, 20), 7u);
    EXPECT_EQ(wordAt(b, 24), 3u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[28])), "Crystal Bells");
    EXPECT_EQ(b[55], 0);  // the 28-byte name field stays terminated
    EXPECT_EQ(wordAt(b, 56), 5u);
    EXPECT_EQ(b[60], 1);
}

TEST(PresetFile, BankChunkHasTheStandardLayoutAndParametersAreBigEndianFloats) {
    const std::vector<unsigned char> b = render::encodePreset(bank(PresetKind::BankChunk));
    ASSERT_EQ(b.size(), 160u + 1760u);
    EXPECT_EQ(wordAt(b, 8), static_cast<uint32_t>(fourCC("FBCh")));
    EXPECT_EQ(wordAt(b, 12), 2u);
    EXPECT_EQ(wordAt(b, 24), 2u);  // programs
    EXPECT_EQ(wordAt(b, 28), 1u);  // current program
    EXPECT_EQ(wordAt(b, 156), 1760u);

    const std::vector<unsigned char> p = render::encodePreset(program(PresetKind::ProgramParams));
    ASSERT_EQ(p.size(), 56u + 12u);
    EXPECT_EQ(wordAt(p, 56), 0x3f800000u);  // 1.0f
    EXPECT_EQ(wordAt(p, 60), 0x3e800000u);  // 0.25f
    EXPECT_EQ(wordAt(p, 64), 0x80000000u);  // -0.0f keeps its sign bit
}

TEST(PresetFile, EveryKindSurvivesARoundTripByteForByte) {
    for (const PresetFile& original : {program(PresetKind::ProgramParams), program(PresetKind::ProgramChunk),
                                       bank(PresetKind::BankParams), bank(PresetKind::BankChunk)}) {
        const std::vector<unsigned char> bytes = render::encodePreset(original);
        const PresetFile back = render::decodePreset(bytes);
        SCOPED_TRACE(render::fourCCText(static_cast<VstInt32>(original.kind)));
        EXPECT_EQ(back.kind, original.kind);
        EXPECT_EQ(back.fxID, original.fxID);
        EXPECT_EQ(back.name, original.name);
        EXPECT_EQ(back.chunk, original.chunk);
        EXPECT_EQ(back.programs.size(), original.programs.size());
        EXPECT_EQ(render::encodePreset(back), bytes);
    }
}

TEST(PresetFile, MalformedFilesAreRefusedWithTheirReason) {
    const std::vector<unsigned char> good = render::encodePreset(program(PresetKind::ProgramChunk));
    const std::vector<unsigned char> goodBank = render::encodePreset(bank(PresetKind::BankParams));
    auto with = [](std::vector<unsigned char> b, size_t at, unsigned char v) {
        b[at] = v;
        return b;
    };
    auto cut = [](std::vector<unsigned char> b, size_t size) {
        b.resize(size);
        return b;
    };
    auto extended = [](std::vector<unsigned char> b) {
        b.push_back(0);
        return b;
    };
    struct Case {
        const char* what;
        std::vector<unsigned char> bytes;
        const char* reason;
    };
    const Case cases[] = {
        {"empty", {}, "too short"},
        {"not a preset", {'R', 'I', 'F', 'F', 0, 0, 0, 0}, "no 'CcnK' header"},
        {"cut short", cut(good, good.size() - 1), "wrong size"},
        {"one byte too many", extended(good), "wrong size"},
        {"unknown kind", with(good, 8, 'X'), "unknown preset kind"},
        {"chunk size disagrees", with(good, 59, 4), "wrong size"},
        {"header only", cut(with(good, 7, 4), 12), "truncated"},
        {"negative parameter count", with(good, 24, 0x80), "negative"},
        {"bank program cut short", with(goodBank, 7 + 156 + 0, static_cast<unsigned char>(goodBank[7 + 156] - 1)),
         "wrong size"},
        {"bank program of another kind", with(with(goodBank, 156 + 9, 'P'), 156 + 11, 'h'), "holds a 'FPCh' record"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            render::decodePreset(c.bytes);
            ADD_FAILURE() << "accepted";
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos) << e.what();
        }
    }
}

TEST(PresetFile, NoTruncationOrDamagedByteCrashesTheReader) {
    const std::vector<unsigned char> good = render::encodePreset(bank(PresetKind::BankParams));
    std::mt19937 random(7);
    for (size_t size = 0; size <= good.size(); ++size) {
        std::vector<unsigned char> b(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size));
        try {
            render::decodePreset(b);
        } catch (const std::runtime_error&) {
        }
    }
    for (int round = 0; round < 2000; ++round) {
        std::vector<unsigned char> b = good;
        b[random() % b.size()] = static_cast<unsigned char>(random());
        try {
            render::decodePreset(b);
        } catch (const std::runtime_error&) {
        }
    }
}

}  // namespace
