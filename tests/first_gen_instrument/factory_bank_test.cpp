// The first generation's factory table against values derived here,
// independently of its source.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "first_generation/instrument/factory_bank.h"

namespace {

constexpr size_t kRecordBytes = 116;

const unsigned char* tableBytes() { return reinterpret_cast<const unsigned char*>(firstgen::kFactoryBank); }

TEST(FirstGenFactoryBank, IsOneBlockOfEightRecordsWithZeroPaddedNames) {
    static_assert(sizeof(firstgen::kFactoryBank) == 928, "one block of 8 x 116 bytes");
    const char* names[8] = {"Big Chord", "Rainy",      "Organesque",       "Techno piz",
                            "Voxxy",     "Syn String", "Not a vibraphone", "The Excruciator"};
    for (int program = 0; program < 8; ++program) {
        const char* field = reinterpret_cast<const char*>(tableBytes() + program * kRecordBytes);
        const size_t length = std::strlen(names[program]);
        EXPECT_EQ(std::string(field, length), names[program]);
        for (size_t i = length; i < 24; ++i) EXPECT_EQ(field[i], 0) << names[program] << " byte " << i;
    }
}

// Each value is the float nearest its three-decimal setting: "Wave 3" of
// "Big Chord" is 0.635, stored little-endian as 0x3F228F5C.
TEST(FirstGenFactoryBank, ValuesAreTheNearestFloatsToTheirDecimals) {
    const unsigned char wave3OfBigChord[] = {0x5C, 0x8F, 0x22, 0x3F};
    EXPECT_EQ(0, std::memcmp(tableBytes() + 24 + 4 * 2, wave3OfBigChord, 4));
    for (const auto& record : firstgen::kFactoryBank)
        for (float value : record.values) {
            EXPECT_TRUE(value >= 0.0f && value <= 1.0f) << record.name;
            // Three decimals: value x 1000 lands within a float's rounding of
            // a whole number.
            EXPECT_NEAR(double(value) * 1000, std::round(double(value) * 1000), 1e-4) << record.name;
        }
}

// Any slip in any of the 184 values or 8 names changes this hash, computed by
// a separate script from the decimals (each rounded to the nearest float) and
// the names.
TEST(FirstGenFactoryBank, WholeTableHasTheFingerprintOfItsDecimals) {
    uint64_t hash = 0xCBF29CE484222325u;  // 64-bit FNV-1a
    for (size_t i = 0; i < sizeof firstgen::kFactoryBank; ++i) hash = (hash ^ tableBytes()[i]) * 0x100000001B3u;
    EXPECT_EQ(hash, 0x81A06609520622FEu);
}

}  // namespace
