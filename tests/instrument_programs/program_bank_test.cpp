// Program selection, names and state chunks, driven as the plug-in drives them.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <string>

#include "first_generation/instrument/factory_bank.h"
#include "tests/instrument_programs/chunk_size_rules.h"
#include "tests/instrument_programs/instance.h"

namespace {

const Bytes kFactoryBytes = bytesOf(kFactoryBank, sizeof kFactoryBank);

float floatFromBits(uint32_t bits) {
    float value;
    std::memcpy(&value, &bits, 4);
    return value;
}

TEST(ProgramBank, FreshInstanceHasProgramZeroLoaded) {
    Instance fresh;
    EXPECT_EQ(fresh.current, 0);
    EXPECT_EQ(fresh.name(0), "EPiano");
    EXPECT_EQ(fresh.name(7), "Steel strings");
    EXPECT_EQ(fresh.liveBytes(), valuesOf(kFactoryBank[0].values));
    EXPECT_EQ(fresh.live[0], 1.0f);
    EXPECT_EQ(fresh.live[48], 0.67999977f);
}

TEST(ProgramBank, BankChunkIsTheFactoryTableByteForByte) {
    Instance fresh;
    void* data = nullptr;
    EXPECT_EQ(fresh.bank.getChunk(fresh.current, &data, false, fresh.live), 1760);
    EXPECT_EQ(data, fresh.bank.bytes());  // handed out, not copied
    const Bytes chunk = bytesOf(data, 1760);
    EXPECT_EQ(chunk, kFactoryBytes);
    EXPECT_EQ(std::string(chunk.begin(), chunk.begin() + 6), "EPiano");
    float first;
    std::memcpy(&first, chunk.data() + 24, 4);
    EXPECT_EQ(first, 1.0f);
}

TEST(ProgramBank, PresetChunkHoldsTheLiveValuesWithUnsavedEdits) {
    Instance instance;
    instance.live[48] = 0.123f;
    instance.live[5] = 1.7f;  // values are never clamped
    void* data = nullptr;
    EXPECT_EQ(instance.bank.getChunk(instance.current, &data, true, instance.live), 196);
    EXPECT_EQ(data, instance.live);
    EXPECT_EQ(bytesOf(data, 196), instance.liveBytes());
    // Taking a chunk writes the edits back, so the next bank chunk has them too.
    EXPECT_EQ(valuesOf(instance.bank.record(0).values), instance.liveBytes());
    const Bytes bank = instance.chunk(false);
    EXPECT_TRUE(std::equal(bank.begin() + 220, bank.end(), kFactoryBytes.begin() + 220));
}

TEST(ProgramBank, EditSurvivesSwitchingAwayAndBack) {
    Instance instance;
    instance.live[48] = 0.9f;
    EXPECT_TRUE(instance.select(1));
    EXPECT_EQ(instance.current, 1);
    EXPECT_EQ(instance.liveBytes(), valuesOf(kFactoryBank[1].values));
    EXPECT_TRUE(instance.select(0));
    EXPECT_EQ(instance.live[48], 0.9f);
    float expected[49];
    std::memcpy(expected, kFactoryBank[0].values, sizeof expected);
    expected[48] = 0.9f;
    EXPECT_EQ(instance.liveBytes(), valuesOf(expected));
    EXPECT_EQ(valuesOf(instance.bank.record(1).values), valuesOf(kFactoryBank[1].values));

    // Selecting the current program again reloads what was just written back.
    instance.live[10] = 0.3f;
    EXPECT_TRUE(instance.select(0));
    EXPECT_EQ(instance.live[10], 0.3f);
}

TEST(ProgramBank, BankChunkRestoredIntoAFreshInstanceSavesAgainByteIdentical) {
    Instance original;
    original.live[48] = 0.5f;
    original.select(2);
    original.live[40] = 0.25f;
    original.bank.setProgramName(original.current, "Mine");
    original.select(5);
    original.live[0] = 0.0f;  // unsaved edit of the current program goes in too
    const Bytes saved = original.chunk(false);
    ASSERT_EQ(saved.size(), 1760u);
    EXPECT_NE(saved, kFactoryBytes);

    Instance restored;
    restored.select(3);
    restored.live[7] = 0.75f;  // replaced by the chunk's program 3
    ChunkResult result = restored.take(saved, false);
    EXPECT_EQ(result.byteSize, 1760);
    EXPECT_FALSE(result.askHostToUpdateDisplay());
    EXPECT_EQ(restored.current, 3);
    EXPECT_EQ(restored.liveBytes(), bytesOf(saved.data() + 3 * 220 + 24, 196));
    EXPECT_EQ(restored.name(2), "Mine");
    EXPECT_EQ(restored.chunk(false), saved);
}

TEST(ProgramBank, PresetChunkReplacesTheCurrentValuesAndKeepsTheName) {
    Instance instance;
    instance.select(3);
    float values[49];
    for (int i = 0; i < 49; ++i) values[i] = 0.01f * float(i);
    ChunkResult result = instance.take(valuesOf(values), true);
    EXPECT_EQ(result.byteSize, 196);
    EXPECT_FALSE(result.askHostToUpdateDisplay());
    EXPECT_EQ(instance.current, 3);
    EXPECT_EQ(instance.liveBytes(), valuesOf(values));
    EXPECT_EQ(valuesOf(instance.bank.record(3).values), valuesOf(values));
    EXPECT_EQ(instance.name(3), "Organ");
    for (int program = 0; program < 8; ++program) {
        if (program == 3) continue;
        EXPECT_EQ(bytesOf(&instance.bank.record(program), 220), bytesOf(&kFactoryBank[program], 220));
    }
}

TEST(ProgramBank, BankChunkSentWithThePresetFlagReplacesTheWholeBank) {
    Bytes other = kFactoryBytes;
    std::memcpy(other.data() + 7 * 220, "Other", 6);
    const float loud = 0.99f;
    std::memcpy(other.data() + 24 + 4 * 48, &loud, 4);

    Instance instance;
    EXPECT_EQ(instance.take(other, true).byteSize, 1760);
    EXPECT_EQ(instance.bankBytes(), other);
    EXPECT_EQ(instance.current, 0);
    EXPECT_EQ(instance.live[48], 0.99f);
    EXPECT_EQ(instance.name(7), "Other");
}

// Sizes are claims: the block behind them is only ever read after the size
// matched, so a short block behind a huge claim must never be read. A refusal
// changes nothing, not even live values not yet written back.
template <int N>
void checkChunkSizeRules(const ProgramRecordOf<N> (&factory)[kProgramCount]) {
    using Bank = ProgramBankOf<N>;
    const Bytes block(2 * Bank::bankChunkSize, 0xAB);
    for (const ChunkSizeCase& c : chunkSizeCases(Bank::presetChunkSize, Bank::bankChunkSize)) {
        Bank bank(factory);
        VstInt32 current = 4;
        float live[N];
        bank.loadInto(current, live);
        live[1] = 0.4f;
        const Bytes bankBefore = bytesOf(bank.bytes(), Bank::bankChunkSize);
        const Bytes liveBefore = bytesOf(live, sizeof live);
        const ChunkResult result = bank.setChunk(current, block.data(), c.byteSize, c.isPreset, live);
        const std::string what = std::to_string(N) + " parameters, " + std::to_string(c.byteSize) +
                                 (c.isPreset ? " bytes as preset" : " bytes as bank");
        EXPECT_EQ(result.byteSize, c.taken ? c.byteSize : 0) << what;
        EXPECT_EQ(result.askHostToUpdateDisplay(), !c.taken) << what;
        EXPECT_EQ(current, 4) << what;
        if (c.taken) {
            EXPECT_EQ(bytesOf(live, sizeof live), Bytes(sizeof live, 0xAB)) << what;
        } else {
            EXPECT_EQ(bytesOf(bank.bytes(), Bank::bankChunkSize), bankBefore) << what;
            EXPECT_EQ(bytesOf(live, sizeof live), liveBefore) << what;
        }
    }
}

TEST(ProgramBank, ChunkSizeAndFlagAloneDecideForBothInstruments) {
    checkChunkSizeRules(kFactoryBank);
    checkChunkSizeRules(firstgen::kFactoryBank);
}

TEST(ProgramBank, NullChunkIsRefusedLikeAWrongSize) {
    for (VstInt32 size : {196, 1760}) {
        for (bool isPreset : {false, true}) {
            Instance instance;
            const auto before = instance.state();
            ChunkResult result = instance.bank.setChunk(instance.current, nullptr, size, isPreset, instance.live);
            EXPECT_EQ(result.byteSize, 0);
            EXPECT_TRUE(result.askHostToUpdateDisplay());
            EXPECT_TRUE(instance.state() == before);
        }
    }
    Instance instance;
    EXPECT_EQ(instance.bank.getChunk(instance.current, nullptr, false, instance.live), 0);
}

TEST(ProgramBank, ProgramNumbersOutsideTheBankTouchNothing) {
    for (VstInt32 index : {-1, 8, 9, INT_MIN, INT_MAX}) {
        Instance instance;
        instance.live[20] = 0.5f;
        const auto before = instance.state();
        EXPECT_FALSE(instance.select(index)) << index;
        EXPECT_TRUE(instance.state() == before) << index;

        char text[kProgramNameBytes + 1] = "untouched";
        EXPECT_FALSE(instance.bank.getProgramNameIndexed(index, text));
        EXPECT_STREQ(text, "");
    }
}

TEST(ProgramBank, ThirtyCharacterNameKeepsItsFirstTwentyFour) {
    Instance instance;
    instance.select(3);
    const Bytes valuesBefore = valuesOf(instance.bank.record(3).values);
    instance.bank.setProgramName(instance.current, "ABCDEFGHIJKLMNOPQRSTUVWXYZ1234");

    // The field is full: 24 characters and no terminator.
    EXPECT_EQ(std::string(instance.bank.record(3).name, 24), "ABCDEFGHIJKLMNOPQRSTUVWX");
    EXPECT_EQ(valuesOf(instance.bank.record(3).values), valuesBefore);
    EXPECT_EQ(instance.bank.record(4).name, std::string("Eastern Glitter"));

    char text[40];
    std::memset(text, 'x', sizeof text);
    instance.bank.getProgramName(instance.current, text);
    EXPECT_STREQ(text, "ABCDEFGHIJKLMNOPQRSTUVWX");
    EXPECT_EQ(text[25], 'x');  // a 25-byte buffer is enough

    // A shorter name clears the rest of the field.
    instance.bank.setProgramName(instance.current, "Pad");
    EXPECT_EQ(bytesOf(instance.bank.record(3).name, 24), bytesOf("Pad\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 24));
    instance.bank.setProgramName(instance.current, "");
    EXPECT_EQ(instance.name(3), "");
}

// NaN payloads, infinities and values far outside 0..1 are stored bit for bit;
// a float load through the x87 stack would quiet the signalling NaN.
TEST(ProgramBank, ValuesOfAnAcceptedChunkAreKeptBitForBit) {
    const uint32_t odd[] = {0x7FC00001u /* quiet NaN */, 0x7FA00000u /* signalling NaN */,
                            0xFF800000u /* -inf */,      0x7149F2CAu /* 1e30 */,
                            0xC0A00000u /* -5 */,        0x00000001u /* denormal */};
    float values[49];
    for (int i = 0; i < 49; ++i) values[i] = floatFromBits(odd[i % 6]);
    const Bytes preset = valuesOf(values);

    Instance instance;
    instance.select(6);
    EXPECT_EQ(instance.take(preset, true).byteSize, 196);
    EXPECT_EQ(instance.liveBytes(), preset);
    instance.select(0);
    instance.select(6);
    EXPECT_EQ(instance.chunk(true), preset);
    EXPECT_EQ(bytesOf(instance.chunk(false).data() + 6 * 220 + 24, 196), preset);
}

// A host that hands our own chunk memory straight back must get it taken.
TEST(ProgramBank, OwnChunkMemoryHandedBackIsTaken) {
    Instance instance;
    instance.live[1] = 0.25f;
    void* data = nullptr;
    VstInt32 size = instance.bank.getChunk(instance.current, &data, false, instance.live);
    const auto before = instance.state();
    EXPECT_EQ(instance.bank.setChunk(instance.current, data, size, false, instance.live).byteSize, 1760);
    EXPECT_TRUE(instance.state() == before);

    size = instance.bank.getChunk(instance.current, &data, true, instance.live);
    EXPECT_EQ(instance.bank.setChunk(instance.current, data, size, true, instance.live).byteSize, 196);
    EXPECT_TRUE(instance.state() == before);
}

}  // namespace
