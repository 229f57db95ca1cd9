// Programs and state chunks as a host uses them: through the record, with the
// chunk bytes copied at once, restored into fresh instances.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "instrument/factory_bank.h"
#include "tests/interface/plugin_fixture.h"
#include "tests/interface/signal_measures.h"

namespace {

constexpr size_t kPresetBytes = 196;
constexpr size_t kBankBytes = 1760;

using Chunk = std::vector<unsigned char>;

struct Programs : LoadedPlugin {
    std::vector<float> left, right;

    Chunk factoryBank() const {
        const auto* bytes = reinterpret_cast<const unsigned char*>(kFactoryBank);
        return Chunk(bytes, bytes + kBankBytes);
    }
    // A held chord: finite, audible, both channels.
    bool playsAChord(testhost::TestHost& h) {
        h.start(44100.0f, 512);
        h.sendMidi({{0, 0x90, 60, 110}, {0, 0x90, 64, 110}, {0, 0x90, 67, 110}});
        h.render(left, right, 44100, 512);
        h.sendMidi({{0, 0xB0, 123, 0}});
        for (size_t i = 0; i < left.size(); ++i)
            if (!std::isfinite(left[i]) || !std::isfinite(right[i])) return false;
        return peakOf(left) > 1e-3 && peakOf(right) > 1e-3 && peakOf(left) < 1.0 && peakOf(right) < 1.0;
    }
};

TEST_F(Programs, TheBankChunkIsTheFactoryTable) {
    const Chunk bank = host.getChunk(false);
    ASSERT_EQ(bank.size(), kBankBytes);
    EXPECT_EQ(bank, factoryBank());
    EXPECT_EQ(std::string(bank.begin(), bank.begin() + 6), "EPiano");
    float first;
    std::memcpy(&first, &bank[24], 4);
    EXPECT_EQ(first, 1.0f);
    EXPECT_EQ(host.text(effGetProgramName), "EPiano");
    EXPECT_EQ(host.getParameter(0), 1.0f);
}

TEST_F(Programs, PresetChunkHoldsTheLiveValuesWithUnsavedEdits) {
    host.setParameter(41, 0.123f);
    const Chunk preset = host.getChunk(true);
    ASSERT_EQ(preset.size(), kPresetBytes);
    float cutoff;
    std::memcpy(&cutoff, &preset[41 * 4], 4);
    EXPECT_EQ(cutoff, 0.123f);
}

TEST_F(Programs, BankRestoredIntoAFreshInstanceSavesIdentically) {
    host.dispatch(effSetProgram, 0, 3);
    host.setParameter(40, 0.77f);
    char name[] = "Renamed";
    host.dispatch(effSetProgramName, 0, 0, name);
    const Chunk saved = host.getChunk(false);

    testhost::TestHost fresh;
    std::string error;
    ASSERT_TRUE(fresh.load(NUBBEL3_PLUGIN, error)) << error;
    fresh.dispatch(effSetProgram, 0, 3);  // hosts restore the program number first
    EXPECT_EQ(fresh.setChunk(saved, false), static_cast<VstIntPtr>(kBankBytes));
    EXPECT_EQ(fresh.dispatch(effGetProgram), 3);
    EXPECT_EQ(fresh.getChunk(false), saved);
    EXPECT_EQ(fresh.getParameter(40), 0.77f);
    EXPECT_EQ(fresh.text(effGetProgramName), "Renamed");
}

TEST_F(Programs, WrongSizesAreRefusedAndTheHostAskedToRedraw) {
    const Chunk before = host.getChunk(false);
    host.clearCalls();
    EXPECT_EQ(host.setChunk(Chunk(100, 7), false), 0);
    EXPECT_EQ(host.countCalls(audioMasterUpdateDisplay), 1);
    EXPECT_EQ(host.dispatch(effSetChunk, 0, 1760, nullptr), 0);  // a null chunk is refused too
    EXPECT_EQ(host.getChunk(false), before);
}

TEST_F(Programs, ABankSentWithThePresetFlagReplacesTheBank) {
    Chunk bank = factoryBank();
    std::memcpy(&bank[220 * 5], "Other", 6);
    EXPECT_EQ(host.setChunk(bank, true), static_cast<VstIntPtr>(kBankBytes));
    char name[32] = {};
    host.dispatch(effGetProgramNameIndexed, 5, 0, name);
    EXPECT_STREQ(name, "Other");
}

TEST_F(Programs, EditsSurviveAProgramSwitch) {
    host.setParameter(45, 0.321f);
    host.dispatch(effSetProgram, 0, 2);
    EXPECT_NE(host.getParameter(45), 0.321f);
    host.dispatch(effSetProgram, 0, 0);
    EXPECT_EQ(host.getParameter(45), 0.321f);
}

TEST_F(Programs, NamesKeepTwentyFourCharactersAndTheValues) {
    const float before = host.getParameter(48);
    char name[] = "A name of thirty characters!!";
    host.dispatch(effSetProgramName, 0, 0, name);
    EXPECT_EQ(host.text(effGetProgramName), std::string(name, 24));
    EXPECT_EQ(host.getParameter(48), before);
    char indexed[64] = {};
    EXPECT_EQ(host.dispatch(effGetProgramNameIndexed, 99, 0, indexed), 0);
    EXPECT_EQ(host.dispatch(effGetProgramNameIndexed, -1, 0, indexed), 0);
}

TEST_F(Programs, EveryFactoryProgramPlaysAChord) {
    for (VstInt32 program = 0; program < 8; ++program) {
        host.dispatch(effSetProgram, 0, program);
        EXPECT_TRUE(playsAChord(host)) << "program " << program << " " << host.text(effGetProgramName);
        host.suspend();
    }
}

TEST_F(Programs, AbsurdChunksNeverBreakTheInstrument) {
    // A preset full of NaN and huge values is taken as it is...
    Chunk wild(kPresetBytes);
    const float values[] = {std::nanf(""), 1e30f, -1e30f, INFINITY, -INFINITY, 0.5f};
    for (size_t i = 0; i < kPresetBytes / 4; ++i) std::memcpy(&wild[i * 4], &values[i % 6], 4);
    EXPECT_EQ(host.setChunk(wild, true), static_cast<VstIntPtr>(kPresetBytes));
    host.start(44100.0f, 512);
    host.sendMidi({{0, 0x90, 60, 100}});
    host.render(left, right, 8192, 512);
    host.suspend();

    // ...and so are random blocks of random sizes, or they are refused.
    std::mt19937 random(1234);
    for (int i = 0; i < 2000; ++i) {
        const size_t sizes[] = {kPresetBytes, kBankBytes, random() % 4000};
        Chunk junk(sizes[random() % 3]);
        for (auto& b : junk) b = static_cast<unsigned char>(random());
        const VstIntPtr taken = host.setChunk(junk, random() % 2 == 0);
        EXPECT_TRUE(taken == 0 || taken == VstIntPtr(junk.size()));
    }

    // A sane bank afterwards restores normal sound.
    EXPECT_EQ(host.setChunk(factoryBank(), false), static_cast<VstIntPtr>(kBankBytes));
    host.dispatch(effSetProgram, 0, 0);
    EXPECT_TRUE(playsAChord(host));
}

}  // namespace
