// The factory table against values derived here, independently of its source.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "instrument/factory_bank.h"

namespace {

constexpr size_t kRecordBytes = 220;

const unsigned char* tableBytes() { return reinterpret_cast<const unsigned char*>(kFactoryBank); }

// Value index of program, read from the raw bytes as a host would.
uint32_t storedBits(int program, int index) {
    uint32_t bits;
    std::memcpy(&bits, tableBytes() + program * kRecordBytes + 24 + 4 * index, 4);
    return bits;
}

uint32_t bitsOf(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, 4);
    return bits;
}

TEST(FactoryBank, IsOneBlockOfEightRecordsStartingWithEPianoAtFullFirstHarmonic) {
    static_assert(sizeof(kFactoryBank) == 8 * kRecordBytes, "one block of 8 x 220 bytes");
    const unsigned char* bytes = tableBytes();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes), 6), "EPiano");
    const unsigned char oneLittleEndian[] = {0x00, 0x00, 0x80, 0x3F};
    EXPECT_EQ(0, std::memcmp(bytes + 24, oneLittleEndian, 4));
    const unsigned char bandwidthOfEPiano[] = {0x83, 0xEB, 0x91, 0x3E};  // 0.28499994
    EXPECT_EQ(0, std::memcmp(bytes + 24 + 4 * 32, bandwidthOfEPiano, 4));
}

TEST(FactoryBank, NamesAreZeroPaddedToTwentyFourBytes) {
    const char* names[8] = {"EPiano",          "Synthesized",  "Crystal Bells", "Organ",
                            "Eastern Glitter", "Spacey Choir", "Big Chord",     "Steel strings"};
    for (int program = 0; program < 8; ++program) {
        const char* field = reinterpret_cast<const char*>(tableBytes() + program * kRecordBytes);
        size_t length = std::strlen(names[program]);
        EXPECT_EQ(std::string(field, length), names[program]);
        for (size_t i = length; i < 24; ++i) EXPECT_EQ(field[i], 0) << names[program] << " byte " << i;
    }
}

TEST(FactoryBank, SpotValuesHaveTheBitsOfTheirDecimals) {
    struct Spot {
        int program, index;
        const char* decimal;
    };
    const Spot spots[] = {
        {0, 0, "1"},
        {0, 29, "0.5"},
        {0, 32, "0.28499994"},
        {0, 43, "0.0035"},
        {0, 46, "0.109"},
        {0, 48, "0.67999977"},
        {1, 42, "0.054999996"},
        {2, 32, "0.020000007"},
        {2, 44, "0.77499956"},
        {3, 41, "0.9299997"},
        {3, 46, "0.025"},
        {4, 36, "0.03"},
        {4, 40, "0.77999973"},
        {4, 25, "0"},
        {5, 33, "1"},
        {5, 39, "1"},
        {6, 43, "0.080000006"},
        {6, 13, "0.5"},
        {7, 35, "0.16000013"},
        {7, 48, "0.41499984"},
    };
    for (const Spot& spot : spots)
        EXPECT_EQ(storedBits(spot.program, spot.index), bitsOf(std::strtof(spot.decimal, nullptr)))
            << "program " << spot.program << " index " << spot.index;
}

// Any slip in any of the 392 values or 8 names changes this hash, which was
// computed by a separate script from the decimals and names of the table.
TEST(FactoryBank, WholeTableHasTheFingerprintOfItsDecimals) {
    uint64_t hash = 0xCBF29CE484222325u;  // 64-bit FNV-1a
    for (size_t i = 0; i < sizeof kFactoryBank; ++i) hash = (hash ^ tableBytes()[i]) * 0x100000001B3u;
    EXPECT_EQ(hash, 0x8E92403A8A303EB8u);
}

// Nine significant digits identify every float, so printing and parsing back
// must give the stored bits; and the values are those the controls can hold:
// harmonics are three-state buttons, the octave a five-position step knob.
TEST(FactoryBank, EveryValueRoundTripsThroughNineDigitsAndFitsItsControl) {
    for (int program = 0; program < 8; ++program) {
        for (int index = 0; index < 49; ++index) {
            float value = kFactoryBank[program].values[index];
            char text[32];
            std::snprintf(text, sizeof text, "%.9g", value);
            EXPECT_EQ(bitsOf(std::strtof(text, nullptr)), storedBits(program, index)) << text;
            EXPECT_TRUE(value >= 0.0f && value <= 1.0f) << "program " << program << " index " << index;
            if (index < 32) {
                EXPECT_TRUE(value == 0.0f || value == 0.5f || value == 1.0f);
            }
            if (index == 34) {
                EXPECT_EQ(value * 4.0f, float(int(value * 4.0f)));
            }
        }
    }
}

}  // namespace
