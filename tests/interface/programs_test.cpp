// Programs and state chunks as a host uses them: through the record, with the
// chunk bytes copied at once, restored into fresh instances.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "tests/instrument_programs/chunk_size_rules.h"
#include "tests/interface/plugin_fixture.h"
#include "tests/interface/signal_measures.h"

namespace {

using Chunk = std::vector<unsigned char>;

struct Programs : LoadedPlugin {
    std::vector<float> left, right;

    size_t presetBytes() const { return instrument().presetBytes; }
    size_t bankBytes() const { return instrument().bankBytes; }
    size_t recordBytes() const { return bankBytes() / 8; }
    Chunk factoryBank() const { return Chunk(instrument().factoryBank, instrument().factoryBank + bankBytes()); }
    std::string factoryName(int program) const {
        return reinterpret_cast<const char*>(instrument().factoryBank + recordBytes() * size_t(program));
    }
    float factoryValue(int program, VstInt32 index) const {
        float value;
        std::memcpy(&value, instrument().factoryBank + recordBytes() * size_t(program) + 24 + 4 * size_t(index), 4);
        return value;
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

TEST_P(Programs, TheBankChunkIsTheFactoryTable) {
    const Chunk bank = host.getChunk(false);
    ASSERT_EQ(bank.size(), bankBytes());
    EXPECT_EQ(bank, factoryBank());
}

TEST_P(Programs, EveryProgramLoadsItsFactoryNameAndValues) {
    for (VstInt32 program = 0; program < 8; ++program) {
        host.dispatch(effSetProgram, 0, program);
        EXPECT_EQ(host.dispatch(effGetProgram), program);
        EXPECT_EQ(host.text(effGetProgramName), factoryName(program));
        EXPECT_EQ(host.text(effGetProgramNameIndexed, program), factoryName(program));
        for (VstInt32 index = 0; index < instrument().numParams; ++index)
            EXPECT_EQ(host.getParameter(index), factoryValue(program, index)) << program << " " << index;
    }
}

TEST_P(Programs, PresetChunkHoldsTheLiveValuesWithUnsavedEdits) {
    const VstInt32 cutoffParam = instrument().cutoffParam;
    host.setParameter(cutoffParam, 0.123f);
    const Chunk preset = host.getChunk(true);
    ASSERT_EQ(preset.size(), presetBytes());
    for (VstInt32 index = 0; index < instrument().numParams; ++index) {
        float value;
        std::memcpy(&value, &preset[size_t(index) * 4], 4);
        EXPECT_EQ(value, index == cutoffParam ? 0.123f : factoryValue(0, index)) << index;
    }
}

TEST_P(Programs, BankRestoredIntoAFreshInstanceSavesIdentically) {
    host.dispatch(effSetProgram, 0, 3);
    host.setParameter(instrument().envelopeParam, 0.77f);
    char name[] = "Renamed";
    host.dispatch(effSetProgramName, 0, 0, name);
    const Chunk saved = host.getChunk(false);

    testhost::TestHost fresh;
    std::string error;
    ASSERT_TRUE(fresh.load(instrument().path, error)) << error;
    fresh.dispatch(effSetProgram, 0, 3);  // hosts restore the program number first
    EXPECT_EQ(fresh.setChunk(saved, false), static_cast<VstIntPtr>(bankBytes()));
    EXPECT_EQ(fresh.dispatch(effGetProgram), 3);
    EXPECT_EQ(fresh.getChunk(false), saved);
    EXPECT_EQ(fresh.getParameter(instrument().envelopeParam), 0.77f);
    EXPECT_EQ(fresh.text(effGetProgramName), "Renamed");
}

// The size and the flag alone decide; a refusal answers 0, changes nothing
// and asks the host to redraw.
TEST_P(Programs, ChunkSizeAndFlagAloneDecide) {
    const Chunk block(2 * bankBytes(), 0x3E);
    for (const ChunkSizeCase& c : chunkSizeCases(VstInt32(presetBytes()), VstInt32(bankBytes()))) {
        const Chunk before = host.getChunk(false);
        host.clearCalls();
        const VstIntPtr answer =
            host.dispatch(effSetChunk, c.isPreset ? 1 : 0, c.byteSize, const_cast<unsigned char*>(block.data()));
        const std::string what = std::to_string(c.byteSize) + (c.isPreset ? " bytes as preset" : " bytes as bank");
        EXPECT_EQ(answer, c.taken ? c.byteSize : 0) << what;
        EXPECT_EQ(host.countCalls(audioMasterUpdateDisplay), c.taken ? 0 : 1) << what;
        if (!c.taken) {
            EXPECT_EQ(host.getChunk(false), before) << what;
        }
        host.setChunk(factoryBank(), false);
    }
    EXPECT_EQ(host.dispatch(effSetChunk, 0, VstIntPtr(bankBytes()), nullptr), 0);  // a null chunk is refused too
}

TEST_P(Programs, ABankSentWithThePresetFlagReplacesTheBank) {
    Chunk bank = factoryBank();
    std::memcpy(&bank[recordBytes() * 5], "Other", 6);
    EXPECT_EQ(host.setChunk(bank, true), static_cast<VstIntPtr>(bankBytes()));
    char name[32] = {};
    host.dispatch(effGetProgramNameIndexed, 5, 0, name);
    EXPECT_STREQ(name, "Other");
}

TEST_P(Programs, EditsSurviveAProgramSwitch) {
    const VstInt32 sustain = instrument().sustainParam;
    host.setParameter(sustain, 0.321f);
    host.dispatch(effSetProgram, 0, 2);
    EXPECT_NE(host.getParameter(sustain), 0.321f);
    host.dispatch(effSetProgram, 0, 0);
    EXPECT_EQ(host.getParameter(sustain), 0.321f);
}

TEST_P(Programs, NamesKeepTwentyFourCharactersAndTheValues) {
    const VstInt32 volume = instrument().volumeParam;
    const float before = host.getParameter(volume);
    char name[] = "A name of thirty characters!!";
    host.dispatch(effSetProgramName, 0, 0, name);
    EXPECT_EQ(host.text(effGetProgramName), std::string(name, 24));
    EXPECT_EQ(host.getParameter(volume), before);
    char indexed[64] = {};
    EXPECT_EQ(host.dispatch(effGetProgramNameIndexed, 99, 0, indexed), 0);
    EXPECT_EQ(host.dispatch(effGetProgramNameIndexed, -1, 0, indexed), 0);
}

TEST_P(Programs, EveryFactoryProgramPlaysAChord) {
    for (VstInt32 program = 0; program < 8; ++program) {
        host.dispatch(effSetProgram, 0, program);
        EXPECT_TRUE(playsAChord(host)) << "program " << program << " " << host.text(effGetProgramName);
        host.suspend();
    }
}

TEST_P(Programs, AbsurdChunksNeverBreakTheInstrument) {
    // A preset full of NaN and huge values is taken as it is...
    Chunk wild(presetBytes());
    const float values[] = {std::nanf(""), 1e30f, -1e30f, INFINITY, -INFINITY, 0.5f};
    for (size_t i = 0; i < presetBytes() / 4; ++i) std::memcpy(&wild[i * 4], &values[i % 6], 4);
    EXPECT_EQ(host.setChunk(wild, true), static_cast<VstIntPtr>(presetBytes()));
    host.start(44100.0f, 512);
    host.sendMidi({{0, 0x90, 60, 100}});
    host.render(left, right, 8192, 512);
    host.suspend();

    // ...and so are random blocks of random sizes, or they are refused.
    std::mt19937 random(1234);
    for (int i = 0; i < 2000; ++i) {
        const size_t sizes[] = {presetBytes(), bankBytes(), random() % 4000};
        Chunk junk(sizes[random() % 3]);
        for (auto& b : junk) b = static_cast<unsigned char>(random());
        const VstIntPtr taken = host.setChunk(junk, random() % 2 == 0);
        EXPECT_TRUE(taken == 0 || taken == VstIntPtr(junk.size()));
    }

    // A sane bank afterwards restores normal sound.
    EXPECT_EQ(host.setChunk(factoryBank(), false), static_cast<VstIntPtr>(bankBytes()));
    host.dispatch(effSetProgram, 0, 0);
    EXPECT_TRUE(playsAChord(host));
}

RUN_FOR_EVERY_INSTRUMENT(Programs);

}  // namespace
